#pragma once
// The mesh or object a person names by number, assembled, or the reason the level lacks it. One
// wording for every command and writer that takes such a number.
#include "Elegido.h"
#include "Ensamblaje.h"
#include "Hecho.h"

#include <cstdint>
#include <string>

struct NivelAbierto;

// `que` a mesh, moveable or static; `numero` its index or id, assembled into `armado`. Not done,
// `armado` untouched, with a one-line reason that names what the level does hold, when it is not
// there.
Hecho ArmarElegido(const NivelAbierto& nivel, Elegido que, int64_t numero, Ensamblaje& armado);

// The moveable with id `numero`, wearing the meshes of the moveable with id `meshesDe` when that
// is not negative (see ConMeshesDe), into `movible`. Not done, `movible` untouched, with a one-line
// reason, when either is missing or the lender's mesh count differs.
Hecho MovibleElegido(const NivelAbierto& nivel, int64_t numero, int64_t meshesDe,
                     trMovible& movible);

// Done when `animacion` (an index in the level's list) is one of the moveable's own and can be
// played; else the reason, naming the moveable's range.
Hecho AnimacionJugable(const NivelAbierto& nivel, const trMovible& movible, int64_t animacion);

// Why an animation cannot be played, in the user's language; "" when it can.
std::string TextoMotivo(trMotivoAnimacion motivo);
