#pragma once
#include "trNivel.h"

#include <cstddef>
#include <cstdint>
#include <string>

// Reads a level of Tomb Raider 1, 2 or 3 (`juego`): one uncompressed stream from the version word
// to its last byte, texture pages first. Fills nivel as a Tomb Raider 4 level is filled: pages of
// 32-bit texels, room vertices with 5:5:5 colours, 40-byte animations, keyframes with a rotation
// per mesh, 38-byte object textures, 24-byte items. 1 on success; 0 with a reason that names the
// game and the section that could not be read. nivel is written only on success.
[[nodiscard]] int LeerNivelClasico(int juego, const uint8_t* datos, size_t tamano, trNivel& nivel,
                                   std::string* motivo = nullptr);

// Reads a level of Tomb Raider 5: the fourth game's version word, three compressed chunks of
// pages, then the level data uncompressed, its rooms laid out anew (float vertices, layers of
// faces), moveables and object textures a word longer. Fills nivel as a fourth-game level.
[[nodiscard]] int LeerNivelTR5(const uint8_t* datos, size_t tamano, trNivel& nivel,
                               std::string* motivo = nullptr);

// The 5:5:5 colour a grey level of the first two games' rooms is drawn with: 0 the brightest,
// 8191 black, 16 per channel (the texel as painted) at 4096 and below.
uint16_t ColorDeLuzClasica(int16_t luz);
