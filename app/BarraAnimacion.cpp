#include "BarraAnimacion.h"

#include "NivelAbierto.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QResizeEvent>
#include <QVBoxLayout>
#include <QLabel>
#include <QSignalBlocker>
#include <QSlider>
#include <QToolButton>

#include <algorithm>
#include <cmath>

namespace {

// Steps of the timeline per game frame: scrubbing lands between frames too.
constexpr int PASOS_CUADRO = 4;
constexpr double VELOCIDADES[] = {0.25, 0.5, 1, 2};
// Narrower, the timeline is a box one cannot scrub.
constexpr int ANCHO_LINEA = 120;

} // namespace

BarraAnimacion::BarraAnimacion(QWidget* padre) : QWidget(padre) {
    setObjectName("BarraAnimacion");
    auto* columna = new QVBoxLayout(this);
    columna->setContentsMargins(0, 0, 0, 0);
    columna->setSpacing(4);
    fila_ = new QHBoxLayout;
    fila_->setSpacing(4);
    opciones_ = new QHBoxLayout;
    opciones_->setSpacing(4);
    opciones_->addStretch(1);
    columna->addLayout(fila_);
    columna->addLayout(opciones_);
    QHBoxLayout* fila = fila_;
    auto boton = [&](const QString& texto, const QString& ayuda, const char* nombre) {
        auto* b = new QToolButton(this);
        b->setText(texto);
        b->setToolTip(ayuda);
        b->setObjectName(nombre);
        fila->addWidget(b);
        return b;
    };
    Reproducir = boton(tr("Pausa"), tr("Reproducir o pausar la animación"), "Reproducir");
    Atras = boton("<", tr("Un cuadro atrás"), "Atras");
    Adelante = boton(">", tr("Un cuadro adelante"), "Adelante");
    Linea = new QSlider(Qt::Horizontal, this);
    Linea->setObjectName("Linea");
    Linea->setToolTip(tr("Línea de tiempo: arrastre para ir a un cuadro"));
    Linea->setMinimumWidth(ANCHO_LINEA);
    fila->addWidget(Linea, 1);
    Cuadro = new QLabel(this);
    Cuadro->setObjectName("CuadroAnimacion");
    Cuadro->setMinimumWidth(Cuadro->fontMetrics().horizontalAdvance("0000 / 0000 "));
    fila->addWidget(Cuadro);
    Velocidad = new QComboBox(this);
    Velocidad->setObjectName("Velocidad");
    Velocidad->setToolTip(tr("Velocidad"));
    for (const char* v : {"¼×", "½×", "1×", "2×"})
        Velocidad->addItem(QString::fromUtf8(v));
    Velocidad->setCurrentIndex(2);
    fila->addWidget(Velocidad);
    Forma = new QComboBox(this);
    Forma->setObjectName("Forma");
    Forma->addItem(tr("en bucle"));
    Forma->addItem(tr("seguir a la siguiente"));
    Forma->setToolTip(tr("Al acabar: repetirla, o seguir a su siguiente animación y cuadro "
                         "como hace el juego"));
    fila->addWidget(Forma);
    MeshesDe = new QComboBox(this);
    MeshesDe->setObjectName("MeshesDe");
    // Its entries change with the moveable: it is as wide as the longest.
    MeshesDe->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    MeshesDe->setToolTip(tr("Las meshes que lleva el movible: las suyas o las de otro con "
                            "tantas como él"));
    fila->addWidget(MeshesDe);

    connect(Reproducir, &QToolButton::clicked, this, &BarraAnimacion::AlternarPausa);
    connect(Atras, &QToolButton::clicked, this, [this] { Paso(-1); });
    connect(Adelante, &QToolButton::clicked, this, [this] { Paso(1); });
    connect(Linea, &QSlider::valueChanged, this,
            [this](int v) { IrA(double(v) / PASOS_CUADRO); });
    connect(Velocidad, &QComboBox::currentIndexChanged, this,
            [this](int i) { SetVelocidad(VELOCIDADES[std::clamp(i, 0, 3)]); });
    connect(Forma, &QComboBox::currentIndexChanged, this, [this](int i) { SetSeguir(i == 1); });
    connect(MeshesDe, &QComboBox::activated, this,
            [this](int i) { emit CambioMeshes(MeshesDe->itemData(i).toLongLong()); });
    Actualizar();
}

void BarraAnimacion::SetMovible(const NivelAbierto* nivel, const trMovible* movible,
                                int64_t prestadas) {
    nivel_ = nivel;
    hayMovible_ = nivel && movible;
    if (hayMovible_)
        movible_ = *movible;
    reproductor_ = Reproductor{};
    SetVelocidad(VELOCIDADES[std::clamp(Velocidad->currentIndex(), 0, 3)]);
    SetSeguir(Forma->currentIndex() == 1);
    const QSignalBlocker silencio(MeshesDe);
    MeshesDe->clear();
    if (hayMovible_) {
        MeshesDe->addItem(tr("Meshes de: las suyas"), qlonglong(-1));
        for (const trMovible& m : nivel->Objetos.Movibles)
            if (m.Id != movible->Id && m.NumMeshes == movible->NumMeshes &&
                m.Meshes.size() == movible->Meshes.size()) {
                MeshesDe->addItem(tr("Meshes de: movible %1").arg(m.Id), qlonglong(m.Id));
                if (int64_t(m.Id) == prestadas)
                    MeshesDe->setCurrentIndex(MeshesDe->count() - 1);
            }
    }
    Actualizar();
}

bool BarraAnimacion::Elegir(uint32_t animacion) {
    if (!hayMovible_ || animacion < movible_.Animacion ||
        animacion >= uint64_t{movible_.Animacion} + movible_.NumAnimaciones ||
        !reproductor_.Elegir(nivel_->Objetos.Animaciones, animacion))
        return false;
    reproductor_.Pausado = false;
    reloj_.start();
    Actualizar();
    return true;
}

void BarraAnimacion::Quitar() {
    reproductor_ = Reproductor{};
    SetVelocidad(VELOCIDADES[std::clamp(Velocidad->currentIndex(), 0, 3)]);
    SetSeguir(Forma->currentIndex() == 1);
    Actualizar();
}

bool BarraAnimacion::Posar(std::vector<glm::mat4>& mundos) {
    if (!reproductor_.Hay() || !nivel_ || !nivel_->Nivel)
        return false;
    if (reproductor_.Pausado || !reloj_.isValid()) {
        reloj_.start();
    } else {
        // A stall (a dialog, a slow frame) is not a leap through the animation.
        const qint64 ms = std::min<qint64>(reloj_.restart(), 250);
        const uint32_t antes = reproductor_.Animacion();
        reproductor_.Avanzar(double(ms) / 1000.0, Sonidos);
        if (reproductor_.Animacion() != antes)
            Actualizar();
        else {
            const QSignalBlocker silencio(Linea);
            Linea->setValue(int(reproductor_.Cuadro() * PASOS_CUADRO));
            Cuadro->setText(QString("%1 / %2")
                                .arg(int(reproductor_.Cuadro()))
                                .arg(reproductor_.Cuadros() - 1));
        }
    }
    // One the player holds can be played: a failure here is keyframes that do not fit the
    // tree, and the caller then keeps the pose it had.
    const Hecho posado = PosarMovible(*nivel_->Nivel, nivel_->Objetos.Animaciones, movible_,
                                      reproductor_.Animacion(), reproductor_.Cuadro(), mundos);
    return bool(posado);
}

void BarraAnimacion::AlternarPausa() {
    if (!reproductor_.Hay())
        return;
    reproductor_.Pausado = !reproductor_.Pausado;
    reloj_.start();
    Actualizar();
    emit CambioPose();
}

void BarraAnimacion::Paso(int cuadros) {
    if (!reproductor_.Hay())
        return;
    // A step is looked at, not run past.
    reproductor_.Pausado = true;
    reproductor_.Paso(cuadros);
    Actualizar();
    emit CambioPose();
}

void BarraAnimacion::IrA(double cuadro) {
    if (!reproductor_.Hay())
        return;
    reproductor_.IrA(cuadro);
    Actualizar();
    emit CambioPose();
}

void BarraAnimacion::SetVelocidad(double velocidad) {
    reproductor_.Velocidad = velocidad;
}

void BarraAnimacion::SetSeguir(bool seguir) {
    reproductor_.Forma = seguir ? Reproductor::Modo::Seguir : Reproductor::Modo::Bucle;
}

void BarraAnimacion::Actualizar() {
    const bool hay = reproductor_.Hay();
    for (QWidget* w : std::initializer_list<QWidget*>{Reproducir, Atras, Adelante, Linea,
                                                      Velocidad, Forma})
        w->setEnabled(hay);
    MeshesDe->setEnabled(hayMovible_ && MeshesDe->count() > 1);
    Reproducir->setText(hay && reproductor_.Pausado ? tr("Reproducir") : tr("Pausa"));
    const QSignalBlocker silencio(Linea);
    if (!hay) {
        Linea->setRange(0, 0);
        Cuadro->setText(hayMovible_ ? tr("reposo") : QString());
        return;
    }
    Linea->setRange(0, int(reproductor_.Cuadros() - 1) * PASOS_CUADRO);
    Linea->setValue(int(std::lround(reproductor_.Cuadro() * PASOS_CUADRO)));
    Cuadro->setText(
        QString("%1 / %2").arg(int(reproductor_.Cuadro())).arg(reproductor_.Cuadros() - 1));
}

int BarraAnimacion::AnchoUnaFila() const {
    int ancho = 0, cuantos = 0;
    for (const QWidget* w : std::initializer_list<const QWidget*>{
             Reproducir, Atras, Adelante, Linea, Cuadro, Velocidad, Forma, MeshesDe}) {
        ancho += std::max(w->sizeHint().width(), w->minimumWidth());
        ++cuantos;
    }
    return ancho + fila_->spacing() * (cuantos - 1);
}

QSize BarraAnimacion::minimumSizeHint() const {
    // Two rows at the narrowest: the wider of the player's row and the choices' row.
    int reproductor = 0, elecciones = 0;
    for (const QWidget* w : std::initializer_list<const QWidget*>{Reproducir, Atras, Adelante, Linea})
        reproductor += std::max(w->sizeHint().width(), w->minimumWidth()) + fila_->spacing();
    reproductor += std::max(Cuadro->sizeHint().width(), Cuadro->minimumWidth());
    for (const QComboBox* c : {Velocidad, Forma, MeshesDe})
        elecciones += c->sizeHint().width() + opciones_->spacing();
    return {std::max(reproductor, elecciones), QWidget::minimumSizeHint().height()};
}

void BarraAnimacion::resizeEvent(QResizeEvent* evento) {
    QWidget::resizeEvent(evento);
    Colocar(evento->size().width() < AnchoUnaFila());
}

void BarraAnimacion::Colocar(bool dosFilas) {
    if (dosFilas == dosFilas_)
        return;
    dosFilas_ = dosFilas;
    for (QComboBox* c : {Velocidad, Forma, MeshesDe}) {
        fila_->removeWidget(c);
        opciones_->removeWidget(c);
        if (dosFilas)
            opciones_->insertWidget(opciones_->count() - 1, c);
        else
            fila_->addWidget(c);
    }
    // The window's layout gives the bar a second row's height, or takes it back.
    updateGeometry();
}
