#pragma once
// `tr4tool objects`: every moveable and static of a level, in file order.
#include "trObjetos.h"

#include <ostream>

// One JSON object: "moveables" and "statics", a mesh index null where no record is named.
void EscribirObjetosJson(const trObjetos& objetos, std::ostream& salida);
// A readable table of the same.
void EscribirObjetosTexto(const trObjetos& objetos, std::ostream& salida);
