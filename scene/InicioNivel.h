#pragma once
// Where the level view opens: where a player starts, behind Lara's start looking the way she
// faces, a few metres back and above; where a wall stands at her back, from higher or further
// round her, and only as a last resort nearer than that, in front of the wall.
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

// The first item of ID_LARA in a room the level has; none without one. With a scene, the eye
// looks at her chest from the first way round her that no room face cuts short; when every way
// is, from the one with the most room, in front of the face.
std::optional<InicioJugador> InicioEnLara(const trObjetos& objetos, size_t cuartos,
                                          const EscenaNivel* escena);
