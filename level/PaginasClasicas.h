#pragma once
// The first three games' texture pages, turned into the fourth game's 32-bit ones.
#include "trNivel.h"

#include <cstdint>

namespace clasico {

// 32-bit pages (B, G, R, A per texel) from the 16-bit ones, whose top bit is opacity.
void Paginas16(const uint8_t* p, uint32_t paginas, trBytes& destino);

// From 8-bit pages through the first game's palette of 6-bit components; index 0 is see-through.
void Paginas8(const uint8_t* p, uint32_t paginas, const uint8_t* paleta, trBytes& destino);

// Coloured faces name a palette entry, not a texture. They are drawn from a page of their own,
// added after the others: 16 × 16 cells of one colour each.
void PaginaDeColores(const uint8_t colores[256][3], trBytes& destino);

// The object texture inside palette entry `indice`'s cell of that page.
trTexturaObjeto TexturaDeColor(uint16_t pagina, int indice);

} // namespace clasico
