#include "Seleccion.h"

#include "ConvencionesNivel.h"
#include "trNivel.h"

#include <glm/glm.hpp>
#include <glm/gtc/type_ptr.hpp>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>

namespace {

glm::vec3 V(const glm::vec3& v) {
    return v;
}

} // namespace

Rayo RayoPorPixel(const glm::mat4& vista, const glm::mat4& proyeccion, float x, float y,
                  int ancho, int alto) {
    // Row-vector matrices read column-major are the column-vector ones GLM multiplies.
    const glm::mat4 vp = proyeccion * vista;
    const glm::mat4 inversa = glm::inverse(vp);
    const float nx = 2 * x / float(std::max(ancho, 1)) - 1;
    const float ny = 1 - 2 * y / float(std::max(alto, 1));
    glm::vec4 cerca = inversa * glm::vec4(nx, ny, 0, 1);
    glm::vec4 lejos = inversa * glm::vec4(nx, ny, 1, 1);
    Rayo r;
    if (cerca.w == 0 || lejos.w == 0)
        return r;
    const glm::vec3 a = glm::vec3(cerca) / cerca.w, b = glm::vec3(lejos) / lejos.w;
    glm::vec3 d = b - a;
    const float largo = glm::length(d);
    if (!(largo > 0) || !std::isfinite(largo))
        return r;
    d /= largo;
    // From the eye itself, so that nothing between it and the near plane is missed.
    const glm::vec3 ojo = glm::vec3(glm::inverse(vista)[3]);
    r.Origen = {ojo.x, ojo.y, ojo.z};
    r.Direccion = {d.x, d.y, d.z};
    return r;
}

void GeometriaElegible::Empezar(const DuenioCara& duenio) {
    if (!Partes.empty() && Partes.back().Duenio == duenio &&
        Partes.back().Primero + Partes.back().Cuantos == Triangulos.size())
        return;
    ParteElegible p;
    p.Duenio = duenio;
    p.Primero = uint32_t(Triangulos.size());
    Partes.push_back(p);
}

void GeometriaElegible::Agregar(const TrianguloElegible& t) {
    if (Partes.empty())
        Empezar({});
    Triangulos.push_back(t);
    ++Partes.back().Cuantos;
}

void GeometriaElegible::Cerrar() {
    for (ParteElegible& p : Partes) {
        constexpr float INF = std::numeric_limits<float>::infinity();
        glm::vec3 minimo(INF), maximo(-INF);
        for (uint32_t t = p.Primero; t < p.Primero + p.Cuantos; ++t)
            for (const auto& q : Triangulos[t].P) {
                minimo = glm::min(minimo, glm::make_vec3(q));
                maximo = glm::max(maximo, glm::make_vec3(q));
            }
        if (p.Cuantos == 0)
            minimo = maximo = glm::vec3(0);
        std::memcpy(p.Minimo, &minimo.x, sizeof p.Minimo);
        std::memcpy(p.Maximo, &maximo.x, sizeof p.Maximo);
    }
}

std::optional<Acierto> ElegirPrimero(const GeometriaElegible& g, const Rayo& rayo) {
    return ElegirPrimero(g, rayo, [](const ParteElegible&) { return true; });
}

std::optional<float> CortarTriangulo(const Rayo& rayo, const float (&p)[3][3], bool doble) {
    // Moller and Trumbore's test. A front face (clockwise as seen) has a positive determinant.
    const glm::vec3 a = glm::make_vec3(p[0]), b = glm::make_vec3(p[1]), c = glm::make_vec3(p[2]);
    const glm::vec3 d = V(rayo.Direccion), o = V(rayo.Origen);
    const glm::vec3 e1 = b - a, e2 = c - a;
    const glm::vec3 q = glm::cross(d, e2);
    const float det = glm::dot(e1, q);
    const float escala = glm::length(e1) * glm::length(e2);
    if (!(std::abs(det) > 1e-7f * escala) || (!doble && det < 0))
        return std::nullopt;
    const float inv = 1 / det;
    const glm::vec3 s = o - a;
    const float u = glm::dot(s, q) * inv;
    if (u < 0 || u > 1)
        return std::nullopt;
    const glm::vec3 r = glm::cross(s, e1);
    const float v = glm::dot(d, r) * inv;
    if (v < 0 || u + v > 1)
        return std::nullopt;
    const float t = glm::dot(e2, r) * inv;
    if (!(t > 0) || !std::isfinite(t))
        return std::nullopt;
    return t;
}

std::optional<float> CortarCaja(const Rayo& rayo, const float (&minimo)[3],
                                const float (&maximo)[3]) {
    const float o[3] = {rayo.Origen.x, rayo.Origen.y, rayo.Origen.z};
    const float d[3] = {rayo.Direccion.x, rayo.Direccion.y, rayo.Direccion.z};
    float entra = 0, sale = std::numeric_limits<float>::infinity();
    for (int k = 0; k < 3; ++k) {
        if (d[k] == 0) {
            if (o[k] < minimo[k] || o[k] > maximo[k])
                return std::nullopt;
            continue;
        }
        float t0 = (minimo[k] - o[k]) / d[k], t1 = (maximo[k] - o[k]) / d[k];
        if (t0 > t1)
            std::swap(t0, t1);
        entra = std::max(entra, t0);
        sale = std::min(sale, t1);
        if (entra > sale)
            return std::nullopt;
    }
    return entra;
}

std::optional<SectorCuarto> SectorEn(const trCuarto& cuarto, double x, double z) {
    // The grid counts along z first, then along x.
    const int64_t numZ = cuarto.DimensionSectores1, numX = cuarto.DimensionSectores2;
    const double sx = CeldaSector(x, double(int32_t(cuarto.Info[0])));
    const double sz = CeldaSector(z, double(int32_t(cuarto.Info[1])));
    if (!(sx >= 0 && sz >= 0 && sx < double(numX) && sz < double(numZ)))
        return std::nullopt;
    const size_t indice = size_t(int64_t(sz) + int64_t(sx) * numZ);
    constexpr size_t BYTES = 8;
    if ((indice + 1) * BYTES > cuarto.Sectores.size())
        return std::nullopt;
    const uint8_t* b = cuarto.Sectores.data() + indice * BYTES;
    SectorCuarto s;
    s.X = int32_t(sx);
    s.Z = int32_t(sz);
    s.IndiceSuelo = uint16_t(b[0] | b[1] << 8);
    s.Caja = uint16_t(b[2] | b[3] << 8);
    s.CuartoAbajo = b[4];
    s.Suelo = int8_t(b[5]);
    s.CuartoArriba = b[6];
    s.Techo = int8_t(b[7]);
    return s;
}
