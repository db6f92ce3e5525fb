#pragma once
// `tr4tool export`: a mesh, an object or all of them as a glTF 2.0 model (.glb or .gltf).
#include <ostream>
#include <string>

// The options as given on the command line; Exportar checks them.
struct OpcionesExportar {
    std::string nivel, archivo;
    std::string mesh, objeto, estatico; // exactly one of them, or todo, or nivel
    bool todo = false, nivel_entero = false, logica = false;
    std::string escala;
    std::string meshesDe, animaciones; // with an object: another's meshes; "all" or "A,B,..."
};

// 0 done, with a line on `salida`; 1 when the level, the mesh or object or the output fail, 2 for
// wrong options; each failure with a one-line reason on `errores` and nothing written.
int Exportar(const OpcionesExportar& opciones, std::ostream& salida, std::ostream& errores);
