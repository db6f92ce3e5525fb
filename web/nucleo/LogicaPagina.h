#pragma once
// The level's logic as the page lists and examines it, as JSON: the records `tr4tool triggers
// --json` writes, with the texts people read beside them, and one sector's floor data.
#include "trSectores.h"

#include <cstdint>
#include <string>

// {"logica": what `tr4tool triggers --json` writes, "textos": each trigger on one line,
//  "tipos": {key: name}, "acciones": {key: name}} (names in the language in force).
std::string LogicaPagina(const trLogica& logica);

// Sector (x, z) of room `cuarto`: its floor data as the window's details list it, with its box
// in the page's model axes (`escala` model units per level unit). Empty when there is none.
std::string SectorPagina(const trLogica& logica, size_t cuarto, int64_t x, int64_t z, float escala);

// The sector of room `cuarto` under the model point (x, any height, z), as SectorPagina; empty
// when the point is outside the room's grid.
std::string SectorEnPunto(const trLogica& logica, size_t cuarto, double x, double z, float escala);
