#include "PoseMovible.h"

#include "ArbolMovible.h"
#include "ArmarElegido.h"
#include "Idioma.h"
#include "LeerAnimaciones.h"
#include "LeerSonidos.h"

#include <glm/gtc/type_ptr.hpp>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <vector>

namespace {

void AMundos(const std::vector<glm::mat4>& m, std::vector<glm::mat4>& mundos) {
    mundos.assign(m.begin(), m.end());
}

// Reused from call to call: posing every item a frame must not allocate.
struct Borrador {
    trCuadroClave a, b;
    std::vector<glm::quat> giros;
    std::vector<glm::mat4> mundos;
};

Borrador& Local() {
    thread_local Borrador b;
    return b;
}

Hecho Leer(const trNivel& nivel, const trAnimacion& a, const trMovible& m, uint32_t k,
           trCuadroClave& clave) {
    return LeerCuadroClave(nivel, InicioClave(a, k), a.TamanoCuadro,
                           uint32_t(m.Meshes.size()), clave);
}

Hecho NoSeVe(uint32_t animacion, trMotivoAnimacion motivo) {
    return Hecho::Fallo(
        Formatear(Traducir("la animación %s no se puede ver: "), {std::to_string(animacion)}) +
        TextoMotivo(motivo));
}

Hecho NoEncaja() {
    return Hecho::Fallo(Traducir("la animación no encaja en el árbol del movible"));
}

} // namespace

Hecho PosarMovible(const trNivel& nivel, const trAnimaciones& animaciones,
                   const trMovible& esqueleto, uint32_t animacion, double cuadro,
                   std::vector<glm::mat4>& mundos) {
    if (animacion >= animaciones.Animaciones.size())
        return NoSeVe(animacion, trMotivoAnimacion::SinDueno);
    const trAnimacion& a = animaciones.Animaciones[animacion];
    if (!a.Jugable())
        return NoSeVe(animacion, a.Motivo);
    if (!std::isfinite(cuadro))
        return Hecho::Fallo(Traducir(
            "se espera un cuadro de juego desde el primero de la animación (0, 1, 2.5...)"));
    const double f = std::clamp(cuadro, 0.0, double(a.Duracion()));
    uint32_t k = uint32_t(f / a.Tasa);
    double t = (f - double(k) * a.Tasa) / a.Tasa;
    if (k + 1 >= a.Claves) {
        k = a.Claves - 1;
        t = 0;
    }
    Borrador& b = Local();
    if (!Leer(nivel, a, esqueleto, k, b.a) || (t > 0 && !Leer(nivel, a, esqueleto, k + 1, b.b)))
        return NoEncaja();
    const size_t n = b.a.Giros.size();
    b.giros.resize(n);
    glm::vec3 raiz(b.a.RaizX, b.a.RaizY, b.a.RaizZ);
    if (t > 0) {
        const float s = float(t);
        raiz = glm::mix(raiz, glm::vec3(b.b.RaizX, b.b.RaizY, b.b.RaizZ), s);
        for (size_t i = 0; i < n; ++i)
            b.giros[i] =
                glm::slerp(CuaternionGiro(b.a.Giros[i]), CuaternionGiro(b.b.Giros[i]), s);
    } else {
        for (size_t i = 0; i < n; ++i)
            b.giros[i] = CuaternionGiro(b.a.Giros[i]);
    }
    ColgarMeshes(esqueleto, b.giros, raiz, b.mundos);
    AMundos(b.mundos, mundos);
    return {};
}

Hecho PosarClave(const trNivel& nivel, const trAnimacion& a, const trMovible& esqueleto,
                 uint32_t clave, std::vector<glm::mat4>& mundos) {
    if (!a.Jugable())
        return Hecho::Fallo(TextoMotivo(a.Motivo));
    Borrador& b = Local();
    if (clave >= a.Claves || !Leer(nivel, a, esqueleto, clave, b.a))
        return NoEncaja();
    b.giros.resize(b.a.Giros.size());
    for (size_t i = 0; i < b.giros.size(); ++i)
        b.giros[i] = CuaternionGiro(b.a.Giros[i]);
    ColgarMeshes(esqueleto, b.giros, glm::vec3(b.a.RaizX, b.a.RaizY, b.a.RaizZ), b.mundos);
    AMundos(b.mundos, mundos);
    return {};
}

Hecho Reproductor::Elegir(const trAnimaciones& animaciones, uint32_t animacion) {
    if (animacion >= animaciones.Animaciones.size())
        return NoSeVe(animacion, trMotivoAnimacion::SinDueno);
    if (!animaciones.Animaciones[animacion].Jugable())
        return NoSeVe(animacion, animaciones.Animaciones[animacion].Motivo);
    animaciones_ = &animaciones;
    animacion_ = animacion;
    cuadro_ = 0;
    return {};
}

uint32_t Reproductor::Cuadros() const {
    return animaciones_ ? animaciones_->Animaciones[animacion_].Duracion() + 1 : 0;
}

void Reproductor::Avanzar(double segundos, SumideroSonido* sonidos) {
    if (!animaciones_ || Pausado || !std::isfinite(segundos) || !std::isfinite(Velocidad))
        return;
    std::vector<uint16_t> ids;
    auto sonar = [&](double desde, double hasta) {
        if (!sonidos)
            return;
        ids.clear();
        SonidosEntre(*animaciones_, animacion_, desde, hasta, ids);
        for (uint16_t id : ids)
            sonidos->Sonar(id);
    };
    double desde = cuadro_;
    cuadro_ += std::max(0.0, segundos * Velocidad * CUADROS_POR_SEGUNDO);
    // Each step ends one animation; a long stall over a chain of short ones is cut short.
    for (int pasos = 0; cuadro_ >= Cuadros(); ++pasos) {
        sonar(desde, Cuadros());
        uint32_t siguiente = 0, inicio = 0;
        if (Forma == Modo::Bucle || pasos >= 64 ||
            !SiguienteDe(*animaciones_, animacion_, siguiente, inicio)) {
            // Looping, or nowhere to go on to: from its first frame again.
            cuadro_ = std::fmod(cuadro_, double(Cuadros()));
            desde = 0;
            break;
        }
        cuadro_ -= Cuadros();
        animacion_ = siguiente;
        desde = inicio - animaciones_->Animaciones[siguiente].PrimerCuadro;
        cuadro_ += desde;
    }
    sonar(desde, cuadro_);
}

void Reproductor::Paso(int cuadros) {
    if (!animaciones_)
        return;
    const double n = Cuadros();
    double f = std::floor(cuadro_ + 1e-9) + cuadros;
    f = std::fmod(f, n);
    if (f < 0)
        f += n;
    cuadro_ = f;
}

void Reproductor::IrA(double cuadro) {
    if (!animaciones_ || !std::isfinite(cuadro))
        return;
    cuadro_ = std::clamp(cuadro, 0.0, double(Cuadros() - 1));
}
