#pragma once
#include <ostream>

// tr4tool's commands, apart from main so that tests run them in-process.
// Exit status: 0 done, 1 the level (or for `render`, its mesh, OpenGL or the output file) failed,
// 2 usage error.
int EjecutarTr4tool(int argc, const char* const* argv, std::ostream& salida, std::ostream& errores);
