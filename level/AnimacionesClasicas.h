#pragma once
#include "FlujoClasico.h"
#include "trNivel.h"

#include <cstdint>

namespace clasico {

// An animation record of these games: the fourth game's without its lateral speed and
// acceleration.
constexpr uint32_t BYTES_ANIMACION = 32;

// Fills n's animations and keyframes, as the fourth game lays them out, from the game's own
// records (`cuadros` is taken). Needs n's moveables, whose first keyframes are rewritten too.
// A refusal is f's.
void ConvertirAnimaciones(int juego, trBytes& cuadros, const trBytes& animaciones, trNivel& n,
                          Flujo& f);

} // namespace clasico
