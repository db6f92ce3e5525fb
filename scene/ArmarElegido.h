#pragma once
// The mesh or object a person names by number, assembled, or the reason the level lacks it. One
// wording for every command and writer that takes such a number.
#include "Ensamblaje.h"

#include <cstdint>
#include <optional>
#include <string>

struct NivelAbierto;

enum class Elegido { Mesh, Movible, Estatico };

// `numero` is a mesh index, or a moveable's or static's id. Empty, with a one-line reason that
// names what the level does hold, when it is not there.
std::optional<Ensamblaje> ArmarElegido(const NivelAbierto& nivel, Elegido que, int64_t numero,
                                       std::string& motivo);
