#include "EncuadreNivel.h"

#include "ConvencionesNivel.h"
#include "Encuadre.h"
#include "EscenaNivel.h"
#include "LeerCuartos.h"
#include "dxDevice8.h"

#include <algorithm>
#include <vector>

namespace {

// How high above the horizon the level is seen, in radians.
constexpr float ELEVACION = 0.7f;
// Of the picture's shorter half-side, how much the framed box may take.
constexpr float RELLENO_CAJA = 0.95f;

float Punto3(const PuntoVista& a, const PuntoVista& b) {
    return a[0] * b[0] + a[1] * b[1] + a[2] * b[2];
}

} // namespace

CajaCuartos CajaDeCuartos(const trNivel& nivel, const EscenaNivel& escena, int64_t soloCuarto) {
    CajaCuartos caja;
    const std::vector<trGeometriaCuarto> cuartos = LeerCuartos(nivel);
    bool algunoIluminado = false;
    for (size_t c = 0; c < cuartos.size(); ++c)
        algunoIluminado = algunoIluminado || escena.CuartoIluminado(int32_t(c));
    for (size_t c = 0; c < cuartos.size(); ++c) {
        if (soloCuarto >= 0 && size_t(soloCuarto) != c)
            continue;
        if (soloCuarto < 0 && algunoIluminado && !escena.CuartoIluminado(int32_t(c)))
            continue;
        for (const trVerticeCuarto& v : cuartos[c].Vertices) {
            const glm::vec3 d = EnDispositivo(glm::vec3(float(v.X), float(v.Y), float(v.Z)));
            const PuntoVista p{d.x, d.y, d.z};
            for (size_t k = 0; k < 3; ++k) {
                caja.minimo[k] = std::min(caja.minimo[k], p[k]);
                caja.maximo[k] = std::max(caja.maximo[k], p[k]);
            }
        }
    }
    return caja;
}

HRESULT EncuadrarCaja(dxDevice8& dispositivo, const CajaCuartos& caja, float angulo, int ancho,
                      int alto) {
    const PuntoVista centro{(caja.minimo[0] + caja.maximo[0]) / 2,
                            (caja.minimo[1] + caja.maximo[1]) / 2,
                            (caja.minimo[2] + caja.maximo[2]) / 2};
    // Forward, right and up of a left-handed camera whose up is +y.
    const float ce = std::cos(ELEVACION), se = std::sin(ELEVACION);
    const PuntoVista delante{-std::sin(angulo) * ce, -se, std::cos(angulo) * ce};
    const PuntoVista derecha{std::cos(angulo), 0, std::sin(angulo)};
    const PuntoVista arriba{-std::sin(angulo) * se, ce, std::cos(angulo) * se};
    const float proporcion = float(ancho) / float(alto);
    const float tanY = std::tan(CAMPO_VISION / 2) * RELLENO_CAJA, tanX = tanY * proporcion;
    float distancia = 1, cercano = INFINITY, lejano = -INFINITY;
    for (int i = 0; i < 8; ++i) {
        const PuntoVista esquina{i & 1 ? caja.maximo[0] : caja.minimo[0],
                                 i & 2 ? caja.maximo[1] : caja.minimo[1],
                                 i & 4 ? caja.maximo[2] : caja.minimo[2]};
        const PuntoVista v{esquina[0] - centro[0], esquina[1] - centro[1], esquina[2] - centro[2]};
        const float x = Punto3(v, derecha), y = Punto3(v, arriba), z = Punto3(v, delante);
        distancia = std::max({distancia, std::abs(x) / tanX - z, std::abs(y) / tanY - z});
        cercano = std::min(cercano, z);
        lejano = std::max(lejano, z);
    }
    const float margen = (lejano - cercano) * 0.02f + 1;
    const float lejos = distancia + lejano + margen;
    HRESULT r = dispositivo.SetProyeccion(std::max(distancia + cercano - margen, lejos / 10000),
                                          lejos, proporcion, CAMPO_VISION);
    if (SUCCEEDED(r))
        r = dispositivo.SetOjo(centro[0] - distancia * delante[0],
                               centro[1] - distancia * delante[1],
                               centro[2] - distancia * delante[2]);
    return SUCCEEDED(r) ? dispositivo.SetObjetivo(centro[0], centro[1], centro[2]) : r;
}

HRESULT EncuadrarDesde(dxDevice8& dispositivo, const Esfera& nivel, PuntoVista ojo,
                       PuntoVista objetivo, int ancho, int alto) {
    const float distancia = std::hypot(nivel.X - ojo[0], nivel.Y - ojo[1], nivel.Z - ojo[2]);
    const float lejos = distancia + std::max(nivel.Radio, 1.0f) * 1.05f;
    // From inside the level the near plane cannot follow the sphere; a few units keep depth
    // precision within what a 24-bit buffer resolves.
    const float cerca = std::max({distancia - nivel.Radio * 1.05f, 8.0f, lejos / 20000.0f});
    HRESULT r = dispositivo.SetProyeccion(cerca, lejos, float(ancho) / float(alto), CAMPO_VISION);
    // Straight up or down the camera's up direction is lost: lean the target a little.
    const float dx = objetivo[0] - ojo[0], dy = objetivo[1] - ojo[1], dz = objetivo[2] - ojo[2];
    if (std::hypot(dx, dz) < 1e-3f * std::abs(dy))
        objetivo[2] += 1e-3f * std::abs(dy);
    if (SUCCEEDED(r))
        r = dispositivo.SetOjo(ojo[0], ojo[1], ojo[2]);
    return SUCCEEDED(r) ? dispositivo.SetObjetivo(objetivo[0], objetivo[1], objetivo[2]) : r;
}
