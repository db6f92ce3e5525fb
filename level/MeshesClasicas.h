#pragma once
#include "FlujoClasico.h"
#include "trNivel.h"

#include <cstdint>
#include <utility>
#include <vector>

namespace clasico {

// One mesh record of these games: the fourth game's, with two lists more (coloured rectangles and
// triangles) and faces without the effects word. Every record is padded to a multiple of 4 bytes.
struct MeshesConvertidas {
    trBytes datos;
    std::vector<std::pair<uint32_t, uint32_t>> inicios; // old offset, new offset
    bool coloreadas = false;
};

// The mesh data rewritten as the fourth game's; coloured faces name object texture
// baseColores + their palette entry. A refusal is `error`'s.
bool ConvertirMeshes(const uint8_t* datos, uint32_t bytes, uint16_t baseColores, int juego,
                     MeshesConvertidas& r, Flujo& error);

// Where the mesh that started at byte `viejo` starts now; `fuera` when no mesh started there.
uint32_t NuevoDesplazamiento(const std::vector<std::pair<uint32_t, uint32_t>>& mapa, uint32_t viejo,
                             uint32_t fuera);

} // namespace clasico
