#include "CamaraVuelo.h"

#include "dxDevice8.h"

#include <algorithm>
#include <cmath>

namespace {

// However far one flies, the numbers stay far from a float overflow.
constexpr float COORDENADA_MAXIMA = 1e7f;

float Acotar(float v) {
    return std::clamp(v, -COORDENADA_MAXIMA, COORDENADA_MAXIMA);
}

} // namespace

D3DXVECTOR3 CamaraVuelo::Adelante() const {
    const float cc = std::cos(cabeceo_);
    return {std::sin(guinada_) * cc, std::sin(cabeceo_), std::cos(guinada_) * cc};
}

D3DXVECTOR3 CamaraVuelo::Objetivo() const {
    const D3DXVECTOR3 a = Adelante();
    return {ojo_.x + 1024 * a.x, ojo_.y + 1024 * a.y, ojo_.z + 1024 * a.z};
}

void CamaraVuelo::Encuadrar(const Esfera& vista, const Esfera& limite, int ancho, int alto) {
    esfera_ = limite;
    if (!std::isfinite(esfera_.Radio) || esfera_.Radio < 1)
        esfera_.Radio = 1;
    const float radio = std::isfinite(vista.Radio) ? std::max(vista.Radio, 1.0f) : 1.0f;
    guinada_ = 0;
    cabeceo_ = CABECEO_INICIAL;
    const float d = DistanciaAjuste(radio, ancho, alto);
    const D3DXVECTOR3 a = Adelante();
    ojo_ = {Acotar(vista.X - d * a.x), Acotar(vista.Y - d * a.y), Acotar(vista.Z - d * a.z)};
    pivote_ = {Acotar(vista.X), Acotar(vista.Y), Acotar(vista.Z)};
    velocidad_ = std::max(radio / 4, VELOCIDAD_INICIAL);
}

void CamaraVuelo::Situar(const D3DXVECTOR3& ojo, float guinada, float cabeceo,
                         const D3DXVECTOR3& pivote, const Esfera& limite) {
    if (!std::isfinite(ojo.x) || !std::isfinite(ojo.y) || !std::isfinite(ojo.z) ||
        !std::isfinite(guinada) || !std::isfinite(cabeceo) || !std::isfinite(pivote.x) ||
        !std::isfinite(pivote.y) || !std::isfinite(pivote.z))
        return;
    esfera_ = limite;
    if (!std::isfinite(esfera_.Radio) || esfera_.Radio < 1)
        esfera_.Radio = 1;
    ojo_ = {Acotar(ojo.x), Acotar(ojo.y), Acotar(ojo.z)};
    pivote_ = {Acotar(pivote.x), Acotar(pivote.y), Acotar(pivote.z)};
    guinada_ = std::remainder(guinada, 6.28318531f);
    cabeceo_ = std::clamp(cabeceo, -CABECEO_MAXIMO, CABECEO_MAXIMO);
    velocidad_ = VELOCIDAD_INICIAL;
}

void CamaraVuelo::Acercar(float pasos) {
    if (!std::isfinite(pasos))
        return;
    const D3DXVECTOR3 desde{ojo_.x - pivote_.x, ojo_.y - pivote_.y, ojo_.z - pivote_.z};
    const float d = std::hypot(desde.x, desde.y, desde.z);
    if (!(d > 0))
        return;
    // Kept within float range however far the wheel turns.
    const float nueva = std::clamp(d * std::pow(PASO_ZOOM, std::clamp(pasos, -100.f, 100.f)),
                                   DISTANCIA_MINIMA, COORDENADA_MAXIMA);
    const float k = nueva / d;
    ojo_ = {Acotar(pivote_.x + desde.x * k), Acotar(pivote_.y + desde.y * k),
            Acotar(pivote_.z + desde.z * k)};
}

void CamaraVuelo::Desplazar(float dx, float dy, int alto) {
    if (!std::isfinite(dx) || !std::isfinite(dy))
        return;
    const float d = std::max(
        std::hypot(ojo_.x - pivote_.x, ojo_.y - pivote_.y, ojo_.z - pivote_.z), 1.0f);
    // World units per pixel at the pivot's distance.
    const float k = 2 * d * std::tan(CAMPO_VISION / 2) / float(std::max(alto, 1));
    const D3DXVECTOR3 a = Adelante();
    const D3DXVECTOR3 derecha{std::cos(guinada_), 0, -std::sin(guinada_)};
    // up = forward x right, in these left-handed axes.
    const D3DXVECTOR3 arriba{a.y * derecha.z - a.z * derecha.y, a.z * derecha.x - a.x * derecha.z,
                             a.x * derecha.y - a.y * derecha.x};
    const D3DXVECTOR3 m{(-dx * derecha.x + dy * arriba.x) * k, (-dx * derecha.y + dy * arriba.y) * k,
                        (-dx * derecha.z + dy * arriba.z) * k};
    ojo_ = {Acotar(ojo_.x + m.x), Acotar(ojo_.y + m.y), Acotar(ojo_.z + m.z)};
    pivote_ = {Acotar(pivote_.x + m.x), Acotar(pivote_.y + m.y), Acotar(pivote_.z + m.z)};
}

void CamaraVuelo::Orbitar(float acimut, float elevacion, const D3DXVECTOR3& pivote) {
    if (!std::isfinite(acimut) || !std::isfinite(elevacion))
        return;
    const float d =
        std::max(std::hypot(ojo_.x - pivote.x, ojo_.y - pivote.y, ojo_.z - pivote.z), 1.0f);
    guinada_ = std::remainder(guinada_ + acimut, 6.28318531f);
    cabeceo_ = std::clamp(cabeceo_ + elevacion, -CABECEO_MAXIMO, CABECEO_MAXIMO);
    const D3DXVECTOR3 a = Adelante();
    ojo_ = {Acotar(pivote.x - d * a.x), Acotar(pivote.y - d * a.y), Acotar(pivote.z - d * a.z)};
    pivote_ = pivote;
}

void CamaraVuelo::Mover(float adelante, float lado, float arriba, float segundos, bool rapido) {
    if (!std::isfinite(adelante) || !std::isfinite(lado) || !std::isfinite(arriba) ||
        !std::isfinite(segundos))
        return;
    const float paso = velocidad_ * segundos * (rapido ? MULTIPLICADOR_RAPIDO : 1.0f);
    const D3DXVECTOR3 a = Adelante();
    // Left-handed with y up: right = up x forward, level.
    const D3DXVECTOR3 derecha{std::cos(guinada_), 0, -std::sin(guinada_)};
    ojo_.x = Acotar(ojo_.x + paso * (adelante * a.x + lado * derecha.x));
    ojo_.y = Acotar(ojo_.y + paso * (adelante * a.y + arriba));
    ojo_.z = Acotar(ojo_.z + paso * (adelante * a.z + lado * derecha.z));
}

void CamaraVuelo::Mirar(float dx, float dy) {
    if (!std::isfinite(dx) || !std::isfinite(dy))
        return;
    // Kept within one turn, so that float precision holds however long one looks around.
    guinada_ = std::remainder(guinada_ + dx * RADIANES_POR_PIXEL, 6.28318531f);
    cabeceo_ = std::clamp(cabeceo_ - dy * RADIANES_POR_PIXEL, -CABECEO_MAXIMO, CABECEO_MAXIMO);
}

void CamaraVuelo::SetVelocidad(float unidadesPorSegundo) {
    if (std::isfinite(unidadesPorSegundo) && unidadesPorSegundo > 0)
        velocidad_ = std::min(unidadesPorSegundo, COORDENADA_MAXIMA);
}

void CamaraVuelo::Planos(float& cerca, float& lejos) const {
    const float d = std::hypot(ojo_.x - esfera_.X, ojo_.y - esfera_.Y, ojo_.z - esfera_.Z);
    lejos = d + esfera_.Radio;
    // Rooms come within a few units of the eye while flying through them; a 16-bit depth
    // buffer (the off-screen surface's) still tells walls apart at a far/near ratio of a few
    // thousand.
    cerca = std::max(lejos / 4000, 1.0f);
    lejos = std::max(lejos, cerca * 2);
}

void CamaraVuelo::Matrices(int ancho, int alto, D3DXMATRIX& vista, D3DXMATRIX& proyeccion) const {
    float cerca = 0, lejos = 0;
    Planos(cerca, lejos);
    const float proporcion = float(std::max(ancho, 1)) / float(std::max(alto, 1));
    D3DXMatrixPerspectiveFovLH(&proyeccion, CAMPO_VISION, proporcion, cerca, lejos);
    const D3DXVECTOR3 o = Objetivo(), arriba{0, 1, 0};
    D3DXMatrixLookAtLH(&vista, &ojo_, &o, &arriba);
}

HRESULT CamaraVuelo::Aplicar(dxDevice8& dispositivo, int ancho, int alto) const {
    float cerca = 0, lejos = 0;
    Planos(cerca, lejos);
    const float proporcion = float(std::max(ancho, 1)) / float(std::max(alto, 1));
    HRESULT r = dispositivo.SetProyeccion(cerca, lejos, proporcion, CAMPO_VISION);
    const D3DXVECTOR3 o = Objetivo();
    if (r == D3D_OK)
        r = dispositivo.SetOjo(ojo_.x, ojo_.y, ojo_.z);
    return r != D3D_OK ? r : dispositivo.SetObjetivo(o.x, o.y, o.z);
}
