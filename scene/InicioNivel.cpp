#include "InicioNivel.h"

#include "ConvencionesNivel.h"
#include "EscenaNivel.h"
#include "trObjetos.h"

#include <algorithm>
#include <cmath>

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
        r.Guinada = RadianesGiro<float>(uint16_t(item.Angulo));
        const float ax = std::sin(r.Guinada), az = std::cos(r.Guinada);
        // Device axes: the level's y negated, so up is +y.
        r.Pivote = {float(item.X), float(YEnDispositivo(item.Y)) + ALTURA_PECHO, float(item.Z)};
        float atras = DISTANCIA_DETRAS;
        const float sube = ALTURA_OJO - ALTURA_PECHO;
        if (escena) {
            // A room face between her and the eye would hide her: stop short of it. Faces are
            // one-sided, so the line is walked both ways: from her (walls facing her) and from
            // the eye (walls of the next room, facing it).
            const float largo = std::hypot(atras, sube);
            const glm::vec3 d{-ax * atras / largo, sube / largo, -az * atras / largo};
            auto cuartos = [](const ParteElegible& p) {
                return p.Duenio.Clase == DuenioCara::Tipo::Cuarto;
            };
            float libre = largo + 128;
            Rayo desdeElla{r.Pivote, d};
            if (const auto a = ElegirPrimero(escena->Geometria(), desdeElla, cuartos))
                libre = std::min(libre, a->Distancia);
            Rayo haciaElla{{r.Pivote.x + d.x * (largo + 128), r.Pivote.y + d.y * (largo + 128),
                            r.Pivote.z + d.z * (largo + 128)},
                           {-d.x, -d.y, -d.z}};
            if (const auto a = ElegirPrimero(escena->Geometria(), haciaElla, cuartos);
                a && a->Distancia < largo + 128)
                libre = std::min(libre, largo + 128 - a->Distancia);
            if (libre < largo + 128)
                atras *= std::max(libre - 128, 128.0f) / largo;
        }
        const float escala = atras / DISTANCIA_DETRAS;
        r.Ojo = {r.Pivote.x - ax * atras, r.Pivote.y + sube * escala, r.Pivote.z - az * atras};
        r.Cabeceo = -std::atan2(sube * escala, atras);
        return r;
    }
    return std::nullopt;
}
