#pragma once
// The open level and what of it the panel shows: a mesh of the list, an object of the tree
// assembled from the level's meshes, or the level view. No widget: those who show things change
// it; the frames, the clicks and the export read it.
#include "ControladorVista.h"
#include "Ensamblaje.h"
#include "NivelSubido.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

class dxBufferTextura;

struct EstadoVentana {
    std::unique_ptr<NivelSubido> Nivel;
    // The list's mesh on show; null while anything else is.
    dxBufferTextura* Seleccionado = nullptr;
    // The object picked in the tree, assembled; it names meshes of Nivel.
    std::optional<Ensamblaje> Objeto;
    // For each mesh of the list, the ids of the objects that use it.
    std::vector<std::vector<int32_t>> UsosMesh;
    // What is on show (it names meshes of the open level: cleared before the level goes).
    ControladorVista Vista;

    bool EnNivel() const { return Vista.EnNivel(); }
};
