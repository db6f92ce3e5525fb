#pragma once
// `tr4tool render`: one frame of a level's mesh or object as the viewer's panel draws it, or of
// the whole level, as PNG.
#include <ostream>
#include <string>

// The options as given on the command line; Renderizar checks them.
struct OpcionesRender {
    std::string nivel, archivo;
    std::string mesh, objeto, estatico; // exactly one of them, or nivelEntero, or cuarto
    bool nivelEntero = false;
    std::string cuarto;
    std::string desde, hacia; // "X,Y,Z" in the level's axes; only with nivelEntero
    std::string angulo, tamano;
    bool alambre = false;
    bool ajustar = false; // frame a mesh to fit, as objects always are
    bool luzPlena = false; // the level's textures as painted, whatever its vertex colours
    std::string fondo;     // black, grey or white; empty: black
    // With an object: the meshes of another moveable, and a pose of one of its animations.
    std::string meshesDe, animacion, cuadro;
    std::string secuencia; // a folder for every game frame of the animation, instead of --out
};

// 0 done, with a line on `salida`; 1 when the level, the mesh, object or room, OpenGL or the output
// file fail, 2 for wrong options; each failure with a one-line reason on `errores` and no file
// written.
int Renderizar(const OpcionesRender& opciones, std::ostream& salida, std::ostream& errores);
