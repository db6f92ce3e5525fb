#pragma once
// Turns every mesh of a parsed level into a textured vertex-buffer object uploaded to the device.
#include "d3d8.h"

class BuffersMesh;
class Lista_Mesh;
class dxDevice8;
class trTextura;
struct trNivel;

// Fills `buffers` with one buffer per mesh of `lista`, entry i for mesh i, and uploads each one.
// E_FAIL (nothing made, `buffers` untouched) for a missing or empty list. A face naming a vertex
// the mesh lacks is skipped; one whose object texture or page is out of range is kept, untextured.
// Every buffer is made whatever the device refuses; the first refused upload of a mesh with faces
// is the result.
[[nodiscard]] HRESULT ConvertirMeshes(const Lista_Mesh* lista, BuffersMesh& buffers,
                                      dxDevice8* dispositivo, const trTextura* texturas,
                                      const trNivel& nivel);
