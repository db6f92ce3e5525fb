#pragma once
// The one shader pair that draws both vertex formats the device accepts.
#include <GL/glcorearb.h>

#include <string>

// Attribute locations the vertex arrays feed.
constexpr GLuint ATRIBUTO_POSICION = 0;
constexpr GLuint ATRIBUTO_DIFUSO = 1;
constexpr GLuint ATRIBUTO_UV = 2;
// The layer of the array texture a vertex samples (see ArregloTexturasGL).
constexpr GLuint ATRIBUTO_CAPA = 3;

// What each colour factor of the fragment shader reads (uniforms uArg1, uArg2).
enum FactorColor : GLint { FACTOR_DIFUSO = 0, FACTOR_TEXTURA = 1, FACTOR_UNO = 2 };

struct ProgramaGL {
    GLuint nombre = 0;
    GLint mundo = -1, vista = -1, proyeccion = -1;
    GLint arg1 = -1, arg2 = -1;
    GLint alfa1 = -1, alfa2 = -1, pruebaAlfa = -1, refAlfa = -1, mezcla = -1;
};

// `corregirProfundidad`: remap Direct3D's clip depth 0..w to GL's -w..w in the shader, for
// contexts without clip control. False with the compiler's log in `error`.
[[nodiscard]] bool CrearProgramaGL(bool corregirProfundidad, ProgramaGL& programa, std::string* error);
