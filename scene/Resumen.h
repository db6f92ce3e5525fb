#pragma once
#include "trCuartos.h"
#include "trNivel.h"

#include <cstdint>
#include <ostream>
#include <string>
#include <vector>

class Lista_Mesh;

// The figures of a level that `tr4tool info` reports.
struct ResumenNivel {
    const trNivel* nivel = nullptr;
    int32_t meshes = 0;
    uint64_t rectangulos = 0, triangulos = 0;
    // The rooms' own geometry, and faces dropped for naming a vertex their room lacks.
    uint64_t verticesCuartos = 0, rectangulosCuartos = 0, triangulosCuartos = 0,
             carasDescartadas = 0;
    trColocacionesCuartos colocaciones;
    // Sectors whose floor data could not be read whole or names what the level lacks.
    std::vector<std::string> avisosSuelo;
};

ResumenNivel Resumir(const trNivel& nivel, const Lista_Mesh* lista);
void EscribirJson(const ResumenNivel& r, std::ostream& salida);
void EscribirTexto(const ResumenNivel& r, std::ostream& salida);
