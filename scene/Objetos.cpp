#include "Objetos.h"

#include "Idioma.h"

#include <nlohmann/json.hpp>

#include <iomanip>
#include <string>

namespace {

nlohmann::json Indice(int32_t mesh) {
    return mesh < 0 ? nlohmann::json(nullptr) : nlohmann::json(mesh);
}

nlohmann::json Caja(const int16_t (&caja)[6]) {
    return nlohmann::json(std::vector<int16_t>(caja, caja + 6));
}

// "12-26" for a run of consecutive meshes, else the indices one by one; "-" for a missing one.
std::string ListaMeshes(const std::vector<int32_t>& meshes) {
    bool seguidas = !meshes.empty() && meshes.front() >= 0;
    for (size_t k = 1; k < meshes.size() && seguidas; ++k)
        seguidas = meshes[k] == meshes[k - 1] + 1;
    if (seguidas && meshes.size() > 2)
        return std::to_string(meshes.front()) + "-" + std::to_string(meshes.back());
    std::string texto;
    for (int32_t m : meshes)
        texto += (texto.empty() ? "" : " ") + (m < 0 ? std::string("-") : std::to_string(m));
    return texto;
}

} // namespace

std::string TextoColocaciones(const trColocacionesCuartos& c) {
    return Formatear(Traducir("%s estáticos, %s items (omitidos: %s estáticos, %s items)"),
                     {std::to_string(c.Estaticos), std::to_string(c.Items),
                      std::to_string(c.EstaticosOmitidos), std::to_string(c.ItemsOmitidos)});
}

void EscribirObjetosJson(const trObjetos& objetos, const trColocacionesCuartos& colocaciones,
                         std::ostream& salida) {
    nlohmann::json movibles = nlohmann::json::array(), estaticos = nlohmann::json::array();
    for (const trMovible& m : objetos.Movibles) {
        nlohmann::json meshes = nlohmann::json::array();
        for (int32_t k : m.Meshes)
            meshes.push_back(Indice(k));
        // A mesh past the pointers was never read: it names nothing.
        for (size_t k = m.Meshes.size(); k < m.NumMeshes; ++k)
            meshes.push_back(nullptr);
        movibles.push_back(
            {{"id", m.Id},
             {"meshes", meshes},
             {"animation", m.Animacion == trMovible::SIN_ANIMACION ? nlohmann::json(nullptr)
                                                                   : nlohmann::json(m.Animacion)},
             {"placed", m.Colocados},
             {"complete", m.Completo}});
    }
    for (const trEstatico& e : objetos.Estaticos)
        estaticos.push_back({{"id", e.Id},
                             {"mesh", Indice(e.Mesh)},
                             {"visibility_box", Caja(e.Visibilidad)},
                             {"collision_box", Caja(e.Colision)},
                             {"placed", e.Colocados}});
    nlohmann::json j{{"moveables", movibles}, {"statics", estaticos}};
    PonerColocaciones(j, colocaciones);
    salida << j.dump(2) << '\n';
}

void EscribirObjetosTexto(const trObjetos& objetos, const trColocacionesCuartos& colocaciones,
                          std::ostream& salida) {
    salida << Traducir("Movibles") << " (" << objetos.Movibles.size() << ")\n";
    salida << std::setw(8) << "id" << std::setw(8) << "meshes" << std::setw(11)
           << Traducir("animación") << std::setw(11) << Traducir("colocados") << "  "
           << Traducir("completo") << "  " << Traducir("índices de mesh") << '\n';
    for (const trMovible& m : objetos.Movibles) {
        const std::string animacion =
            m.Animacion == trMovible::SIN_ANIMACION ? "-" : std::to_string(m.Animacion);
        salida << std::setw(8) << m.Id << std::setw(8) << m.NumMeshes << std::setw(11) << animacion
               << std::setw(11) << m.Colocados << "  " << std::left << std::setw(8)
               << (m.Completo ? Traducir("sí") : Traducir("no")) << std::right << "  "
               << ListaMeshes(m.Meshes) << '\n';
    }
    salida << Traducir("Estáticos") << " (" << objetos.Estaticos.size() << ")\n";
    salida << std::setw(8) << "id" << std::setw(8) << "mesh" << std::setw(11)
           << Traducir("colocados") << "  " << Traducir("caja de visibilidad") << '\n';
    for (const trEstatico& e : objetos.Estaticos) {
        salida << std::setw(8) << e.Id << std::setw(8)
               << (e.Mesh < 0 ? std::string("-") : std::to_string(e.Mesh)) << std::setw(11)
               << e.Colocados << " ";
        for (int16_t v : e.Visibilidad)
            salida << ' ' << v;
        salida << '\n';
    }
    salida << Traducir("Colocaciones") << ": " << TextoColocaciones(colocaciones) << '\n';
}
