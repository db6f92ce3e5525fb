#pragma once
#include <cstdint>
#include <optional>
#include <vector>

// The records below overlay the mesh data's file bytes exactly; their sizes are part of the format.
struct trVector16 {
    int16_t X = 0, Y = 0, Z = 0;
};
struct trRectanguloTex {
    uint16_t Vertices[4] = {}; // corners, indices into the mesh's vertices
    uint16_t Textura = 0;      // index of an object texture of the level
    uint16_t Extra = 0;
};
struct trTrianguloTex {
    uint16_t Vertices[3] = {};
    uint16_t Textura = 0;
    uint16_t Extra = 0;
};
static_assert(sizeof(trVector16) == 6 && sizeof(trRectanguloTex) == 12 &&
              sizeof(trTrianguloTex) == 10);

// One mesh as stored in the level. A count is kept as the file gives it, but an array whose bytes
// the data did not hold stays empty: readers go by the array's size, never by the count.
struct trMesh {
    uint32_t Inicio = 0; // byte offset of the record in the mesh data: what a mesh pointer names
    int16_t CentroX = 0, CentroY = 0, CentroZ = 0;
    uint32_t Radio = 0;
    int16_t NumVertices = 0;
    std::vector<trVector16> Vertices;
    int16_t NumNormales = 0; // positive: normals follow; negative: that many lights
    std::vector<trVector16> Normales;
    std::vector<int16_t> Luces;
    int16_t NumRectangulos = 0;
    std::vector<trRectanguloTex> Rectangulos;
    int16_t NumTriangulos = 0;
    std::vector<trTrianguloTex> Triangulos;
    std::optional<uint16_t> Alineacion; // present when the record needed padding to 4 bytes
};
