#pragma once
#include "trNivel.h"
#include "trSectores.h"

// How the last action of a trigger is marked. The levels mark it with bit 15 of the action word
// (or of a camera or flyby's extra word); the other reading, bit 15 meaning "another follows",
// is kept to show what a level looks like read that way.
enum class trFinAcciones : uint8_t { Bit15Ultima, Bit15Sigue };

// Every room's sectors with their floor data, the triggers, cameras, flyby cameras and sound
// sources of a parsed level. Never reads outside the floor data: a chain that runs past its end,
// does not end, or names a room, item, camera or flyby the level lacks is reported in Avisos for
// that sector and read as far as it is sound.
trLogica LeerLogica(const trNivel& nivel, trFinAcciones fin = trFinAcciones::Bit15Ultima);

// The sector of room `cuarto` under the point (x, z) of the world; null outside its grid.
const trSector* SectorEn(const trLogica& logica, size_t cuarto, double x, double z);

// Short names for the JSON and the people who read it: "portal", "trigger", "object"...
const char* ClaveFuncion(int funcion);
const char* ClaveDisparador(uint8_t tipo);
const char* ClaveAccion(uint8_t tipo);
// The same in the language in force, for people ("interruptor", "cámara"...).
const char* NombreDisparador(uint8_t tipo);
const char* NombreAccion(uint8_t tipo);

// "cuarto 3, x 1, z 2: its reason", in the language in force.
std::string TextoAviso(const trLogica& logica, const trAvisoSuelo& aviso);
// One trigger on one line for people: "interruptor, tiempo 0, máscara 31: palanca 1, ..."
std::string TextoDisparador(const trDisparador& d);
