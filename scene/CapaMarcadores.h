#pragma once
// Where the level's logic stands in space: each camera, sink, flyby camera and sound source as a
// small solid marker of its own colour, and each flyby sequence's path as a line through its
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
    // Half the marker's size, in level units (a sector is 1024).
    static constexpr float RADIO = 128;
    static constexpr uint32_t VERTICES_MARCADOR = 24;

    // Device axes. The markers' triangles first (`solidos` vertices), then the paths' segments,
    // each as a triangle with its last corner repeated, which a drawing in lines shows as one.
    static std::vector<VerticeEscena> Vertices(const trLogica& logica, uint32_t& solidos);
};
