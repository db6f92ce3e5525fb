#pragma once
// Where the level's logic stands in space: each camera, sink, flyby camera and sound source as a
// small solid marker of its own colour, each room's light as a smaller one of the light's
// colour, and each flyby sequence's path as a line through its
// cameras in the order they are flown. The markers as plain vertices; DibujoMarcadores draws
// them on a device, over everything.
#include "VerticeEscena.h"
#include "trSectores.h"

#include <cstdint>
#include <vector>

class CapaMarcadores {
  public:
    static constexpr uint32_t CIAN_CAMARA = 0xFF00C0C0, AZUL_SUMIDERO = 0xFF0040FF,
                              AMARILLO_VUELO = 0xFFE0C000, VERDE_SONIDO = 0xFF00C000;
    // A light the level gives no colour (black, which would not show on a dark room).
    static constexpr uint32_t BLANCO_LUZ = 0xFFFFF0C0;
    // Half the marker's size, in level units (a sector is 1024); a light's is smaller, to tell
    // it from the logic's own markers.
    static constexpr float RADIO = 128, RADIO_LUZ = 80;
    static constexpr uint32_t VERTICES_MARCADOR = 24;

    static uint32_t ColorLuz(const trLuzCuarto& luz);
    // Device axes. The markers' triangles first (`solidos` vertices: cameras, flyby cameras,
    // sound sources, then every room's lights in room order), then the paths' segments,
    // each as a triangle with its last corner repeated, which a drawing in lines shows as one.
    static std::vector<VerticeEscena> Vertices(const trLogica& logica, uint32_t& solidos);
};
