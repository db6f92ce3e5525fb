#pragma once
// Picking by a ray into the scene's own geometry: the ray under a pixel, its first hit among
// triangles kept with what each belongs to, and the room sector a point of the level falls in.
// Plain math on the CPU, so that it is tested without a device and costs no read-back.
#include <glm/glm.hpp>

#include <cstdint>
#include <optional>
#include <vector>

struct trCuarto;

// Device axes (the level's y negated), as the scene's vertices.
struct Rayo {
    glm::vec3 Origen{0, 0, 0};
    glm::vec3 Direccion{0, 0, 1}; // unit length
};

// The ray from the eye through pixel (x, y) (from the top-left corner, pixel centres at .5) of an
// ancho x alto view drawn with this view and projection (row vectors as the device takes them,
// the same 16 floats in glm's order; depth 0..1).
Rayo RayoPorPixel(const glm::mat4& vista, const glm::mat4& proyeccion, float x, float y,
                  int ancho, int alto);

// What a face of the scene belongs to.
struct DuenioCara {
    enum class Tipo : uint8_t { Cuarto, Estatico, Item, Mesh };
    Tipo Clase = Tipo::Cuarto;
    // The room's number; the placement's index among the level's static placements; the item's
    // index in the level's item list; for an object's mesh, its place among the object's meshes.
    int32_t Indice = -1;
    int32_t Cuarto = -1; // the room that holds it (-1 for an object's mesh)
    uint16_t Grupo = 0;  // for the scene: which flip it shows with (a ClasesAlternas class)
    bool operator==(const DuenioCara&) const = default;
};

struct TrianguloElegible {
    float P[3][3] = {}; // corners, device axes, wound as drawn (clockwise in front)
    bool DobleCara = false;
};

// One owner's triangles, consecutive in GeometriaElegible::Triangulos, and the box round them.
struct ParteElegible {
    DuenioCara Duenio;
    uint32_t Primero = 0, Cuantos = 0;
    float Minimo[3] = {0, 0, 0}, Maximo[3] = {0, 0, 0};
};

struct GeometriaElegible {
    std::vector<TrianguloElegible> Triangulos;
    std::vector<ParteElegible> Partes;

    // Starts a new part for what follows when the owner changes.
    void Empezar(const DuenioCara& duenio);
    void Agregar(const TrianguloElegible& t);
    // Boxes of the parts; after the last Agregar.
    void Cerrar();
};

struct Acierto {
    uint32_t Parte = 0; // index in GeometriaElegible::Partes
    uint32_t Triangulo = 0;
    float Distancia = 0;
    glm::vec3 Punto{0, 0, 0}; // device axes
};

// The nearest triangle the ray meets from its front (or either side when double-sided), among
// the parts `incluir(parte)` admits. One-sided faces seen from behind are culled when drawn, so
// the ray passes through them.
template <class Filtro>
std::optional<Acierto> ElegirPrimero(const GeometriaElegible& g, const Rayo& rayo,
                                     Filtro incluir);
std::optional<Acierto> ElegirPrimero(const GeometriaElegible& g, const Rayo& rayo);

// Where the ray meets the triangle, as a distance along it; none when it misses, runs parallel
// or the face turns its back (unless doble).
std::optional<float> CortarTriangulo(const Rayo& rayo, const float (&p)[3][3], bool doble);
// The distance at which the ray enters the box (0 from inside); none when it misses.
std::optional<float> CortarCaja(const Rayo& rayo, const float (&minimo)[3],
                                const float (&maximo)[3]);

// A room's sector under a point of the level (its own axes, x and z), as the room data gives it.
struct SectorCuarto {
    int32_t X = 0, Z = 0; // sector column along x and row along z within the room
    uint16_t IndiceSuelo = 0;
    uint16_t Caja = 0; // box index word as stored
    uint8_t CuartoAbajo = 255, CuartoArriba = 255;
    int8_t Suelo = 0, Techo = 0; // in steps of 256 units, the level's y (down)
    int32_t AlturaSuelo() const { return int32_t(Suelo) * 256; }
    int32_t AlturaTecho() const { return int32_t(Techo) * 256; }
};
// None when the point lies outside the room's sector grid or the grid's bytes are short.
std::optional<SectorCuarto> SectorEn(const trCuarto& cuarto, double x, double z);

template <class Filtro>
std::optional<Acierto> ElegirPrimero(const GeometriaElegible& g, const Rayo& rayo,
                                     Filtro incluir) {
    std::optional<Acierto> mejor;
    for (uint32_t i = 0; i < g.Partes.size(); ++i) {
        const ParteElegible& p = g.Partes[i];
        if (!incluir(p))
            continue;
        const std::optional<float> entra = CortarCaja(rayo, p.Minimo, p.Maximo);
        if (!entra || (mejor && *entra > mejor->Distancia))
            continue;
        for (uint32_t t = p.Primero; t < p.Primero + p.Cuantos; ++t) {
            const TrianguloElegible& tri = g.Triangulos[t];
            const std::optional<float> d = CortarTriangulo(rayo, tri.P, tri.DobleCara);
            if (d && (!mejor || *d < mejor->Distancia))
                mejor = Acierto{i, t, *d,
                                {rayo.Origen.x + *d * rayo.Direccion.x,
                                 rayo.Origen.y + *d * rayo.Direccion.y,
                                 rayo.Origen.z + *d * rayo.Direccion.z}};
        }
    }
    return mejor;
}
