#include "SuperficieEGL.h"
#include "Idioma.h"

#include <EGL/egl.h>
#include <EGL/eglext.h>
#include <GL/glcorearb.h>

#include <cstring>
#include <mutex>

namespace {

void Motivo(std::string* motivo, const char* texto) {
    if (motivo)
        *motivo = texto;
}

bool TieneExtension(const char* lista, const char* nombre) {
    if (!lista)
        return false;
    const size_t n = std::strlen(nombre);
    for (const char* p = lista; (p = std::strstr(p, nombre)) != nullptr; p += n) {
        if ((p == lista || p[-1] == ' ') && (p[n] == ' ' || p[n] == '\0'))
            return true;
    }
    return false;
}

// Every surface shares one display, initialised once and never terminated: terminating unloads
// the driver, which leaves its per-thread allocations unreachable (reported as leaks) and makes
// the next surface load it all again.
EGLDisplay Pantalla(std::string* motivo) {
    static std::mutex cerrojo;
    static EGLDisplay pantalla = EGL_NO_DISPLAY;
    std::lock_guard<std::mutex> bloqueo(cerrojo);
    if (pantalla != EGL_NO_DISPLAY)
        return pantalla;
    const char* clientes = eglQueryString(EGL_NO_DISPLAY, EGL_EXTENSIONS);
    if (!TieneExtension(clientes, "EGL_MESA_platform_surfaceless")) {
        Motivo(motivo, Traducir("EGL no ofrece la plataforma sin superficie de Mesa"));
        return EGL_NO_DISPLAY;
    }
    auto obtener = reinterpret_cast<PFNEGLGETPLATFORMDISPLAYEXTPROC>(
        eglGetProcAddress("eglGetPlatformDisplayEXT"));
    EGLDisplay d = obtener ? obtener(EGL_PLATFORM_SURFACELESS_MESA, EGL_DEFAULT_DISPLAY, nullptr)
                           : EGL_NO_DISPLAY;
    if (d == EGL_NO_DISPLAY || !eglInitialize(d, nullptr, nullptr)) {
        Motivo(motivo, Traducir("no se pudo abrir la pantalla EGL sin superficie"));
        return EGL_NO_DISPLAY;
    }
    pantalla = d;
    return pantalla;
}

} // namespace

std::unique_ptr<SuperficieEGL> SuperficieEGL::Crear(int ancho, int alto, std::string* motivo) {
    if (ancho < 1 || alto < 1) {
        Motivo(motivo, Traducir("tamaño de superficie no válido"));
        return nullptr;
    }
    EGLDisplay pantalla = Pantalla(motivo);
    if (pantalla == EGL_NO_DISPLAY)
        return nullptr;
    std::unique_ptr<SuperficieEGL> s(new SuperficieEGL);
    s->pantalla_ = pantalla;
    s->ancho_ = ancho;
    s->alto_ = alto;

    const char* extensiones = eglQueryString(pantalla, EGL_EXTENSIONS);
    if (!TieneExtension(extensiones, "EGL_KHR_no_config_context") ||
        !TieneExtension(extensiones, "EGL_KHR_surfaceless_context")) {
        Motivo(motivo, Traducir("EGL no admite contextos sin configuración ni superficie"));
        return nullptr;
    }
    if (!eglBindAPI(EGL_OPENGL_API)) {
        Motivo(motivo, Traducir("EGL no ofrece OpenGL de escritorio"));
        return nullptr;
    }
    const EGLint atributos[] = {EGL_CONTEXT_MAJOR_VERSION,
                                3,
                                EGL_CONTEXT_MINOR_VERSION,
                                3,
                                EGL_CONTEXT_OPENGL_PROFILE_MASK,
                                EGL_CONTEXT_OPENGL_CORE_PROFILE_BIT,
                                EGL_NONE};
    EGLContext contexto = eglCreateContext(pantalla, EGL_NO_CONFIG_KHR, EGL_NO_CONTEXT, atributos);
    if (contexto == EGL_NO_CONTEXT) {
        Motivo(motivo, Traducir("no se pudo crear un contexto OpenGL 3.3 núcleo"));
        return nullptr;
    }
    s->contexto_ = contexto;
    if (!s->HacerActual()) {
        Motivo(motivo, Traducir("no se pudo activar el contexto OpenGL"));
        return nullptr;
    }
    if (!s->CrearMarco(motivo))
        return nullptr;
    return s;
}

bool SuperficieEGL::CrearMarco(std::string* motivo) {
    GLint maximo = 0;
    glGetIntegerv(GL_MAX_RENDERBUFFER_SIZE, &maximo);
    if (ancho_ > maximo || alto_ > maximo) {
        Motivo(motivo, Traducir("superficie mayor de lo que admite OpenGL"));
        return false;
    }
    glGenFramebuffers(1, &marco_);
    glGenRenderbuffers(1, &color_);
    glGenRenderbuffers(1, &profundidad_);
    glBindRenderbuffer(GL_RENDERBUFFER, color_);
    glRenderbufferStorage(GL_RENDERBUFFER, GL_RGBA8, ancho_, alto_);
    glBindRenderbuffer(GL_RENDERBUFFER, profundidad_);
    glRenderbufferStorage(GL_RENDERBUFFER, GL_DEPTH_COMPONENT16, ancho_, alto_);
    glBindFramebuffer(GL_FRAMEBUFFER, marco_);
    glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_RENDERBUFFER, color_);
    glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_DEPTH_ATTACHMENT, GL_RENDERBUFFER, profundidad_);
    if (glCheckFramebufferStatus(GL_FRAMEBUFFER) != GL_FRAMEBUFFER_COMPLETE) {
        Motivo(motivo, Traducir("el marco de dibujo fuera de pantalla no está completo"));
        return false;
    }
    return true;
}

SuperficieEGL::~SuperficieEGL() {
    if (contexto_) {
        if (HacerActual()) {
            glDeleteFramebuffers(1, &marco_);
            glDeleteRenderbuffers(1, &color_);
            glDeleteRenderbuffers(1, &profundidad_);
        }
        eglMakeCurrent(pantalla_, EGL_NO_SURFACE, EGL_NO_SURFACE, EGL_NO_CONTEXT);
        eglDestroyContext(pantalla_, contexto_);
    }
}

bool SuperficieEGL::HacerActual() {
    if (eglGetCurrentContext() == contexto_)
        return true;
    return eglMakeCurrent(pantalla_, EGL_NO_SURFACE, EGL_NO_SURFACE, contexto_) == EGL_TRUE;
}

void SuperficieEGL::Intercambiar() {
    if (HacerActual())
        glFlush();
}

bool SuperficieEGL::CambiarTamano(int ancho, int alto) {
    if (ancho == ancho_ && alto == alto_)
        return true;
    if (ancho < 1 || alto < 1 || !HacerActual())
        return false;
    GLint maximo = 0;
    glGetIntegerv(GL_MAX_RENDERBUFFER_SIZE, &maximo);
    if (ancho > maximo || alto > maximo)
        return false;
    glBindRenderbuffer(GL_RENDERBUFFER, color_);
    glRenderbufferStorage(GL_RENDERBUFFER, GL_RGBA8, ancho, alto);
    glBindRenderbuffer(GL_RENDERBUFFER, profundidad_);
    glRenderbufferStorage(GL_RENDERBUFFER, GL_DEPTH_COMPONENT16, ancho, alto);
    ancho_ = ancho;
    alto_ = alto;
    return true;
}
