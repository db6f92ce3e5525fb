#pragma once
// An off-screen surface: an OpenGL 3.3 core context on Mesa's surfaceless EGL platform drawing
// into a framebuffer object. No window system needed; for tests and headless rendering.
#include "SuperficieGL.h"

#include <memory>
#include <string>

class SuperficieEGL final : public SuperficieGL {
  public:
    // Null, with a short reason in `motivo`, when EGL, the platform or the context is missing.
    [[nodiscard]] static std::unique_ptr<SuperficieEGL> Crear(int ancho, int alto, std::string* motivo = nullptr);
    ~SuperficieEGL() override;
    SuperficieEGL(const SuperficieEGL&) = delete;
    SuperficieEGL& operator=(const SuperficieEGL&) = delete;

    bool HacerActual() override;
    void Intercambiar() override;
    int Ancho() const override { return ancho_; }
    int Alto() const override { return alto_; }
    uint32_t Framebuffer() const override { return marco_; }

    // The contents are undefined afterwards. False for sizes below 1 or beyond GL's limit.
    [[nodiscard]] bool CambiarTamano(int ancho, int alto);

  private:
    SuperficieEGL() = default;
    [[nodiscard]] bool CrearMarco(std::string* motivo);

    void* pantalla_ = nullptr; // EGLDisplay
    void* contexto_ = nullptr; // EGLContext
    int ancho_ = 0, alto_ = 0;
    uint32_t marco_ = 0;
    uint32_t color_ = 0, profundidad_ = 0;
};
