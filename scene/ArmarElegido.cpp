#include "ArmarElegido.h"

#include "Idioma.h"
#include "NivelAbierto.h"

#include <climits>
#include <vector>

namespace {

std::string RangoDeMeshes(int32_t cantidad) {
    return cantidad <= 0
               ? Traducir("el nivel no tiene meshes")
               : Traducir("los índices válidos van de 0 a ") + std::to_string(cantidad - 1);
}

// The ids a level holds, for a reason that says which to ask for.
template <class T> std::string Ids(const std::vector<T>& objetos) {
    if (objetos.empty())
        return Traducir("el nivel no tiene ninguno");
    std::string ids = Traducir("los hay con id");
    for (size_t i = 0; i < objetos.size(); ++i) {
        if (i == 12) {
            ids += " ...";
            break;
        }
        ids += " " + std::to_string(objetos[i].Id);
    }
    return ids;
}

} // namespace

std::optional<Ensamblaje> ArmarElegido(const NivelAbierto& nivel, Elegido que, int64_t numero,
                                       std::string& motivo) {
    static const Lista_Mesh vacia;
    const Lista_Mesh& lista = nivel.Meshes ? *nivel.Meshes : vacia;
    const auto& objetos = nivel.Objetos;
    if (que == Elegido::Movible) {
        for (const trMovible& m : objetos.Movibles)
            if (m.Id == numero)
                return ArmarMovible(m, lista);
        motivo = Traducir("no hay movible con id ") + std::to_string(numero) + "; " +
                 Ids(objetos.Movibles);
        return {};
    }
    if (que == Elegido::Estatico) {
        for (const trEstatico& e : objetos.Estaticos)
            if (e.Id == numero)
                return ArmarEstatico(e, lista);
        motivo = Traducir("no hay estático con id ") + std::to_string(numero) + "; " +
                 Ids(objetos.Estaticos);
        return {};
    }
    if (numero < 0 || numero > INT32_MAX || !nivel.Mesh(int(numero))) {
        motivo = Traducir("no hay mesh ") + std::to_string(numero) + "; " +
                 RangoDeMeshes(nivel.Cantidad());
        return {};
    }
    return ArmarMesh(int32_t(numero), lista);
}
