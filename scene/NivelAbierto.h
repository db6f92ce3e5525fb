#pragma once
// Everything one opened level holds apart from any device: the file's record, its pages as
// texels, its meshes, objects and the whole-level scene, so that the window, the command line,
// the page and the benchmarks open a level the same way and release it whole. What a device
// makes of it is NivelSubido's.
#include "ArticulacionesLara.h"
#include "EscenaNivel.h"
#include "Hecho.h"
#include "Lista_Mesh.h"
#include "PaginasNivel.h"
#include "trNivel.h"
#include "trObjetos.h"
#include "trSectores.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

struct NivelAbierto {
    NivelAbierto() = default;
    NivelAbierto(const NivelAbierto&) = delete;
    NivelAbierto& operator=(const NivelAbierto&) = delete;
    // What a device made of it goes first, then this.
    virtual ~NivelAbierto();

    // Members go in reverse order: the scene and the pages read the record.
    std::unique_ptr<trNivel> Nivel;
    std::unique_ptr<PaginasNivel> Texturas;
    // Null for a level without mesh data.
    std::unique_ptr<Lista_Mesh> Meshes;
    // Its moveables and statics, their meshes named by position in Meshes.
    trObjetos Objetos;
    // Its sectors with their floor data, triggers and markers; damaged chains in Logica.Avisos.
    trLogica Logica;
    // Lara's joints paired with her body's meshes; null where the level has none.
    std::shared_ptr<const ArticulacionesLara> Articulaciones;
    // The whole level as the "Nivel" view shows it, built at open; it keeps nothing above.
    std::unique_ptr<EscenaNivel> Escena;

    int32_t Cantidad() const { return Meshes ? Meshes->Cantidad() : 0; }
    // Null outside 0..count-1.
    const trMesh* Mesh(int indice) const;
};

// Loads the file and parses its meshes, pages, objects and scene, into `destino`. Not done, with
// the loader's reason, `destino` untouched.
Hecho AbrirNivel(const char* ruta, std::unique_ptr<NivelAbierto>& destino);

// The same from the file's bytes in memory.
Hecho AbrirNivelDeMemoria(const uint8_t* datos, size_t tamano,
                          std::unique_ptr<NivelAbierto>& destino);

// The steps after a successful load, into `abierto` (of any kind): they cannot fail in a way that
// loses the level, as a level without meshes shows none.
void CompletarNivel(std::unique_ptr<trNivel> nivel, NivelAbierto& abierto);
