#pragma once
// How the level's numbers become what is drawn: which page a face takes its texels from and where
// on it, the level's axes against the device's, which way its turns go, and how a moveable's mesh
// tree is walked. The mesh conversion, the level scene, the view's counts and the export all read
// the format through these, so that each rule is written once and a mistake in one shows in all.
// Plain GLM; nothing here draws.
#include "trMesh.h"
#include "trNivel.h"
#include "trObjetos.h"

#include <glm/glm.hpp>
#include <glm/gtc/quaternion.hpp>

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

// ---- Faces

// Whether a mesh face's corners all name vertices of its mesh; one that names a vertex past them
// is left out wherever faces are read.
template <size_t N> bool VerticesValidos(const uint16_t (&indices)[N], const trMesh& m) {
    for (uint16_t v : indices)
        if (v >= m.Vertices.size())
            return false;
    return true;
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

// ---- Turns

// A placement's angle (statics and items) in radians: 65536 a full turn. In the precision the
// caller works in, so that a float scene and a double export each keep their own rounding.
template <class T> T RadianesGiro(uint16_t angulo) {
    return T(angulo) * 2 * std::numbers::pi_v<T> / 65536;
}

// A placement's turn about the level's y, right-handed in the level's axes as a frame's turns.
glm::mat3 GiroY(uint16_t angulo);

// A mesh's turn in a frame, in the level's axes: Ry * Rx * Rz for column vectors, so a vertex
// turns about z first, then x, then y; each right-handed.
glm::quat CuaternionGiro(const trGiro& g);

// ---- Mesh trees

// One node of a moveable's mesh tree, walked from mesh 1 with the parent starting as mesh 0: bit 0
// of its flags takes the parent back from the stack (pop), then bit 1 keeps the parent on it
// (push); the node hangs from the parent so found. false for a pop with nothing pushed, which
// keeps the parent.
bool PasoArbol(int32_t banderas, std::vector<int32_t>& pila, int32_t& padre);
