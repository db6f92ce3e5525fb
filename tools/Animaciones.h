#pragma once
// `tr4tool animations`: every moveable's animations, what each does and whether it can be played.
#include "trObjetos.h"

#include <cstdint>
#include <optional>
#include <ostream>
#include <string>

// One JSON object: {"moveables": [{"id", "meshes", "animations": [...]}]}, each animation with
// its index in the level's list. Only the moveable with id `solo` when given.
void EscribirAnimacionesJson(const trObjetos& objetos, std::optional<uint32_t> solo,
                             std::ostream& salida);
// A readable table of the same.
void EscribirAnimacionesTexto(const trObjetos& objetos, std::optional<uint32_t> solo,
                              std::ostream& salida);

// 0 done; 1 when the level cannot be read or has no moveable `objeto` (given as typed), 2 for
// a malformed id; the reason on `errores`.
int ListarAnimaciones(const std::string& nivel, const std::string& objeto, bool json,
                      std::ostream& salida, std::ostream& errores);
