#pragma once
// The level scene's vertices and runs as plain data: what a device loads and draws in a few
// batched calls, and what a page hands to its own renderer.
#include <cstdint>

// 28 bytes, laid out as the device's batches read them.
struct VerticeEscena {
    float X = 0, Y = 0, Z = 0; // world, device axes (the level's y negated)
    float U = 0, V = 0;
    uint32_t Pagina = 0;         // PAGINA_NINGUNA, or one past the pages: untextured
    uint32_t Color = 0xFFFFFFFF; // A8R8G8B8; modulates the texel, untextured faces take it alone
};
inline constexpr uint32_t PAGINA_NINGUNA = 0xFFFFFFFF;

// How a run's faces go over what is behind them.
enum class MezclaEscena : uint8_t {
    Opaca = 0,
    Recorte = 1,  // texels of alpha 0 are not drawn
    Aditiva = 2,  // added to what is behind, after every other run, depth not written
};

// A run of a triangle list among the scene's vertices.
struct TramoEscena {
    uint32_t Inicio = 0, Vertices = 0;
    bool DobleCara = false; // drawn from both sides; otherwise culled as the meshes are
    MezclaEscena Mezcla = MezclaEscena::Opaca;
};
