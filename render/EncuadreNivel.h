#pragma once
// How a picture of the whole level is framed where no window's camera is there to copy: from
// above, round the box of the rooms it shows, or from a camera a person gives. The command line's
// pictures of the level and of its rooms are framed so.
#include "Esfera.h"
#include "d3d8.h"

#include <array>
#include <cmath>
#include <cstdint>

class dxDevice8;
class EscenaNivel;
struct trNivel;

// A point in device axes (the level's y negated).
using PuntoVista = std::array<float, 3>;

// The box of the rooms' vertices in device axes: all of them, or one room's. Their box frames
// the level more tightly than its sphere: a level is wide and flat, and a sphere round a flat
// box is half as large again as the box seen from above.
struct CajaCuartos {
    PuntoVista minimo{INFINITY, INFINITY, INFINITY}, maximo{-INFINITY, -INFINITY, -INFINITY};
    bool Vacia() const { return !(minimo[0] <= maximo[0]); }
};

// Of the whole level, only the rooms the scene has lit, when there are any: a room the data
// leaves black frames nothing one can see.
CajaCuartos CajaDeCuartos(const trNivel& nivel, const EscenaNivel& escena, int64_t soloCuarto);

// The camera from above at a fixed height over the horizon (enough to look into rooms, whose
// ceilings face down and away, low enough to see walls stand), from the -z side turned by angulo
// about the vertical, as near the box's centre as lets its eight corners fit the picture; near and
// far planes at the box's nearest and farthest corners, so that what stands in front of a room
// framed alone is cut away.
[[nodiscard]] HRESULT EncuadrarCaja(dxDevice8& dispositivo, const CajaCuartos& caja, float angulo,
                                    int ancho, int alto);

// The camera a person gave, with planes that hold the whole level in front of it.
[[nodiscard]] HRESULT EncuadrarDesde(dxDevice8& dispositivo, const Esfera& nivel, PuntoVista ojo,
                                     PuntoVista objetivo, int ancho, int alto);
