#include "Disparadores.h"

#include "CargarNivel.h"
#include "CodigosSalida.h"
#include "Idioma.h"
#include "LeerSectores.h"

#include <nlohmann/json.hpp>

#include <algorithm>
#include <iterator>
#include <memory>

namespace {

using Json = nlohmann::ordered_json;

bool EsTriangulo(int f, bool suelo) {
    if (f < 7 || f > 18)
        return false;
    const bool deSuelo = f == 7 || f == 8 || (f >= 11 && f <= 14);
    return deSuelo == suelo;
}

Json Funciones(const trLogica& l) {
    uint32_t suelo = 0, techo = 0;
    for (int f = 7; f <= 18; ++f)
        (EsTriangulo(f, true) ? suelo : techo) += l.Funciones[size_t(f)];
    Json j;
    j["portal"] = l.Funciones[1];
    j["floor_slant"] = l.Funciones[2];
    j["ceiling_slant"] = l.Funciones[3];
    j["floor_triangles"] = suelo;
    j["ceiling_triangles"] = techo;
    j["kill"] = l.Funciones[5];
    j["climb"] = l.Funciones[6];
    j["monkey"] = l.Funciones[19];
    j["trigger"] = l.Funciones[4];
    j["trigger_triggerer"] = l.Funciones[20];
    j["beetle"] = l.Funciones[21];
    return j;
}

// The item a switch or key trigger's first action names is the switch or keyhole itself.
const char* Papel(const trDisparador& d, size_t k) {
    if (k != 0 || d.Item < 0)
        return nullptr;
    return d.Tipo == uint8_t(trTipoDisparador::Llave) ? "keyhole" : "switch";
}

} // namespace

void EscribirDisparadoresJson(const trLogica& l, std::ostream& salida) {
    Json j;
    j["sectors"] = l.Sectores;
    j["sectors_with_floor_data"] = l.SectoresConDatos;
    j["functions"] = Funciones(l);
    j["triggers"] = Json::array();
    for (const trDisparador& d : l.Disparadores) {
        Json t;
        t["room"] = d.Cuarto;
        t["x"] = d.X;
        t["z"] = d.Z;
        t["type"] = ClaveDisparador(d.Tipo);
        t["timer"] = d.Tiempo;
        t["one_shot"] = d.UnaVez;
        t["mask"] = d.Mascara;
        t["actions"] = Json::array();
        for (size_t k = 0; k < d.Acciones.size(); ++k) {
            const trAccion& a = d.Acciones[k];
            Json o;
            o["action"] = ClaveAccion(a.Tipo);
            o["parameter"] = a.Parametro;
            if (a.ConExtra) {
                if (a.Tipo == uint8_t(trTipoAccion::Camara))
                    o["timer"] = a.Tiempo();
                o["once"] = a.UnaVez();
                o["word"] = a.Extra;
            }
            if (const char* papel = Papel(d, k))
                o["role"] = papel;
            t["actions"].push_back(o);
        }
        j["triggers"].push_back(t);
    }
    j["cameras"] = l.Camaras.size();
    j["flyby_cameras"] = l.CamarasVuelo.size();
    j["sound_sources"] = l.FuentesSonido.size();
    j["rooms"] = Json::array();
    for (size_t i = 0; i < l.Cuartos.size(); ++i) {
        const trCuartoLogica& c = l.Cuartos[i];
        j["rooms"].push_back({{"index", i},
                              {"flags", c.Banderas},
                              {"water", c.Agua()},
                              {"alternate", c.Alterno},
                              {"alternate_group", c.GrupoAlterno}});
    }
    j["warnings"] = Json::array();
    for (const trAvisoSuelo& a : l.Avisos) {
        const uint16_t numZ = a.Cuarto < l.Cuartos.size() ? l.Cuartos[a.Cuarto].NumZ : 0;
        Json w;
        w["room"] = a.Cuarto;
        w["x"] = numZ ? a.Sector / numZ : 0;
        w["z"] = numZ ? a.Sector % numZ : 0;
        w["text"] = a.Texto;
        j["warnings"].push_back(w);
    }
    salida << j.dump(2) << '\n';
}

void EscribirDisparadoresTexto(const trLogica& l, std::ostream& salida) {
    salida << Formatear(Traducir("Sectores: %s, %s con datos de suelo"),
                        {std::to_string(l.Sectores), std::to_string(l.SectoresConDatos)})
           << '\n';
    const Json f = Funciones(l);
    salida << Traducir("Funciones:");
    const std::pair<const char*, const char*> nombres[] = {
        {"portal", PorTraducir("portal")},
        {"floor_slant", PorTraducir("suelo inclinado")},
        {"ceiling_slant", PorTraducir("techo inclinado")},
        {"floor_triangles", PorTraducir("suelo en triángulos")},
        {"ceiling_triangles", PorTraducir("techo en triángulos")},
        {"kill", PorTraducir("muerte")},
        {"climb", PorTraducir("trepar")},
        {"monkey", PorTraducir("mono")},
        {"trigger", PorTraducir("disparador")},
        {"trigger_triggerer", PorTraducir("disparador diferido")},
        {"beetle", PorTraducir("escarabajo")}};
    for (size_t k = 0; k < std::size(nombres); ++k)
        salida << (k ? ", " : " ") << Traducir(nombres[k].second) << ' '
               << f[nombres[k].first].get<uint32_t>();
    salida << '\n';
    salida << Formatear(Traducir("Disparadores: %s"), {std::to_string(l.Disparadores.size())})
           << '\n';
    for (const trDisparador& d : l.Disparadores)
        salida << "  "
               << Formatear(Traducir("cuarto %s, x %s, z %s: %s"),
                            {std::to_string(d.Cuarto), std::to_string(d.X), std::to_string(d.Z),
                             TextoDisparador(d)})
               << '\n';
    salida << Formatear(Traducir("Cámaras: %s; cámaras de vuelo: %s (%s secuencias); fuentes de "
                                 "sonido: %s"),
                        {std::to_string(l.Camaras.size()), std::to_string(l.CamarasVuelo.size()),
                         std::to_string(std::count_if(l.Secuencias.begin(), l.Secuencias.end(),
                                                      [](const auto& s) { return !s.empty(); })),
                         std::to_string(l.FuentesSonido.size())})
           << '\n';
    std::string agua, alternos;
    for (size_t i = 0; i < l.Cuartos.size(); ++i) {
        const trCuartoLogica& c = l.Cuartos[i];
        if (c.Agua())
            agua += (agua.empty() ? " " : ", ") + std::to_string(i);
        if (c.Alterno >= 0)
            alternos += (alternos.empty() ? " " : ", ") +
                        Formatear(Traducir("%s por %s (grupo %s)"),
                                  {std::to_string(i), std::to_string(c.Alterno),
                                   std::to_string(c.GrupoAlterno)});
    }
    salida << Traducir("Cuartos con agua:") << (agua.empty() ? " -" : agua) << '\n';
    salida << Traducir("Cuartos alternos:") << (alternos.empty() ? " -" : alternos) << '\n';
    if (!l.Avisos.empty()) {
        salida << Formatear(Traducir("Avisos: %s"), {std::to_string(l.Avisos.size())}) << '\n';
        for (const trAvisoSuelo& a : l.Avisos)
            salida << "  " << TextoAviso(l, a) << '\n';
    }
}

int ListarDisparadores(const std::string& archivo, bool json, std::ostream& salida,
                       std::ostream& errores) {
    auto nivel = std::make_unique<trNivel>();
    if (std::string motivo; !CargarNivel(archivo.c_str(), *nivel, &motivo))
        return Fallar(errores, "tr4tool: " + archivo, Hecho::Fallo(motivo));
    const trLogica logica = LeerLogica(*nivel);
    if (json)
        EscribirDisparadoresJson(logica, salida);
    else
        EscribirDisparadoresTexto(logica, salida);
    return EXITO;
}
