#pragma once
#include "Hecho.h"
#include "trNivel.h"

#include <cstddef>
#include <cstdint>

// Reads a level of Tomb Raider 5: the fourth game's version word, three compressed chunks of
// pages, then the level data uncompressed, its rooms laid out anew (float vertices, layers of
// faces), moveables and object textures a word longer. Fills nivel as a fourth-game level; when
// refused, the reason names the game and the section that could not be read, and nivel is left
// as it was.
Hecho LeerNivelTR5(const uint8_t* datos, size_t tamano, trNivel& nivel);
