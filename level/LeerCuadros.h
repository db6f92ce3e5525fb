#pragma once
// The frames array's keyframes, as a moveable's first pose and every animation read them: a
// bounding box, the root's offset and a turn for each mesh.
#include "Hecho.h"
#include "trNivel.h"
#include "trObjetos.h"

#include <cstdint>

// The keyframe at byte `inicio` of the frames array with a turn for each of `meshes`, its
// words bounded by `palabras` (0: by the array alone). Not done when it runs past a bound, the
// reason naming which; what could be read is left in `clave` and the rest of its turns are none.
Hecho LeerCuadroClave(const trNivel& nivel, uint64_t inicio, uint64_t palabras, uint32_t meshes,
                      trCuadroClave& clave);

// A frame's rotation word(s) at words[i...]: advances i past them. False, with giro untouched,
// when the words run out: which bound that was is LeerCuadroClave's to tell.
[[nodiscard]] bool LeerGiro(const uint8_t* palabras, uint64_t numPalabras, uint64_t& i,
                            trGiro& giro);
