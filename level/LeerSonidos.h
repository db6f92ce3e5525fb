#pragma once
// Reading a level's sounds: the sound map, the sound details and the samples the file carries
// after the level data, each located and its WAVE header checked. Nothing here decodes or plays;
// the browser's core uses it as it is.
#include "trAnimaciones.h"
#include "trNivel.h"
#include "trSonidos.h"

#include <cstdint>
#include <vector>

// More samples than this are not located: real levels hold tens, and each record would cost
// memory a lying count could multiply.
inline constexpr uint32_t MAXIMO_MUESTRAS = 1u << 16;

// Fills sonidos from a loaded level. Never refuses: a sample that cannot be read is listed with
// its reason, and a map or details the level data could not hold are left empty.
void LeerSonidos(const trNivel& nivel, trSonidos& sonidos);

// The bytes of sample m within the file's tail (its stored size, as located).
inline const uint8_t* BytesMuestra(const trNivel& nivel, const trMuestra& m) {
    return nivel.Cola.data() + m.Posicion;
}

// The sound an id names: its details' index, or -1 when the map names none or a detail past
// the list.
int32_t DetalleDeSonido(const trSonidos& sonidos, uint32_t id);

// The level samples a sound picks from, in order; those past the level's samples are left out.
std::vector<uint32_t> MuestrasDeSonido(const trSonidos& sonidos, const trDetalleSonido& d);

// The sound ids the animation's sound commands play while it runs from game frame `desde` up to,
// not including, `hasta` (both counted from its first frame), in the order of its commands. A
// command's id is its low 14 bits; the top two say on land or in water, which a viewer ignores.
void SonidosEntre(const trAnimaciones& todas, uint32_t animacion, double desde, double hasta,
                  std::vector<uint16_t>& ids);

// A short key naming the fault, for JSON ("past_end"...); "" for none.
const char* ClaveFalla(trFallaMuestra falla);
