#pragma once
// `tr4tool pages`: every texture page of a level as a PNG in a folder.
#include <ostream>
#include <string>

// 0 done, with a line on `salida`; 1 when the level has no pages or cannot be read, or a page
// cannot be written (then none is); 2 for missing arguments. Each failure with one line on
// `errores`.
int EscribirPaginas(const std::string& nivel, const std::string& carpeta, std::ostream& salida,
                    std::ostream& errores);
