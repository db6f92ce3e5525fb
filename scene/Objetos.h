#pragma once
// `tr4tool objects`: every moveable and static of a level, in file order.
#include "trCuartos.h"
#include "trObjetos.h"

#include <ostream>
#include <string>

// One JSON object: "moveables" and "statics", a mesh index null where no record is named, and
// the placements' counts (the keys of PonerColocaciones).
void EscribirObjetosJson(const trObjetos& objetos, const trColocacionesCuartos& colocaciones,
                         std::ostream& salida);
// A readable table of the same.
void EscribirObjetosTexto(const trObjetos& objetos, const trColocacionesCuartos& colocaciones,
                          std::ostream& salida);

// "5 estáticos, 30 items; omitidos: ..." for the table of `info` and of `objects`.
std::string TextoColocaciones(const trColocacionesCuartos& c);
// statics_placed, items_placed, statics_skipped, items_skipped.
template <class Json> void PonerColocaciones(Json& j, const trColocacionesCuartos& c) {
    j["statics_placed"] = c.Estaticos;
    j["items_placed"] = c.Items;
    j["statics_skipped"] = c.EstaticosOmitidos;
    j["items_skipped"] = c.ItemsOmitidos;
}
