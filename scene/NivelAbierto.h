#pragma once
// Everything one opened level holds, from the file's record to the uploaded buffers, so that the
// window, the command line and the benchmarks open a level the same way and release it whole.
#include "ArticulacionesLara.h"
#include "BuffersMesh.h"
#include "CapaDisparadores.h"
#include "CapaMarcadores.h"
#include "EscenaNivel.h"
#include "Lista_Mesh.h"
#include "trNivel.h"
#include "trObjetos.h"
#include "trSectores.h"
#include "trTextura.h"

#include <memory>
#include <string>

class dxDevice8;
class dxBufferTextura;

struct NivelAbierto {
    // Members go in reverse order: the buffers name the pages, and the pages read the record.
    std::unique_ptr<trNivel> Nivel;
    std::unique_ptr<trTextura> Texturas;
    // Null for a level without mesh data.
    std::unique_ptr<Lista_Mesh> Meshes;
    // What each mesh is drawn from, entry i for mesh i of Meshes; empty without meshes.
    BuffersMesh Buffers;
    // Its moveables and statics, their meshes named by position in Meshes.
    trObjetos Objetos;
    // Its sectors with their floor data, triggers and markers; damaged chains in Logica.Avisos.
    trLogica Logica;
    // Lara's joints paired with her body's meshes; null where the level has none.
    std::shared_ptr<const ArticulacionesLara> Articulaciones;
    // The whole level as the "Nivel" view draws it, built at open; it keeps nothing above.
    std::unique_ptr<EscenaNivel> Escena;
    // Trigger and kill sectors over the scene (Ver -> Disparadores); null without a device.
    std::unique_ptr<CapaDisparadores> Capa;
    // Cameras, sinks, flyby cameras and paths, sound sources (Ver -> Marcadores); null likewise.
    std::unique_ptr<CapaMarcadores> Marcadores;
    // D3D_OK, or the first page or mesh the device refused: the level is open all the same and
    // draws what went up, but a picture drawn from it would miss what did not.
    HRESULT Subida = D3D_OK;

    int32_t Cantidad() const { return Meshes ? Meshes->Cantidad() : 0; }
    // Null outside 0..count-1.
    dxBufferTextura* Buffer(int indice) const { return Buffers.Obtener(indice); }
    // Null outside 0..count-1.
    const trMesh* Mesh(int indice) const;
};

// Loads the file, parses its meshes, makes its pages and converts and uploads every mesh. 1 and
// the level in `destino`; 0 with the loader's reason in *motivo, `destino` untouched. Without a
// device the level is still read and converted, only nothing reaches the device.
[[nodiscard]] int AbrirNivel(const char* ruta, dxDevice8* dispositivo, std::unique_ptr<NivelAbierto>& destino,
               std::string* motivo = nullptr);

// The same from the file's bytes in memory.
[[nodiscard]] int AbrirNivelDeMemoria(const uint8_t* datos, size_t tamano, dxDevice8* dispositivo,
                        std::unique_ptr<NivelAbierto>& destino, std::string* motivo = nullptr);
