#pragma once
// A level's samples as 16-bit PCM: the WAVE each stores (plain PCM, MS-ADPCM or any other
// encoding libsndfile reads from a WAVE) decoded from memory, and PCM written back as a WAVE.
#include "Hecho.h"
#include "trNivel.h"
#include "trSonidos.h"

#include <cstdint>

// A sample decodes to at most this many bytes of PCM, and to at most this many times what it
// stores: the densest encoding a WAVE carries stays well below it, and a header that lies about
// its length does not turn into a huge allocation.
inline constexpr uint64_t MAXIMO_BYTES_PCM = uint64_t{64} << 20;
inline constexpr uint64_t RAZON_MAXIMA_PCM = 16;

// Decodes sample m of the level into pcm. Not done when it cannot be read; m is then marked
// unreadable with the same reason (it may have been listed as readable before decoding found out),
// and pcm is left empty. A compressed sample's stated uncompressed size must be its PCM's, bare
// or with a 44-byte WAVE header.
Hecho DecodificarMuestra(const trNivel& nivel, trMuestra& m, trPcm& pcm);

// Every sample of sonidos, each marked unreadable where it cannot be decoded; the PCM of each,
// empty for those. The count decoded.
uint32_t DecodificarMuestras(const trNivel& nivel, trSonidos& sonidos, std::vector<trPcm>* pcm);

// pcm as a 16-bit PCM WAVE file. Empty when it holds nothing to write or cannot be written.
trBytes WavePcm(const trPcm& pcm);
