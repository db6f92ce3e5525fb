#include "Animaciones.h"

#include "ArmarElegido.h"
#include "CargarNivel.h"
#include "CodigosSalida.h"
#include "Idioma.h"
#include "LeerAnimaciones.h"
#include "LeerMeshes.h"
#include "LeerObjetos.h"

#include <nlohmann/json.hpp>

#include <charconv>
#include <cstdio>
#include <iomanip>
#include <memory>

namespace {

const char* NombreComando(int16_t tipo) {
    switch (tipo) {
    case 1:
        return "position";
    case 2:
        return "jump";
    case 3:
        return "empty_hands";
    case 4:
        return "kill";
    case 5:
        return "sound";
    case 6:
        return "effect";
    default:
        return "unknown";
    }
}

nlohmann::json Comandos(const trAnimaciones& t, const trAnimacion& a) {
    nlohmann::json r = nlohmann::json::array();
    for (const trComandoAnimacion& c : ComandosDe(t, a))
        r.push_back({{"type", c.Tipo},
                     {"name", NombreComando(c.Tipo)},
                     {"args", std::vector<int16_t>(c.Argumentos, c.Argumentos + c.NumArgumentos)}});
    return r;
}

nlohmann::json Cambios(const trAnimaciones& t, const trAnimacion& a) {
    nlohmann::json r = nlohmann::json::array();
    for (const trCambioEstado& c : CambiosDe(t, a)) {
        nlohmann::json despachos = nlohmann::json::array();
        for (const trDespacho& d : DespachosDe(t, c))
            despachos.push_back({{"low_frame", d.Bajo},
                                 {"high_frame", d.Alto},
                                 {"next_animation", d.Siguiente},
                                 {"next_frame", d.CuadroSiguiente}});
        r.push_back({{"state", c.Estado}, {"dispatches", despachos}});
    }
    return r;
}

bool Incluido(const trMovible& m, std::optional<uint32_t> solo) {
    return !solo || m.Id == *solo;
}

std::string Segundos(uint32_t cuadros) {
    char texto[32];
    std::snprintf(texto, sizeof texto, "%.2f", cuadros / 30.0);
    return texto;
}

} // namespace

void EscribirAnimacionesJson(const trObjetos& objetos, std::optional<uint32_t> solo,
                             std::ostream& salida) {
    const trAnimaciones& t = objetos.Animaciones;
    nlohmann::json movibles = nlohmann::json::array();
    for (const trMovible& m : objetos.Movibles) {
        if (!Incluido(m, solo))
            continue;
        nlohmann::json lista = nlohmann::json::array();
        for (uint32_t i = m.Animacion; i < m.Animacion + m.NumAnimaciones; ++i) {
            const trAnimacion& a = t.Animaciones[i];
            lista.push_back(
                {{"index", i},
                 {"keyframes", a.Claves},
                 {"frame_rate", a.Tasa},
                 {"frame_size", a.TamanoCuadro},
                 {"first_frame", a.PrimerCuadro},
                 {"last_frame", a.UltimoCuadro},
                 {"frames",
                  a.Jugable() ? nlohmann::json(a.Duracion() + 1) : nlohmann::json(nullptr)},
                 {"next_animation", a.Siguiente},
                 {"next_frame", a.CuadroSiguiente},
                 {"state", a.Estado},
                 {"state_changes", Cambios(t, a)},
                 {"commands", Comandos(t, a)},
                 {"playable", a.Jugable()},
                 {"reason",
                  a.Jugable() ? nlohmann::json(nullptr) : nlohmann::json(ClaveMotivo(a.Motivo))},
                 {"next_broken", a.SiguienteRoto()},
                 {"next_reason", a.SiguienteRoto() ? nlohmann::json(ClaveMotivo(a.Enlace))
                                                   : nlohmann::json(nullptr)}});
        }
        movibles.push_back({{"id", m.Id}, {"meshes", m.NumMeshes}, {"animations", lista}});
    }
    salida << nlohmann::json{{"moveables", movibles}}.dump(2) << '\n';
}

void EscribirAnimacionesTexto(const trObjetos& objetos, std::optional<uint32_t> solo,
                              std::ostream& salida) {
    const trAnimaciones& t = objetos.Animaciones;
    for (const trMovible& m : objetos.Movibles) {
        if (!Incluido(m, solo))
            continue;
        uint32_t jugables = 0;
        for (uint32_t i = m.Animacion; i < m.Animacion + m.NumAnimaciones; ++i)
            jugables += t.Animaciones[i].Jugable();
        salida << Formatear(Traducir("Movible %s · %s meshes · %s animaciones (%s se pueden ver)"),
                            {std::to_string(m.Id), std::to_string(m.NumMeshes),
                             std::to_string(m.NumAnimaciones), std::to_string(jugables)})
               << '\n';
        if (m.NumAnimaciones == 0)
            continue;
        salida << std::setw(7) << Traducir("índice") << std::setw(7) << Traducir("claves")
               << std::setw(6) << Traducir("tasa") << std::setw(8) << Traducir("primero")
               << std::setw(8) << Traducir("último") << std::setw(8) << Traducir("cuadros")
               << std::setw(9) << Traducir("segundos") << std::setw(7) << Traducir("estado")
               << std::setw(10) << Traducir("siguiente") << std::setw(9) << Traducir("cambios")
               << std::setw(10) << Traducir("comandos") << '\n';
        for (uint32_t i = m.Animacion; i < m.Animacion + m.NumAnimaciones; ++i) {
            const trAnimacion& a = t.Animaciones[i];
            const bool si = a.Jugable();
            salida << std::setw(7) << i << std::setw(7) << (si ? std::to_string(a.Claves) : "-")
                   << std::setw(6) << int(a.Tasa) << std::setw(8) << a.PrimerCuadro << std::setw(8)
                   << a.UltimoCuadro << std::setw(8)
                   << (si ? std::to_string(a.Duracion() + 1) : "-") << std::setw(9)
                   << (si ? Segundos(a.Duracion() + 1) : "-") << std::setw(7) << a.Estado
                   << std::setw(10)
                   << (std::to_string(a.Siguiente) + ":" + std::to_string(a.CuadroSiguiente))
                   << std::setw(9) << CambiosDe(t, a).size() << std::setw(10)
                   << ComandosDe(t, a).size();
            if (!si)
                salida << "  " << TextoMotivo(a.Motivo);
            else if (a.SiguienteRoto())
                salida << "  " << Formatear(Traducir("se repite: %s"), {TextoMotivo(a.Enlace)});
            salida << '\n';
        }
    }
}

int ListarAnimaciones(const std::string& archivo, const std::string& objeto, bool json,
                      std::ostream& salida, std::ostream& errores) {
    std::optional<uint32_t> solo;
    if (!objeto.empty()) {
        uint32_t id = 0;
        const char* fin = objeto.data() + objeto.size();
        const auto [resto, error] = std::from_chars(objeto.data(), fin, id);
        if (error != std::errc() || resto != fin)
            return RechazarUso(errores, "tr4tool animations", "animations",
                               Hecho::Fallo("--object " + objeto + ": " +
                                            Traducir("se espera el id de un objeto (0, 1, 2...)")));
        solo = id;
    }
    auto nivel = std::make_unique<trNivel>();
    if (std::string motivo; !CargarNivel(archivo.c_str(), *nivel, &motivo))
        return Fallar(errores, "tr4tool: " + archivo, Hecho::Fallo(motivo));
    std::unique_ptr<Lista_Mesh> lista;
    LeerMeshes(nivel->DatosMesh.data(), static_cast<uint32_t>(nivel->DatosMesh.size()), lista);
    trObjetos objetos;
    LeerObjetos(*nivel, lista.get(), objetos);
    if (solo) {
        bool hay = false;
        for (const trMovible& m : objetos.Movibles)
            hay = hay || m.Id == *solo;
        if (!hay)
            return Fallar(errores, "tr4tool: " + archivo,
                          Hecho::Fallo(Traducir("no hay movible con id ") + std::to_string(*solo)));
    }
    if (json)
        EscribirAnimacionesJson(objetos, solo, salida);
    else
        EscribirAnimacionesTexto(objetos, solo, salida);
    return EXITO;
}
