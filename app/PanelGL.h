#pragma once
// The render panel: a native window with its own OpenGL 3.3 core context, embedded in the form
// with QWidget::createWindowContainer. The device draws on it as on any other surface.
#include "Hecho.h"
#include "SuperficieGL.h"

#include <QWindow>

#include <functional>
#include <memory>
#include <string>

class QOpenGLContext;

class PanelGL final : public QWindow, public SuperficieGL {
  public:
    PanelGL();
    ~PanelGL() override;

    // Creates the native window and the context. Not done, with a short reason, when the
    // platform offers no OpenGL 3.3 core context; the panel then stays blank.
    Hecho Iniciar();

    bool HacerActual() override;
    void Intercambiar() override;
    int Ancho() const override;
    int Alto() const override;
    uint32_t Framebuffer() const override;

    // Called when the panel becomes visible or needs repainting, and after a change of size.
    std::function<void()> AlExponer;
    std::function<void()> AlCambiarTamano;
    // Mouse, wheel and key events on the panel; true when taken.
    std::function<bool(QEvent* evento)> AlInteractuar;

  protected:
    bool event(QEvent* evento) override;
    void exposeEvent(QExposeEvent* evento) override;
    void resizeEvent(QResizeEvent* evento) override;

  private:
    std::unique_ptr<QOpenGLContext> contexto_;
};
