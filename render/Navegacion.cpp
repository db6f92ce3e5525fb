#include "Navegacion.h"

#include "dxDevice8.h"

#include <algorithm>
#include <cmath>

namespace {

float Longitud(const D3DXVECTOR3& v) {
    return std::sqrt(v.x * v.x + v.y * v.y + v.z * v.z);
}

// However far one zooms out, the sphere stays a dot rather than a float overflow.
float DistanciaMaxima(const Esfera& e) {
    return 50.0f * (3.0f * e.Radio + DISTANCIA_OJO);
}

} // namespace

void Navegacion::Mostrar(const D3DXVECTOR3& objetivo, const Esfera& limite) {
    hayObjetivo_ = true;
    objetivoInicial_ = objetivo_ = objetivo;
    limite_ = limite;
    limite_.Radio = std::isfinite(limite.Radio) ? std::max(limite.Radio, 1.0f) : 1.0f;
    // The first view keeps its own distance whatever the size; a view the user chose keeps the
    // sphere past the near plane.
    if (!inicial_)
        distancia_ = std::clamp(distancia_, DistanciaMinima(), DistanciaMaxima(limite_));
}

void Navegacion::Quitar() {
    hayObjetivo_ = false;
}

void Navegacion::Inicio() {
    objetivo_ = objetivoInicial_;
    distancia_ = DISTANCIA_OJO;
    acimut_ = elevacion_ = 0;
    inicial_ = true;
    girando_ = true;
}

void Navegacion::Movido() {
    inicial_ = false;
}

float Navegacion::DistanciaMinima() const {
    // With near at most 1.05 radii short of the centre, 1.1 radii leaves the whole sphere past it.
    return 1.1f * limite_.Radio;
}

void Navegacion::Ajustar(int ancho, int alto) {
    objetivo_ = {limite_.X, limite_.Y, limite_.Z};
    distancia_ = std::max(DistanciaAjuste(limite_.Radio, ancho, alto), DistanciaMinima());
    Movido();
}

void Navegacion::Orbitar(float acimut, float elevacion) {
    if (!std::isfinite(acimut) || !std::isfinite(elevacion))
        return;
    // Kept within one turn, so that float precision holds however long one drags.
    acimut_ = std::remainder(acimut_ + acimut, 6.28318531f);
    elevacion_ = std::clamp(elevacion_ + elevacion, -ELEVACION_MAXIMA, ELEVACION_MAXIMA);
    Movido();
}

void Navegacion::Acercar(float pasos) {
    if (!std::isfinite(pasos))
        return;
    distancia_ = std::clamp(distancia_ * std::pow(PASO_ZOOM, pasos), DistanciaMinima(),
                            DistanciaMaxima(limite_));
    Movido();
}

void Navegacion::Desplazar(float dx, float dy, int alto) {
    if (!std::isfinite(dx) || !std::isfinite(dy))
        return;
    // The view plane through the target spans 2 d tan(fov/2) units over the panel's height.
    const float porPixel =
        2.0f * distancia_ * std::tan(CAMPO_VISION / 2) / float(std::max(alto, 1));
    const float ca = std::cos(acimut_), sa = std::sin(acimut_);
    const float ce = std::cos(elevacion_), se = std::sin(elevacion_);
    // Left-handed: right = up x forward, screen up = forward x right.
    const D3DXVECTOR3 adelante{-sa * ce, -se, ca * ce};
    const D3DXVECTOR3 derecha{ca, 0, sa};
    const D3DXVECTOR3 arriba{adelante.y * derecha.z,
                             adelante.z * derecha.x - adelante.x * derecha.z,
                             -adelante.y * derecha.x};
    // The picture follows the pointer, so the target moves against it.
    objetivo_.x += (-derecha.x * dx + arriba.x * dy) * porPixel;
    objetivo_.y += (-derecha.y * dx + arriba.y * dy) * porPixel;
    objetivo_.z += (-derecha.z * dx + arriba.z * dy) * porPixel;
    Movido();
}

void Navegacion::Avanzar(double segundos) {
    if (girando_)
        angulo_ = AvanzarAngulo(angulo_, GIRO_POR_SEGUNDO * segundos);
}

D3DXVECTOR3 Navegacion::Ojo() const {
    if (inicial_)
        return {objetivo_.x, objetivo_.y, objetivo_.z - DISTANCIA_OJO};
    const float ce = std::cos(elevacion_);
    return {objetivo_.x + distancia_ * std::sin(acimut_) * ce,
            objetivo_.y + distancia_ * std::sin(elevacion_),
            objetivo_.z - distancia_ * std::cos(acimut_) * ce};
}

void Navegacion::Planos(float& cerca, float& lejos) const {
    if (inicial_) {
        cerca = PLANO_CERCANO, lejos = PLANO_LEJANO;
        return;
    }
    const D3DXVECTOR3 ojo = Ojo();
    const float e = Longitud({ojo.x - limite_.X, ojo.y - limite_.Y, ojo.z - limite_.Z});
    PlanosEsfera(e, limite_.Radio, cerca, lejos);
    // A pan may bring the eye to the sphere's centre; the projection needs a near plane all the
    // same.
    cerca = std::max(cerca, 0.01f);
    lejos = std::max(lejos, cerca * 2);
}

HRESULT Navegacion::Aplicar(dxDevice8& dispositivo, int ancho, int alto) const {
    if (!hayObjetivo_)
        return D3D_OK;
    HRESULT r = D3D_OK;
    if (inicial_) {
        r = SetProyeccionVisor(dispositivo, ancho, alto);
    } else {
        float cerca = 0, lejos = 0;
        Planos(cerca, lejos);
        const float proporcion = float(std::max(ancho, 1)) / float(std::max(alto, 1));
        r = dispositivo.SetProyeccion(cerca, lejos, proporcion, CAMPO_VISION);
    }
    const D3DXVECTOR3 ojo = Ojo();
    if (r == D3D_OK)
        r = dispositivo.SetOjo(ojo.x, ojo.y, ojo.z);
    return r != D3D_OK ? r : dispositivo.SetObjetivo(objetivo_.x, objetivo_.y, objetivo_.z);
}
