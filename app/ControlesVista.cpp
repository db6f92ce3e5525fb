#include "ControlesVista.h"

#include "Encuadre.h"
#include "PanelGL.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QWheelEvent>

#include <algorithm>

namespace {

// Radians of orbit per pixel dragged.
constexpr float ORBITA_POR_PIXEL = 0.01f;

} // namespace

void ControlesVista::Soltar() {
    teclasVuelo_.clear();
    giroNivel_ = false;
    parte_ = -1;
}

void ControlesVista::Avanzar() {
    const bool gira = EnNivel() ? giroNivel_ : navegacion_.Girando();
    if (!gira) {
        relojGiro_.invalidate();
    } else if (!relojGiro_.isValid()) {
        relojGiro_.start();
    } else {
        // A stall (a dialog, a slow frame) is not a long turn.
        const double segundos =
            double(std::min<qint64>(relojGiro_.nsecsElapsed(), 100'000'000)) / 1e9;
        relojGiro_.restart();
        Avanzar(segundos);
    }
    if (EnNivel() && !teclasVuelo_.empty() && relojVuelo_.isValid())
        // Nor a long flight.
        MoverVuelo(float(std::min<qint64>(relojVuelo_.restart(), 100)) / 1000.0f);
}

void ControlesVista::Avanzar(double segundos) {
    navegacion_.Avanzar(segundos);
    if (EnNivel() && giroNivel_)
        vuelo_.Orbitar(float(GIRO_POR_SEGUNDO * segundos), 0);
}

bool ControlesVista::Anda() const {
    return EnNivel() ? !teclasVuelo_.empty() || giroNivel_ : navegacion_.Girando();
}

void ControlesVista::Encuadrar() {
    if (EnNivel()) {
        // What a click picked, else all that is lit.
        if (!EncuadrarElegido()) {
            vuelo_.Encuadrar(escena_->EsferaIluminada(opciones_), escena_->EsferaNivel(opciones_),
                             panel_->Ancho(), panel_->Alto());
            emit Movida();
        }
        return;
    }
    if (!navegacion_.HayObjetivo())
        return;
    navegacion_.Ajustar(panel_->Ancho(), panel_->Alto());
    emit Movida();
}

void ControlesVista::AlternarGiro() {
    if (EnNivel()) {
        giroNivel_ = !giroNivel_;
        // The turn is timed from the key, not from the first frame after it.
        relojGiro_.start();
        emit Pausado(!giroNivel_);
        emit CambioMarcha();
        emit Movida();
        return;
    }
    navegacion_.SetGiro(!navegacion_.Girando());
    relojGiro_.start();
    emit Pausado(!navegacion_.Girando());
    emit CambioMarcha();
    emit Movida();
}

void ControlesVista::VistaInicial() {
    if (EnNivel()) {
        // The whole level, where it opened: behind Lara's start.
        emit PideNivelCompleto();
        return;
    }
    navegacion_.Inicio();
    emit Pausado(false);
    emit CambioMarcha();
    emit Movida();
}

bool ControlesVista::Interactuar(QEvent* evento) {
    switch (evento->type()) {
    case QEvent::MouseButtonPress:
        ultimoRaton_ = pulsado_ = static_cast<QMouseEvent*>(evento)->position();
        arrastrado_ = false;
        // Keys go where the pointer was used.
        panel_->requestActivate();
        return true;
    case QEvent::MouseButtonRelease: {
        auto* e = static_cast<QMouseEvent*>(evento);
        if (e->button() != Qt::LeftButton || arrastrado_)
            return false;
        emit Clic(float(e->position().x()), float(e->position().y()));
        emit Movida();
        return true;
    }
    case QEvent::MouseMove: {
        auto* e = static_cast<QMouseEvent*>(evento);
        const QPointF delta = e->position() - ultimoRaton_;
        ultimoRaton_ = e->position();
        if ((e->position() - pulsado_).manhattanLength() > 3)
            arrastrado_ = true;
        if (!Arrastrar(*e, delta))
            return false;
        emit Movida();
        return true;
    }
    default:
        return EnNivel() ? InteractuarVuelo(evento) : InteractuarObjeto(evento);
    }
}

bool ControlesVista::Arrastrar(const QMouseEvent& e, QPointF delta) {
    // Left orbits, middle (or Shift and left) pans; in the level, right looks around from where
    // the camera stands.
    const bool desplazar = (e.buttons() & Qt::MiddleButton) ||
                           ((e.buttons() & Qt::LeftButton) && (e.modifiers() & Qt::ShiftModifier));
    const int alto = std::max(1, panel_->height());
    if (EnNivel()) {
        if (desplazar)
            vuelo_.Desplazar(float(delta.x()), float(delta.y()), alto);
        else if (e.buttons() & Qt::LeftButton)
            vuelo_.Orbitar(float(delta.x()) * ORBITA_POR_PIXEL,
                           -float(delta.y()) * ORBITA_POR_PIXEL);
        else if (e.buttons() & Qt::RightButton)
            vuelo_.Mirar(float(delta.x()), float(delta.y()));
        else
            return false;
        return true;
    }
    if (!navegacion_.HayObjetivo())
        return false;
    if (desplazar)
        navegacion_.Desplazar(float(delta.x()), float(delta.y()), alto);
    else if (e.buttons() & Qt::LeftButton)
        navegacion_.Orbitar(-float(delta.x()) * ORBITA_POR_PIXEL,
                            float(delta.y()) * ORBITA_POR_PIXEL);
    else
        return false;
    return true;
}

// The keys both ways of looking share: frame what is shown, turn, and go back to the first view.
bool ControlesVista::TeclaDeVista(int tecla) {
    switch (tecla) {
    case Qt::Key_F:
        Encuadrar();
        return true;
    case Qt::Key_Space:
        AlternarGiro();
        return true;
    case Qt::Key_Home:
        VistaInicial();
        return true;
    default:
        return false;
    }
}

bool ControlesVista::InteractuarObjeto(QEvent* evento) {
    switch (evento->type()) {
    case QEvent::MouseButtonDblClick:
        if (static_cast<QMouseEvent*>(evento)->button() != Qt::LeftButton)
            return false;
        Encuadrar();
        return true;
    case QEvent::Wheel: {
        const int octavos = static_cast<QWheelEvent*>(evento)->angleDelta().y();
        if (octavos == 0 || !navegacion_.HayObjetivo())
            return false;
        navegacion_.Acercar(float(octavos) / 120.0f);
        emit Movida();
        return true;
    }
    case QEvent::KeyPress: {
        auto* e = static_cast<QKeyEvent*>(evento);
        if (e->modifiers() & ~Qt::KeypadModifier)
            return false;
        return TeclaDeVista(e->key());
    }
    default:
        return false;
    }
}

namespace {

// The keys that fly the level view's camera.
bool TeclaVuelo(int tecla) {
    switch (tecla) {
    case Qt::Key_W:
    case Qt::Key_A:
    case Qt::Key_S:
    case Qt::Key_D:
    case Qt::Key_Q:
    case Qt::Key_E:
    case Qt::Key_Up:
    case Qt::Key_Down:
    case Qt::Key_Left:
    case Qt::Key_Right:
    case Qt::Key_PageUp:
    case Qt::Key_PageDown:
        return true;
    }
    return false;
}

// A tap of a key moves the camera as one frame at this rate would.
constexpr float SEGUNDOS_TOQUE = 1.0f / 30;

} // namespace

void ControlesVista::MoverVuelo(float segundos) {
    float adelante = 0, lado = 0, arriba = 0;
    for (int tecla : teclasVuelo_) {
        switch (tecla) {
        case Qt::Key_W:
        case Qt::Key_Up:
            adelante += 1;
            break;
        case Qt::Key_S:
        case Qt::Key_Down:
            adelante -= 1;
            break;
        case Qt::Key_D:
        case Qt::Key_Right:
            lado += 1;
            break;
        case Qt::Key_A:
        case Qt::Key_Left:
            lado -= 1;
            break;
        case Qt::Key_E:
        case Qt::Key_PageUp:
            arriba += 1;
            break;
        case Qt::Key_Q:
        case Qt::Key_PageDown:
            arriba -= 1;
            break;
        }
    }
    vuelo_.Mover(std::clamp(adelante, -1.f, 1.f), std::clamp(lado, -1.f, 1.f),
                 std::clamp(arriba, -1.f, 1.f), segundos, rapido_);
}

bool ControlesVista::InteractuarVuelo(QEvent* evento) {
    switch (evento->type()) {
    case QEvent::MouseButtonDblClick: {
        auto* e = static_cast<QMouseEvent*>(evento);
        if (e->button() != Qt::LeftButton)
            return false;
        // The first click of the two picked; the second frames what it picked.
        emit Clic(float(e->position().x()), float(e->position().y()));
        if (!EncuadrarElegido())
            Encuadrar();
        return true;
    }
    case QEvent::Wheel: {
        const int octavos = static_cast<QWheelEvent*>(evento)->angleDelta().y();
        if (octavos == 0)
            return false;
        vuelo_.Acercar(float(octavos) / 120.0f);
        emit Movida();
        return true;
    }
    case QEvent::KeyPress: {
        auto* e = static_cast<QKeyEvent*>(evento);
        rapido_ = e->modifiers() & Qt::ShiftModifier;
        if (TeclaVuelo(e->key())) {
            if (e->isAutoRepeat())
                return true;
            if (teclasVuelo_.empty())
                relojVuelo_.start();
            teclasVuelo_.insert(e->key());
            // A tap moves at once; held, the frames carry it on by the time that passes.
            MoverVuelo(SEGUNDOS_TOQUE);
            emit CambioMarcha();
            emit Movida();
            return true;
        }
        if (e->modifiers() & ~(Qt::KeypadModifier | Qt::ShiftModifier))
            return false;
        return e->key() == Qt::Key_Shift || TeclaDeVista(e->key());
    }
    case QEvent::KeyRelease: {
        auto* e = static_cast<QKeyEvent*>(evento);
        if (e->isAutoRepeat())
            return TeclaVuelo(e->key());
        rapido_ = e->key() != Qt::Key_Shift && (e->modifiers() & Qt::ShiftModifier);
        if (teclasVuelo_.erase(e->key()) == 0)
            return false;
        emit CambioMarcha();
        return true;
    }
    case QEvent::FocusOut:
        // Keys released elsewhere never reach the panel: nothing stays held.
        teclasVuelo_.clear();
        rapido_ = false;
        emit CambioMarcha();
        return false;
    default:
        return false;
    }
}

bool ControlesVista::EncuadrarElegido() {
    if (!EnNivel() || parte_ < 0)
        return false;
    vuelo_.Encuadrar(escena_->EsferaParte(parte_), escena_->EsferaNivel(opciones_), panel_->Ancho(),
                     panel_->Alto());
    emit Movida();
    return true;
}
