#include "PanelGL.h"

#include <QCoreApplication>
#include <QEvent>
#include <QOpenGLContext>
#include <QSurfaceFormat>

#include <algorithm>
#include <cmath>

namespace {

QSurfaceFormat Formato() {
    QSurfaceFormat f;
    f.setRenderableType(QSurfaceFormat::OpenGL);
    f.setVersion(3, 3);
    f.setProfile(QSurfaceFormat::CoreProfile);
    f.setDepthBufferSize(24);
    f.setSwapBehavior(QSurfaceFormat::DoubleBuffer);
    return f;
}

} // namespace

PanelGL::PanelGL() {
    setSurfaceType(QSurface::OpenGLSurface);
    setFormat(Formato());
}

PanelGL::~PanelGL() {
    AlExponer = nullptr;
    AlCambiarTamano = nullptr;
    AlInteractuar = nullptr;
    if (contexto_)
        contexto_->doneCurrent();
}

Hecho PanelGL::Iniciar() {
    create();
    auto contexto = std::make_unique<QOpenGLContext>();
    contexto->setFormat(format());
    if (!contexto->create())
        return Hecho::Fallo(
            QCoreApplication::translate("PanelGL", "la plataforma no ofrece contextos OpenGL")
                .toStdString());
    const QSurfaceFormat real = contexto->format();
    if (real.version() < qMakePair(3, 3) || real.profile() != QSurfaceFormat::CoreProfile)
        return Hecho::Fallo(
            QCoreApplication::translate("PanelGL", "no se pudo crear un contexto OpenGL 3.3 núcleo")
                .toStdString());
    contexto_ = std::move(contexto);
    return {};
}

bool PanelGL::HacerActual() {
    if (!contexto_ || !handle())
        return false;
    if (QOpenGLContext::currentContext() == contexto_.get() && contexto_->surface() == this)
        return true;
    return contexto_->makeCurrent(this);
}

void PanelGL::Intercambiar() {
    // Swapping a window that is not on screen is undefined for the platform; the frame is lost
    // either way.
    if (isExposed() && HacerActual())
        contexto_->swapBuffers(this);
}

int PanelGL::Ancho() const {
    return std::max(1, int(std::lround(width() * devicePixelRatio())));
}

int PanelGL::Alto() const {
    return std::max(1, int(std::lround(height() * devicePixelRatio())));
}

uint32_t PanelGL::Framebuffer() const {
    return contexto_ ? contexto_->defaultFramebufferObject() : 0;
}

bool PanelGL::event(QEvent* evento) {
    switch (evento->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::MouseMove:
    case QEvent::Wheel:
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
    case QEvent::FocusOut:
        if (AlInteractuar && AlInteractuar(evento))
            return true;
        break;
    default:
        break;
    }
    return QWindow::event(evento);
}

void PanelGL::exposeEvent(QExposeEvent*) {
    if (isExposed() && AlExponer)
        AlExponer();
}

void PanelGL::resizeEvent(QResizeEvent*) {
    if (AlCambiarTamano)
        AlCambiarTamano();
}
