#pragma once
// The level's logic over its picture: every trigger sector as a translucent tile on its floor,
// coloured by the trigger's type, and every kill sector red. Added over the scene's colours
// without writing depth, a little above the floor so the floor never hides it. The tiles as
// plain vertices; DibujoDisparadores draws them on a device.
#include "VerticeEscena.h"
#include "trSectores.h"

#include <cstdint>
#include <vector>

class CapaDisparadores {
  public:
    // What the tile of a sector adds (A8R8G8B8): its trigger type's colour, red where Lara dies
    // (over any trigger), nothing (0) for a sector that neither triggers nor kills.
    static uint32_t ColorSector(const trLogica& logica, const trSector& sector);
    static uint32_t ColorTipo(uint8_t tipo);
    static constexpr uint32_t ROJO_MUERTE = 0xFFC00000;
    // How far above its floor (level units) a tile floats.
    static constexpr float ALTURA = 16;

    // Two triangles a tile, device axes, untextured, class after class of the rooms as
    // ClasesAlternas(logica.Cuartos) makes them (the scene's own). hasta[c] is where class c's
    // vertices end.
    static std::vector<VerticeEscena> Vertices(const trLogica& logica,
                                               std::vector<uint32_t>& hasta);
};
