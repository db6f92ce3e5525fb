#pragma once
#include "Hecho.h"
#include "trNivel.h"

#include <cstddef>
#include <cstdint>

// Reads a level of Tomb Raider 1, 2 or 3 (`juego`): one uncompressed stream from the version word
// to its last byte, texture pages first. Fills nivel as a Tomb Raider 4 level is filled: pages of
// 32-bit texels, room vertices with 5:5:5 colours, 40-byte animations, keyframes with a rotation
// per mesh, 38-byte object textures, 24-byte items. When refused, the reason names the game and
// the section that could not be read, and nivel is left as it was.
Hecho LeerNivelClasico(int juego, const uint8_t* datos, size_t tamano, trNivel& nivel);

// The 5:5:5 colour a grey level of the first two games' rooms is drawn with: 0 the brightest,
// 8191 black, 16 per channel (the texel as painted) at 4096 and below.
uint16_t ColorDeLuzClasica(int16_t luz);
