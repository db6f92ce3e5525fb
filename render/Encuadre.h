#pragma once
// How the viewer frames and draws a mesh: projection, camera on the mesh's centre, the turn and
// one frame. The window and the command line both use it, so a rendered picture matches the panel.
#include "Esfera.h"
#include "d3d8.h"

#include <cstdint>


class dxDevice8;
class dxBufferColor8;
struct trMesh;

inline constexpr float PLANO_CERCANO = 1.0f;
inline constexpr float PLANO_LEJANO = 3000.0f;
inline constexpr float CAMPO_VISION = 0.785398163f; // pi/4
inline constexpr float DISTANCIA_OJO = 1500.0f;
inline constexpr double PASO_ANGULO = 0.02; // radians per frame
// The turn by the clock: the step above at the sixty frames a second it was made for, whatever
// the rate frames actually come at.
inline constexpr double GIRO_POR_SEGUNDO = PASO_ANGULO * 60;

// The panel's width over its height as a true ratio; a side below 1 counts as 1.
[[nodiscard]] HRESULT SetProyeccionVisor(dxDevice8& dispositivo, int ancho, int alto);
// Eye DISTANCIA_OJO before the mesh's centre on the -z side, looking at it along +z; the centre's
// y is negated as the mesh's vertices are.
[[nodiscard]] HRESULT EncuadrarMesh(dxDevice8& dispositivo, const trMesh& mesh);
// Frames a sphere (in the device's world space) so that it fills most of the shorter side of an
// ancho x alto view: the eye on the -z side of the centre looking along +z, at the distance where
// the sphere's silhouette spans AJUSTE_RELLENO of that side, and near and far planes that hold the
// whole sphere. Sets projection and camera; a radius below 1 counts as 1.
inline constexpr float AJUSTE_RELLENO = 0.9f;
float DistanciaAjuste(float radio, int ancho, int alto);
// Near and far planes for an eye `distancia` from a sphere's centre: the whole sphere between them,
// near as far out as it allows for depth precision. An eye inside the sphere keeps near a
// thousandth of the distance out.
void PlanosEsfera(float distancia, float radio, float& cerca, float& lejos);
[[nodiscard]] HRESULT EncuadrarEsfera(dxDevice8& dispositivo, float x, float y, float z, float radio, int ancho,
                        int alto);
// The next frame's angle: `paso` further, kept within one turn so that float precision never
// stalls the turning however long the window stays open.
float AvanzarAngulo(float angulo, double paso = PASO_ANGULO);
// Clear, and with a buffer: turn it by angulo, draw it textured and/or as wireframe; then present.
[[nodiscard]] HRESULT DibujarCuadro(dxDevice8& dispositivo, dxBufferColor8* buffer, float angulo,
                      bool texturizado, bool alambre);
