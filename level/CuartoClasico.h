#pragma once
#include "DisposicionClasica.h"
#include "FlujoClasico.h"
#include "trNivel.h"

#include <string>

namespace clasico {

// A room of the first three games, its vertices, lights and statics rewritten as the fourth
// game's; `quien` names it in a refusal.
void LeerCuarto(Flujo& f, const Disposicion& d, int juego, trCuarto& c, const std::string& quien);

// The fewest bytes a room can take: every count present, every array empty.
constexpr uint64_t BYTES_MINIMOS_CUARTO = 16 + 4 + 2 + 4 + 2 + 2 + 2 + 2 + 4;

} // namespace clasico
