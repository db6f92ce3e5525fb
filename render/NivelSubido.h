#pragma once
// One opened level and what the device holds of it: its pages as textures, each mesh's buffer
// and the scene's batches. The window, the pictures and the benchmarks that draw open this.
#include "BuffersMesh.h"
#include "DibujoDisparadores.h"
#include "DibujoEscena.h"
#include "DibujoMarcadores.h"
#include "NivelAbierto.h"
#include "trTextura.h"

#include <memory>
#include <string>

class dxDevice8;
class dxBufferTextura;

struct NivelSubido : NivelAbierto {
    // Members go in reverse order: the buffers name the textures, the batches the scene.
    std::unique_ptr<trTextura> TexturasDispositivo;
    // What each mesh is drawn from, entry i for mesh i of Meshes; empty without meshes.
    BuffersMesh Buffers;
    // The scene on the device; made with or without one (then it draws nothing).
    std::unique_ptr<DibujoEscena> Dibujo;
    // Trigger and kill sectors over the scene (Ver -> Disparadores); null without a device.
    std::unique_ptr<DibujoDisparadores> Capa;
    // Cameras, sinks, flyby cameras and paths, sound sources (Ver -> Marcadores); null likewise.
    std::unique_ptr<DibujoMarcadores> Marcadores;
    // D3D_OK, or the first page or mesh the device refused: the level is open all the same and
    // draws what went up, but a picture drawn from it would miss what did not.
    HRESULT Subida = D3D_OK;

    // Null outside 0..count-1.
    dxBufferTextura* Buffer(int indice) const { return Buffers.Obtener(indice); }
};

// Opens the level as the core does (AbrirNivel), then makes its pages and converts and uploads
// every mesh and the scene, into `destino`. Not done, with the loader's reason, `destino`
// untouched. Without a device the level is still read and converted, only nothing reaches the
// device.
Hecho AbrirNivel(const char* ruta, dxDevice8* dispositivo, std::unique_ptr<NivelSubido>& destino);

// The same from the file's bytes in memory.
Hecho AbrirNivelDeMemoria(const uint8_t* datos, size_t tamano, dxDevice8* dispositivo,
                          std::unique_ptr<NivelSubido>& destino);
