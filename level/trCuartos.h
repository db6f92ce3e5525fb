#pragma once
// The geometry of a level's rooms as plain records read from their raw arrays, and how many of
// the level's placements can be drawn. Level axes (y down), world coordinates; nothing here draws.
#include <algorithm>
#include <cstdint>
#include <vector>

struct trVerticeCuarto {
    int32_t X = 0, Y = 0, Z = 0; // the room's origin already added to x and z
    uint16_t Color = 0;          // 5:5:5, red in bits 10-14
};

// How a room vertex's colour lights its texture on one channel (shift 10 red, 5 green, 0 blue),
// 1 being the texel as painted. Half the 5-bit range is the texture's own brightness: the real
// levels' rooms peak at 16 of 31, and read as 31 = full they showed at half their brightness,
// most of a level near black. What lies above 16 would brighten past the texel; drawing and
// export both stop at the texel.
inline float LuzCanal(uint16_t color, int desplazamiento) {
    return std::min(1.0f, float((color >> desplazamiento) & 31) / 16.0f);
}

struct trCaraCuarto {
    uint16_t Vertices[4] = {}; // the first Lados of them, indices into the room's vertices
    uint8_t Lados = 4;
    uint16_t Textura = 0; // object texture index (low 15 bits of the field)
    bool DobleCara = false;
};

struct trGeometriaCuarto {
    int32_t X = 0, Z = 0, YAbajo = 0, YArriba = 0;
    int16_t Alterno = -1; // the room that replaces this one when the level is flipped; -1 none
    std::vector<trVerticeCuarto> Vertices;
    // Rectangles first, then triangles, each with every vertex inside the room.
    std::vector<trCaraCuarto> Caras;
    // Faces kept of each kind, and faces dropped for naming a vertex the room lacks.
    uint32_t Rectangulos = 0, Triangulos = 0, Descartadas = 0;
    // Faces whose texture names no object texture of the level (drawn untextured).
    uint32_t SinTextura = 0;
};

// Placements the level makes that name what it lacks: a static id no static has, an item whose
// object id no moveable has, or a room past the level's rooms.
struct trColocacionesCuartos {
    uint32_t Estaticos = 0, Items = 0;                 // placements that can be drawn
    uint32_t EstaticosOmitidos = 0, ItemsOmitidos = 0; // skipped
};
