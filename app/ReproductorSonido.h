#pragma once
// Plays the open level's sounds through Qt Multimedia: a sound id picks one of its samples, which
// is decoded once and fed to a QAudioSink from memory. Where the machine has no audio output it
// plays nothing and says so once; the window goes on as before.
#include "PoseMovible.h"
#include "trNivel.h"
#include "trSonidos.h"

#include <QObject>
#include <QString>

#include <memory>
#include <optional>
#include <vector>

class QAudioSink;

class ReproductorSonido : public QObject, public SumideroSonido {
    Q_OBJECT

  public:
    explicit ReproductorSonido(QObject* padre = nullptr);
    ~ReproductorSonido() override;

    // The level whose sounds play; null for none. It must outlive its use: the window hands
    // null before it lets a level go. What still plays of the previous level stops.
    void SetNivel(const trNivel* nivel);
    const trSonidos& Sonidos() const { return sonidos_; }

    // Plays sound `id`: one of the samples its details pick from. Nothing for an id the map
    // does not name or a sample that cannot be read.
    void Sonar(uint16_t id) override;
    // Plays sample i of the level.
    void SonarMuestra(uint32_t i);
    // What Sonar asked to play, in order: the sample chosen, or -1 when there was none.
    const std::vector<int64_t>& Pedidas() const { return pedidas_; }

  signals:
    // Something the user should be told once: no audio output, a sample that cannot be read.
    void Aviso(const QString& texto);

  private:
    const trPcm* Pcm(uint32_t i);
    void Detener();

    const trNivel* nivel_ = nullptr;
    trSonidos sonidos_;
    std::vector<std::optional<trPcm>> pcm_;
    std::vector<QAudioSink*> sonando_;
    std::vector<int64_t> pedidas_;
    bool sinSalidaDicho_ = false;
};
