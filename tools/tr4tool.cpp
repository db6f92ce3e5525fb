#include "Comandos.h"

#include <iostream>

#if defined(_WIN32)
#include <fcntl.h>
#include <io.h>
#include <windows.h>
#endif

int main(int argc, char** argv) {
#if defined(_WIN32)
    // The same bytes as on Linux, so a script or a diff reads one output: lines end in \n, not
    // \r\n, and the console is told the texts are UTF-8.
    _setmode(_fileno(stdout), _O_BINARY);
    _setmode(_fileno(stderr), _O_BINARY);
    SetConsoleOutputCP(CP_UTF8);
#endif
    return EjecutarTr4tool(argc, argv, std::cout, std::cerr);
}
