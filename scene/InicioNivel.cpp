#include "InicioNivel.h"

#include "ConvencionesNivel.h"
#include "EscenaNivel.h"
#include "trObjetos.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace {

// Kept between the eye and the first room face along its line, so that the near plane stays
// clear of the wall.
constexpr float HOLGURA = 128;

// How far from `pivote` the eye may stand along `d` (unit) before a room face would hide her,
// up to largo + HOLGURA. Faces are one-sided, so the line is walked both ways: from her (walls
// facing her) and from the far end (walls of the next room, facing the eye).
float Libre(const EscenaNivel& escena, const glm::vec3& pivote, const glm::vec3& d,
            float largo) {
    auto cuartos = [](const ParteElegible& p) {
        return p.Duenio.Clase == DuenioCara::Tipo::Cuarto;
    };
    const float tope = largo + HOLGURA;
    float libre = tope;
    if (const auto a = ElegirPrimero(escena.Geometria(), Rayo{pivote, d}, cuartos))
        libre = std::min(libre, a->Distancia);
    const Rayo haciaElla{{pivote.x + d.x * tope, pivote.y + d.y * tope, pivote.z + d.z * tope},
                         {-d.x, -d.y, -d.z}};
    if (const auto a = ElegirPrimero(escena.Geometria(), haciaElla, cuartos); a && a->Distancia < tope)
        libre = std::min(libre, tope - a->Distancia);
    return libre;
}

// Where the eye may look from, in the order tried: straight behind her first, then higher over
// her shoulders, then further round to her sides; as the game's camera swings when a wall
// stands at her back. Turns are from behind her, right first; heights in radians.
constexpr std::array<float, 5> GIROS = {0, 0.6f, -0.6f, 1.3f, -1.3f};
constexpr std::array<float, 3> SUBIDAS = {0, 0.35f, 0.75f};

} // namespace

std::optional<InicioJugador> InicioEnLara(const trObjetos& objetos, size_t cuartos,
                                          const EscenaNivel* escena) {
    for (size_t i = 0; i < objetos.Items.size(); ++i) {
        const trItem& item = objetos.Items[i];
        if (item.Objeto != int16_t(ID_LARA) || item.Cuarto < 0 || size_t(item.Cuarto) >= cuartos)
            continue;
        InicioJugador r;
        r.Item = int32_t(i);
        // Her front is +z turned by her angle about the level's y; the device's x and z are the
        // level's, so the view's yaw is that same angle.
        const float suyo = RadianesGiro<float>(uint16_t(item.Angulo));
        // Device axes: the level's y negated, so up is +y.
        r.Pivote = {float(item.X), float(YEnDispositivo(item.Y)) + ALTURA_PECHO, float(item.Z)};
        const float sube = ALTURA_OJO - ALTURA_PECHO;
        const float largo = std::hypot(DISTANCIA_DETRAS, sube);
        const float elevacion = std::atan2(sube, DISTANCIA_DETRAS);
        // Without a scene nothing stands in the way.
        float giro = 0, alto = elevacion, distancia = largo;
        if (escena) {
            // The first way with the whole distance free; failing all, the one with the most
            // room, so that the eye never ends pressed against her back while another way
            // shows her whole.
            float mejor = -1;
            for (float g : GIROS) {
                for (float s : SUBIDAS) {
                    const float e = elevacion + s, y = suyo + g;
                    const glm::vec3 d{-std::sin(y) * std::cos(e), std::sin(e),
                                        -std::cos(y) * std::cos(e)};
                    const float libre = Libre(*escena, r.Pivote, d, largo);
                    if (libre > mejor + 1) {
                        mejor = libre;
                        giro = g, alto = e;
                    }
                    if (libre >= largo + HOLGURA)
                        break;
                }
                if (mejor >= largo + HOLGURA)
                    break;
            }
            if (mejor < largo + HOLGURA)
                distancia = std::max(mejor - HOLGURA, HOLGURA);
        }
        r.Guinada = suyo + giro;
        r.Cabeceo = -alto;
        const float atras = distancia * std::cos(alto);
        r.Ojo = {r.Pivote.x - std::sin(r.Guinada) * atras, r.Pivote.y + distancia * std::sin(alto),
                 r.Pivote.z - std::cos(r.Guinada) * atras};
        return r;
    }
    return std::nullopt;
}
