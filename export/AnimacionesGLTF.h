#pragma once
// A moveable's animations as glTF animations: one per level animation, named after its index
// in the level's list, with a rotation and a translation channel on each of the object's mesh
// nodes, sampled at every keyframe and at the last frame, 1/30 s per game frame, LINEAR (glTF
// interpolates rotations spherically there, as the game does).
#include "Ensamblaje.h"
#include "Hecho.h"

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace tinygltf {
class Model;
}
struct NivelAbierto;

// What to export of a moveable: whose meshes it wears, and which of its animations.
struct AnimacionesElegidas {
    int64_t MeshesDe = -1;              // another moveable's id; -1: its own
    bool Todas = false;                 // every one of its animations that can be played
    std::vector<uint32_t> Animaciones;  // else these, by index in the level's list
    bool Hay() const { return MeshesDe >= 0 || Todas || !Animaciones.empty(); }
};

// The moveable with id `id`, as `elegidas` says, put into `modelo`: `objeto` adds its node tree
// (one node after its root per piece, in order) and returns the root's index; then its
// animations. Not done, with a one-line reason, when the moveable, the lender or an animation
// named cannot be had.
Hecho ExportarMovibleAnimado(
    const NivelAbierto& nivel, int64_t id, const AnimacionesElegidas& elegidas, float escala,
    tinygltf::Model& modelo,
    const std::function<int(const Ensamblaje&, const std::string&)>& objeto);

// "all", or indices separated by commas, as the command line takes them; not done when malformed.
Hecho LeerListaAnimaciones(const std::string& texto, AnimacionesElegidas& elegidas);
