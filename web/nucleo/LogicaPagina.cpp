#include "LogicaPagina.h"

#include "ConvencionesNivel.h"
#include "Disparadores.h"
#include "EjesGLTF.h"
#include "LeerSectores.h"

#include <nlohmann/json.hpp>

#include <algorithm>
#include <cmath>
#include <sstream>

namespace {

using Json = nlohmann::ordered_json;

Json Superficie(const trSuperficieSector& s) {
    Json j;
    j["y"] = s.Y;
    // The two corners the cut joins (numbered as trDiagonal says); null when it is not cut.
    j["diagonal"] = s.Diagonal == trDiagonal::Esquinas1y2   ? Json{1, 2}
                    : s.Diagonal == trDiagonal::Esquinas0y3 ? Json{0, 3}
                                                            : Json(nullptr);
    j["portal_half"] = s.MitadPortal;
    j["slant"] = {s.InclinacionX, s.InclinacionZ};
    return j;
}

} // namespace

std::string LogicaPagina(const trLogica& l) {
    std::ostringstream registros;
    EscribirDisparadoresJson(l, registros);
    Json textos = Json::array();
    for (const trDisparador& d : l.Disparadores)
        textos.push_back(TextoDisparador(d));
    Json tipos, acciones;
    for (int t = 0; t < NUM_TIPOS_DISPARADOR; ++t)
        tipos[ClaveDisparador(uint8_t(t))] = NombreDisparador(uint8_t(t));
    for (int a = 0; a < NUM_TIPOS_ACCION; ++a)
        acciones[ClaveAccion(uint8_t(a))] = NombreAccion(uint8_t(a));
    // The records as the command line writes them, not read back and written again here.
    return "{\"logica\":" + registros.str() + ",\"textos\":" + textos.dump() +
           ",\"tipos\":" + tipos.dump() + ",\"acciones\":" + acciones.dump() + "}";
}

std::string SectorPagina(const trLogica& l, size_t cuarto, int64_t x, int64_t z, float escala) {
    if (cuarto >= l.Cuartos.size())
        return {};
    const trCuartoLogica& c = l.Cuartos[cuarto];
    if (x < 0 || z < 0 || x >= c.NumX || z >= c.NumZ)
        return {};
    const size_t indice = size_t(x) * c.NumZ + size_t(z);
    if (indice >= c.Sectores.size())
        return {};
    const trSector& s = c.Sectores[indice];
    Json j;
    j["room"] = cuarto;
    j["x"] = x;
    j["z"] = z;
    j["floor"] = Superficie(s.SueloS);
    j["ceiling"] = Superficie(s.TechoS);
    j["portal"] = s.Portal;
    j["room_below"] = s.CuartoAbajo == 255 ? -1 : int(s.CuartoAbajo);
    j["room_above"] = s.CuartoArriba == 255 ? -1 : int(s.CuartoArriba);
    j["kill"] = s.Muerte;
    j["climb"] = s.Trepar;
    j["monkey"] = s.Mono;
    j["trigger_triggerer"] = s.DisparaDisparador;
    j["beetle"] = s.Escarabajo;
    j["trigger"] = s.Disparador;
    j["trigger_text"] = s.Disparador >= 0 && size_t(s.Disparador) < l.Disparadores.size()
                            ? Json(TextoDisparador(l.Disparadores[size_t(s.Disparador)]))
                            : Json(nullptr);
    j["warnings"] = Json::array();
    for (const trAvisoSuelo& a : l.Avisos)
        if (a.Cuarto == cuarto && a.Sector == indice)
            j["warnings"].push_back(a.Texto);
    // From its floor to its ceiling, at least a little tall, for the page to frame it.
    const float x0 = PosicionSector(c.X, float(x)), z0 = PosicionSector(c.Z, float(z));
    const auto [sueloMin, sueloMax] = std::minmax_element(s.SueloS.Y.begin(), s.SueloS.Y.end());
    const auto techoMin = std::min_element(s.TechoS.Y.begin(), s.TechoS.Y.end());
    const float arriba = std::min(float(*techoMin), float(*sueloMin) - 256.0f);
    const glm::vec3 a = PuntoEnModelo({x0, float(*sueloMax), z0}, escala);
    const glm::vec3 b =
        PuntoEnModelo({x0 + float(LADO_SECTOR), arriba, z0 + float(LADO_SECTOR)}, escala);
    j["box"] = {{std::min(a.x, b.x), std::min(a.y, b.y), std::min(a.z, b.z)},
                {std::max(a.x, b.x), std::max(a.y, b.y), std::max(a.z, b.z)}};
    return j.dump();
}

std::string SectorEnPunto(const trLogica& l, size_t cuarto, double x, double z, float escala) {
    if (cuarto >= l.Cuartos.size() || !(escala > 0) || !std::isfinite(x) || !std::isfinite(z))
        return {};
    // The model's x is the level's negated; z is the same; both scaled.
    const double nx = -x / escala, nz = z / escala;
    const trCuartoLogica& c = l.Cuartos[cuarto];
    const double columna = CeldaSector(nx, c.X), fila = CeldaSector(nz, c.Z);
    if (!(columna >= 0 && fila >= 0 && columna < c.NumX && fila < c.NumZ))
        return {};
    return SectorPagina(l, cuarto, int64_t(columna), int64_t(fila), escala);
}
