#pragma once
#include <cstdint>

namespace clasico {

// What differs between the three games' streams; everything else is laid out alike.
struct Disposicion {
    uint32_t verticeCuarto;    // bytes of a room vertex
    uint32_t luzCuarto;        // of a room light
    uint32_t estaticoCuarto;   // of a static placed in a room
    uint32_t ambiente;         // of the lighting fields between the sectors and the lights
    uint32_t colaCuarto;       // of the bytes after a room's flags
    uint32_t caja;             // of a box
    uint32_t filasZonas;       // rows of zones, each a word per box
    uint32_t item;             // of an item
    uint32_t mapaSonido;       // entries of the sound map
    bool paginas16;            // palettes after the version word, and 16-bit pages after the 8-bit
    bool texturasTrasAnimadas; // object textures after the animated textures, not the statics
};

constexpr Disposicion DISPOSICIONES[3] = {
    {8, 18, 18, 2, 0, 20, 6, 22, 256, false, false},
    {12, 24, 20, 6, 0, 8, 10, 24, 370, true, false},
    {12, 24, 20, 4, 3, 8, 10, 24, 370, true, true},
};

} // namespace clasico
