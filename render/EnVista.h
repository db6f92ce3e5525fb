#pragma once
// What the panel has on show, as the window describes and frames it: one mesh, an object made
// of several meshes, or the whole level (drawn by its scene, so without meshes here). Counts, the
// texture pages its faces take texels from and where on a page they take them follow the rules by
// which the meshes are converted and drawn.
#include "Elegido.h"
#include "Encuadre.h"
#include "d3dx8.h"

#include <cstdint>
#include <vector>

struct trMesh;
struct trNivel;

struct EnVista {
    // A mesh, a moveable, a static or the level.
    Elegido Clase = Elegido::Mesh;
    // A mesh's index in the level, an object's id, or the room framed in the level (-1: all).
    int32_t Indice = -1;
    std::vector<const trMesh*> Meshes;
    // For a mesh: the ids of the objects that use it, where they are known.
    std::vector<int32_t> Objetos;
    // The target of the first view.
    D3DXVECTOR3 Centro{0, 0, 0};
    // Holds everything drawn through the whole turn.
    Esfera Limite;
};

// Mesh `indice` as the panel turns it: about the vertical axis through its own origin, so its limit
// is centred on that axis and reaches its farthest vertex; the first view aims at its stored
// centre.
EnVista EnVistaDeMesh(const trMesh& mesh, int32_t indice);

struct RecuentoVista {
    int32_t Vertices = 0, Rectangulos = 0, Triangulos = 0;
    // Faces drawn with a page of the level.
    int32_t Texturizadas = 0;
    // Ascending, each once.
    std::vector<int32_t> Paginas;
};
RecuentoVista Contar(const EnVista& vista, const trNivel& nivel, int32_t numPaginas);

// One face's corners on its page, in texels (0..256), in the order of its object texture's corners.
struct Contorno {
    int32_t Esquinas = 0;
    float X[4] = {}, Y[4] = {};
};
std::vector<Contorno> ContornosEnPagina(const EnVista& vista, const trNivel& nivel, int32_t pagina);
