#pragma once
#include "trNivel.h"

#include <cstddef>
#include <cstdint>
#include <string>

// Loads a level file into nivel. 1 on success; 0 when the file cannot be opened or read safely,
// with a short reason in *motivo (Spanish, for the user). On failure nivel is left untouched.
[[nodiscard]] int CargarNivel(const char* archivo, trNivel& nivel, std::string* motivo = nullptr);

// The same from the file's bytes already in memory (tests, fuzzing, benchmarks).
[[nodiscard]] int CargarNivelDeMemoria(const uint8_t* datos, size_t tamano, trNivel& nivel,
                         std::string* motivo = nullptr);

// Parses nivel's inflated block 4 into its level-data fields. 0 (with a reason) when a read that
// the mesh data or the object textures depend on is refused; refusals after them are tolerated,
// as some real levels carry a longer sound map than the format's.
[[nodiscard]] int LeerNivel(trNivel& nivel, std::string* motivo = nullptr);

// A level file's first four bytes, little-endian: the version word each game writes there.
inline constexpr uint32_t VERSION_TR4 = 0x00345254;  // "TR4\0"; Tomb Raider 5's files too
inline constexpr uint32_t VERSION_TR4C = 0x63345254; // "TR4c": demo and protected levels

// The game whose levels start with `version`: 1, 2, 3 or 4; 0 for a word no game is known to
// write, and for "TR4c", which names no game of its own.
int JuegoDeVersion(uint32_t version);

// Files larger than this are refused before being read: the biggest real levels, sounds and all,
// stay far below it, and a file picked by mistake is not pulled whole into memory.
inline constexpr uint64_t MAXIMO_ARCHIVO_NIVEL = uint64_t{256} << 20;

// No block may inflate to more than this. A block's texture pages at this size would be a
// thousand pages, far beyond any level; without the cap a small file of highly compressible bytes
// could ask for gigabytes.
inline constexpr uint64_t MAXIMO_BLOQUE_INFLADO = uint64_t{256} << 20;
