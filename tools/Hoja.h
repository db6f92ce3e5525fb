#pragma once
// `tr4tool sheet`: every mesh, or every object, of a level drawn in one labelled grid, as PNG.
#include <ostream>
#include <string>

// The options as given on the command line; EscribirHoja checks them.
struct OpcionesHoja {
    std::string nivel, archivo;
    std::string celda;    // the cell's side in pixels; empty: the default
    bool objetos = false; // moveables and statics instead of meshes
    std::string fondo;    // black, grey or white; empty: black
};

// 0 done, with a line on `salida`; 1 when the level, OpenGL or the output file fail, or the level
// has nothing to draw; 2 for wrong options. Each failure with one line on `errores`, no file
// written.
int EscribirHoja(const OpcionesHoja& opciones, std::ostream& salida, std::ostream& errores);
