#pragma once
// Reading a level's animations, state changes, dispatches and command stream, and which can be
// played: every record bounds-checked against its array, a reason for each that cannot.
#include "trNivel.h"
#include "trObjetos.h"

#include <vector>

// Fills objetos.Animaciones from the level, and each moveable's NumAnimaciones: a moveable's
// animations run from its first up to the next first animation among the moveables, the last
// to the end of the list. Each animation is given its owner, its keyframe count and, when it
// cannot be played, the reason. The moveables must have been read (LeerObjetos does both).
void LeerAnimaciones(const trNivel& nivel, trObjetos& objetos);

// The keyframe at byte `inicio` of the frames array with a turn for each of `meshes`, its
// words bounded by `palabras` (0: by the array alone). false when it runs past a bound; what
// could be read is left in `clave` and the rest of its turns are none.
[[nodiscard]] bool LeerCuadroClave(const trNivel& nivel, uint64_t inicio, uint64_t palabras,
                                   uint32_t meshes, trCuadroClave& clave);

// Byte offset of keyframe k of the animation in the frames array.
inline uint64_t InicioClave(const trAnimacion& a, uint32_t k) {
    return uint64_t{a.Cuadro} + uint64_t{k} * a.TamanoCuadro * 2;
}

// The animation's commands, read from the stream up to its end or an unknown command.
std::vector<trComandoAnimacion> ComandosDe(const trAnimaciones& todas, const trAnimacion& a);
// Its state changes that lie within the list.
std::vector<trCambioEstado> CambiosDe(const trAnimaciones& todas, const trAnimacion& a);
// A state change's dispatches that lie within the list.
std::vector<trDespacho> DespachosDe(const trAnimaciones& todas, const trCambioEstado& c);

// Where an animation goes on when it ends: the animation (its index in the list) and the game
// frame within it. The resume frame is held to the animation's range; past the end of an
// animation that takes the chain on to that one's own next, as the game would. false when the
// chain leaves the moveable, reaches one that cannot be played or runs on without end: the
// player then loops the animation itself.
bool SiguienteDe(const trAnimaciones& todas, uint32_t animacion, uint32_t& siguiente,
                 uint32_t& cuadro);

// A short English-free key naming the reason, for JSON ("no_frames"...); "" for none.
const char* ClaveMotivo(trMotivoAnimacion motivo);
