#include "ReproductorSonido.h"

#include "DecodificarMuestra.h"
#include "LeerSonidos.h"

#include <QAudioDevice>
#include <QAudioFormat>
#include <QAudioSink>
#include <QBuffer>
#include <QMediaDevices>
#include <QRandomGenerator>

#include <algorithm>

namespace {

// Sounds heard at once; past it the oldest stops, as a game's channels would.
constexpr size_t MAXIMO_SONANDO = 8;
// A record of what was asked, for the tests; bounded so a long session keeps little.
constexpr size_t MAXIMO_PEDIDAS = 256;

} // namespace

ReproductorSonido::ReproductorSonido(QObject* padre) : QObject(padre) {}

ReproductorSonido::~ReproductorSonido() {
    Detener();
}

void ReproductorSonido::Detener() {
    for (QAudioSink* s : sonando_) {
        s->disconnect(this);
        s->stop();
        delete s;
    }
    sonando_.clear();
}

void ReproductorSonido::SetNivel(const trNivel* nivel) {
    Detener();
    nivel_ = nivel;
    sonidos_ = {};
    pcm_.clear();
    pedidas_.clear();
    if (nivel_)
        LeerSonidos(*nivel_, sonidos_);
    pcm_.resize(sonidos_.Muestras.size());
}

const trPcm* ReproductorSonido::Pcm(uint32_t i) {
    if (!nivel_ || i >= pcm_.size() || !sonidos_.Muestras[i].Legible())
        return nullptr;
    if (!pcm_[i]) {
        trPcm pcm;
        if (!DecodificarMuestra(*nivel_, sonidos_.Muestras[i], pcm)) {
            emit Aviso(tr("La muestra %1 no se puede oír: %2")
                           .arg(i)
                           .arg(QString::fromStdString(sonidos_.Muestras[i].Motivo)));
            return nullptr;
        }
        pcm_[i] = std::move(pcm);
    }
    return &*pcm_[i];
}

void ReproductorSonido::Sonar(uint16_t id) {
    const int32_t d = DetalleDeSonido(sonidos_, id);
    int64_t elegida = -1;
    if (d >= 0) {
        const auto muestras = MuestrasDeSonido(sonidos_, sonidos_.Detalles[size_t(d)]);
        // The game picks one of them at random each time.
        if (!muestras.empty())
            elegida = muestras[QRandomGenerator::global()->bounded(uint32_t(muestras.size()))];
    }
    if (pedidas_.size() < MAXIMO_PEDIDAS)
        pedidas_.push_back(elegida);
    if (elegida >= 0)
        SonarMuestra(uint32_t(elegida));
}

void ReproductorSonido::SonarMuestra(uint32_t i) {
    const trPcm* pcm = Pcm(i);
    if (!pcm || pcm->Valores.empty())
        return;
    const QAudioDevice salida = QMediaDevices::defaultAudioOutput();
    if (salida.isNull()) {
        if (!sinSalidaDicho_)
            emit Aviso(tr("No hay salida de sonido: los sonidos del nivel no se oyen"));
        sinSalidaDicho_ = true;
        return;
    }
    QAudioFormat formato;
    formato.setSampleRate(int(pcm->Frecuencia));
    formato.setChannelCount(pcm->Canales);
    formato.setSampleFormat(QAudioFormat::Int16);
    if (sonando_.size() >= MAXIMO_SONANDO) {
        QAudioSink* viejo = sonando_.front();
        sonando_.erase(sonando_.begin());
        viejo->disconnect(this);
        viejo->stop();
        viejo->deleteLater();
    }
    auto* sink = new QAudioSink(salida, formato, this);
    // Read in place from the decoded PCM, which lives until SetNivel has stopped every sink.
    auto* buffer = new QBuffer(sink);
    buffer->setData(QByteArray::fromRawData(reinterpret_cast<const char*>(pcm->Valores.data()),
                                            qsizetype(pcm->BytesDatos())));
    buffer->open(QIODevice::ReadOnly);
    connect(sink, &QAudioSink::stateChanged, this, [this, sink](QAudio::State estado) {
        if (estado != QAudio::IdleState && estado != QAudio::StoppedState)
            return;
        const auto en = std::find(sonando_.begin(), sonando_.end(), sink);
        if (en == sonando_.end())
            return;
        sonando_.erase(en);
        sink->disconnect(this);
        sink->deleteLater();
    });
    sonando_.push_back(sink);
    sink->start(buffer);
}
