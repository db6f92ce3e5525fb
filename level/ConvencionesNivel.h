#pragma once
// How the level's numbers become what is drawn: which page a face takes its texels from and where
// on it, how a rectangle is cut into triangles, the level's axes against the device's, the size of
// a sector, which way its turns go and how far, whether a room has light, and how a moveable's mesh
// tree is walked. The mesh conversion, the level scene, the view's counts and the export all read
// the format through these, so that each rule is written once and a mistake in one shows in all.
// Plain GLM; nothing here draws.
#include "trCuartos.h"
#include "trMesh.h"
#include "trNivel.h"
#include "trObjetos.h"

#include <glm/glm.hpp>
#include <glm/gtc/quaternion.hpp>

#include <array>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <numbers>
#include <vector>

// ---- Texture pages

// Texels along each side of a page.
constexpr int32_t LADO_PAGINA = 256;

// Object texture `indice` of the level; null past the last (such a face is drawn untextured).
inline const trTexturaObjeto* TexturaObjeto(const trNivel& nivel, uint32_t indice) {
    return indice < nivel.TexturasObjeto.size() ? &nivel.TexturasObjeto[indice] : nullptr;
}

// The page a face takes its texels from: rectangles name it by the whole tile field; on the
// textures triangles use, the tile's top bit is a flag, not part of the page.
constexpr uint32_t PaginaDeTextura(const trTexturaObjeto& t, bool triangulo) {
    return triangulo ? t.Tile & 0x7FFFu : t.Tile;
}

// A corner coordinate's texel on its page: its high byte (0..255).
constexpr int32_t TexelEsquina(uint16_t coordenada) {
    return coordenada >> 8;
}

// The same as a texture coordinate across the page, 0 at its left or top edge: what the device
// samples, and what the exported models carry (glTF's texture origin is the top left too).
inline float UVEsquina(uint16_t coordenada) {
    return float(TexelEsquina(coordenada)) / LADO_PAGINA;
}

// Corner `esquina` of an object texture as (u, v).
inline glm::vec2 UVDeEsquina(const trTexturaObjeto& t, int esquina) {
    return {UVEsquina(t.Esquinas[esquina].X), UVEsquina(t.Esquinas[esquina].Y)};
}

// What a face whose texture field is `textura` is drawn with, in a level of `paginas` pages: its
// object texture and page, or a null Objeto when it is drawn untextured (an object texture past
// the last, or a page the level lacks).
struct TexturaCara {
    const trTexturaObjeto* Objeto = nullptr;
    uint32_t Pagina = 0;
};
inline TexturaCara TexturaDeCara(const trNivel& nivel, uint32_t textura, bool triangulo,
                                 uint32_t paginas) {
    const trTexturaObjeto* t = TexturaObjeto(nivel, textura);
    if (!t || PaginaDeTextura(*t, triangulo) >= paginas)
        return {};
    return {t, PaginaDeTextura(*t, triangulo)};
}

// ---- Faces

// Whether a mesh face's corners all name vertices of its mesh; one that names a vertex past them
// is left out wherever faces are read.
template <size_t N> bool VerticesValidos(const uint16_t (&indices)[N], const trMesh& m) {
    for (uint16_t v : indices)
        if (v >= m.Vertices.size())
            return false;
    return true;
}

// A rectangle's corners go round it, and the game cuts it along the diagonal from corner 1 to
// corner 3. The device draws a four-cornered polygon as a strip, so its corners go to the strip in
// this order, and the strip's two triangles meet on that diagonal; cut along 0-2, a rectangle that
// is not flat folds the other way.
constexpr std::array<int, 4> TIRA_RECTANGULO = {0, 1, 3, 2};

// A face's corners as its triangles, three corner numbers each: a triangle's one, a rectangle's
// two, as the strip gives them wound the way the device draws them (the strip's second triangle
// has its first two corners swapped, so that both turn the same way). `contrario` winds each the
// other way, for a model whose front faces turn the other way round: the device's first triangle
// swaps its last two corners, and its second goes in the strip's own order. Entries past
// 3 * (lados - 2) are unused.
constexpr std::array<int, 6> EsquinasTriangulos(int lados, bool contrario = false) {
    std::array<int, 6> r{};
    for (int t = 0; t < lados - 2; ++t) {
        const int a = lados == 4 ? TIRA_RECTANGULO[size_t(t)] : t,
                  b = lados == 4 ? TIRA_RECTANGULO[size_t(t) + 1] : t + 1,
                  c = lados == 4 ? TIRA_RECTANGULO[size_t(t) + 2] : t + 2;
        const std::array<int, 3> propio =
            t % 2 == 0 ? std::array<int, 3>{a, b, c} : std::array<int, 3>{b, a, c};
        const std::array<int, 3> otro =
            t % 2 == 0 ? std::array<int, 3>{a, c, b} : std::array<int, 3>{a, b, c};
        for (size_t k = 0; k < 3; ++k)
            r[size_t(t) * 3 + k] = contrario ? otro[k] : propio[k];
    }
    return r;
}

// ---- Axes

// The level's y points down, the device's up; x and z are the same. Negated as an integer, so that
// -32768 survives and a level 0 stays +0.
constexpr int64_t YEnDispositivo(int64_t y) {
    return -y;
}

inline glm::vec3 EnDispositivo(const trVector16& v) {
    return {float(v.X), float(YEnDispositivo(v.Y)), float(v.Z)};
}

inline glm::vec3 EnDispositivo(const glm::vec3& nivel) {
    return {nivel.x, -nivel.y, nivel.z};
}

// A placement in the level's axes (turn, then position) as a device-axes world matrix (column
// vectors: the same 16 floats as the device's row-vector matrix).
glm::mat4 EnDispositivo(const glm::mat3& giro, const glm::vec3& posicion);

// ---- Sectors

// Level units along each side of a sector, the cell of a room's floor grid.
constexpr int32_t LADO_SECTOR = 1024;

// The column (x) or row (z) of a room's grid that holds `posicion`, the room's corner at `origen`;
// negative or past the grid for a point outside it.
inline double CeldaSector(double posicion, double origen) {
    return std::floor((posicion - origen) / LADO_SECTOR);
}

// Where `celdas` sectors along from the room's corner at `origen` lands, on x or z: a sector's
// near edge at a whole number, its middle at half past.
inline float PosicionSector(int32_t origen, float celdas) {
    return float(origen) + float(LADO_SECTOR) * celdas;
}

// ---- Turns

// A placement's angle for a full turn (statics and items, 16 bits).
constexpr int32_t VUELTA_GIRO = 65536;

// A placement's angle in radians. In the precision the caller works in, so that a float scene
// and a double export each keep their own rounding.
template <class T> T RadianesGiro(uint16_t angulo) {
    return T(angulo) * 2 * std::numbers::pi_v<T> / VUELTA_GIRO;
}

// The same in degrees, as people read it.
template <class T> T GradosGiro(uint16_t angulo) {
    return T(angulo) / VUELTA_GIRO * 360;
}

// A placement's turn about the level's y, right-handed in the level's axes as a frame's turns.
glm::mat3 GiroY(uint16_t angulo);

// A mesh's turn in a frame, in the level's axes: Ry * Rx * Rz for column vectors, so a vertex
// turns about z first, then x, then y; each right-handed.
glm::quat CuaternionGiro(const trGiro& g);

// ---- Room light

// Whether a room vertex's colour lets any light through: black on every channel draws its faces
// black whatever their texels.
constexpr bool ColorConLuz(uint16_t color) {
    return (color & 0x7FFF) != 0;
}

// Whether the level lights room `g` at all: some vertex of it is not black.
inline bool CuartoConLuz(const trGeometriaCuarto& g) {
    for (const trVerticeCuarto& v : g.Vertices)
        if (ColorConLuz(v.Color))
            return true;
    return false;
}

// ---- Mesh trees

// One node of a moveable's mesh tree, walked from mesh 1 with the parent starting as mesh 0: bit 0
// of its flags takes the parent back from the stack (pop), then bit 1 keeps the parent on it
// (push); the node hangs from the parent so found. false for a pop with nothing pushed, which
// keeps the parent.
bool PasoArbol(int32_t banderas, std::vector<int32_t>& pila, int32_t& padre);
