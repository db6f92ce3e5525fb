#pragma once
// An assembled object on the device: framed to a view, and drawn from its meshes' buffers.
#include "Ensamblaje.h"
#include "d3d8.h"

#include <cstdint>

class BuffersMesh;
class dxDevice8;

// Projection and camera that fit the object's sphere to an ancho x alto view.
[[nodiscard]] HRESULT EncuadrarEnsamblaje(dxDevice8& dispositivo, const Ensamblaje& objeto, int ancho, int alto);
// Clear, then each mesh turned by angulo, textured and/or as wireframe; then present. A joint's
// vertices go up to the device as the pose put them, in a buffer of the draw's own.
// `resaltada`: a piece drawn again in wireframe over the rest (-1: none).
[[nodiscard]] HRESULT DibujarEnsamblaje(dxDevice8& dispositivo, const Ensamblaje& objeto,
                                        const BuffersMesh& buffers, float angulo, bool texturizado,
                                        bool alambre, int32_t resaltada = -1);
