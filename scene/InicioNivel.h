#pragma once
// Where the level view opens: where a player starts, behind Lara's start looking the way she
// faces, a few metres back and above, pulled in front of any wall behind her.
#include <glm/glm.hpp>

#include <cstdint>
#include <optional>

class EscenaNivel;
struct trObjetos;

struct InicioJugador {
    glm::vec3 Ojo{0, 0, 0}, Pivote{0, 0, 0}; // device axes; the pivot is at Lara's chest
    float Guinada = 0, Cabeceo = 0;             // as CamaraVuelo reads them
    int32_t Item = -1;                          // Lara's index in the item list
};

// How far behind and above her feet the eye stands (one sector is 1024 units, 2 m).
inline constexpr float DISTANCIA_DETRAS = 1536, ALTURA_OJO = 1024, ALTURA_PECHO = 512;

// The first item of ID_LARA in a room the level has; none without one. With a scene, the eye is
// brought in front of the first room face between her and it.
std::optional<InicioJugador> InicioEnLara(const trObjetos& objetos, size_t cuartos,
                                          const EscenaNivel* escena);
