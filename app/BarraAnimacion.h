#pragma once
// The bar under the panel that plays the animations of the moveable on show: play and pause,
// a frame back and forward, the timeline to scrub, the speed, looping or going on to the next
// animation as the game does, and whose meshes the moveable wears. It keeps the player; the
// window asks it for the pose to draw.
#include "PoseMovible.h"
#include "trObjetos.h"

#include <QElapsedTimer>
#include <QWidget>

#include <cstdint>
#include <vector>

class QComboBox;
class QHBoxLayout;
class QLabel;
class QSlider;
class QToolButton;
struct NivelAbierto;

class BarraAnimacion : public QWidget {
    Q_OBJECT

  public:
    explicit BarraAnimacion(QWidget* padre = nullptr);

    // The moveable on show (its tree and animations; `prestadas` the id whose meshes it wears,
    // -1 for its own), or none. Offers as lenders the moveables with as many meshes.
    void SetMovible(const NivelAbierto* nivel, const trMovible* movible, int64_t prestadas);
    // Plays the animation (its index in the level's list) from its first frame; false when it
    // is not the moveable's or cannot be played.
    bool Elegir(uint32_t animacion);
    // Nothing plays: the moveable stands in its rest pose.
    void Quitar();

    bool HayAnimacion() const { return reproductor_.Hay(); }
    // Frames run while it plays.
    bool Anda() const { return reproductor_.Hay() && !reproductor_.Pausado; }
    const Reproductor& Estado() const { return reproductor_; }
    // Lets the time since the last call pass; the pose to draw now in `mundos`. false when
    // nothing plays (draw the rest pose).
    bool Posar(std::vector<glm::mat4>& mundos);

    void AlternarPausa();
    void Paso(int cuadros);
    void IrA(double cuadro);
    void SetVelocidad(double velocidad);
    void SetSeguir(bool seguir);

    // Where the sound commands of the frames played go; null: silent.
    SumideroSonido* Sonidos = nullptr;

    QToolButton* Reproducir;
    QToolButton* Atras;
    QToolButton* Adelante;
    QSlider* Linea;
    QLabel* Cuadro;
    QComboBox* Velocidad;
    QComboBox* Forma;
    QComboBox* MeshesDe;

    // Narrower than its one row needs, the bar puts its choices on a second row, so the
    // timeline stays usable and every choice shows its text.
    QSize minimumSizeHint() const override;
    bool DosFilas() const { return dosFilas_; }

  signals:
    // The pose changed while time stands still (a step, a scrub): draw it.
    void CambioPose();
    // The user picked whose meshes the moveable wears (an id; -1 for its own).
    void CambioMeshes(int64_t id);

  protected:
    void resizeEvent(QResizeEvent* evento) override;

  private:
    void Actualizar();
    // The width all of it needs on one row.
    int AnchoUnaFila() const;
    void Colocar(bool dosFilas);

    QHBoxLayout* fila_;
    QHBoxLayout* opciones_;
    bool dosFilas_ = false;

    const NivelAbierto* nivel_ = nullptr;
    trMovible movible_;
    bool hayMovible_ = false;
    Reproductor reproductor_;
    QElapsedTimer reloj_;
};
