#pragma once
// `tr4tool render`: one frame of a level's mesh exactly as the viewer's panel draws it, as PNG.
#include <ostream>
#include <string_view>
#include <vector>

// args: what follows "render". 0 done, with a line on `salida`; 1 when the level, the mesh index,
// OpenGL or the output file fail, 2 for wrong options; each failure with a one-line reason on
// `errores` and no file written.
int Renderizar(const std::vector<std::string_view>& args, std::ostream& salida,
               std::ostream& errores);
