#pragma once
// Runs tr4tool in-process, as the shell would call it, and keeps what it printed.
#include "Comandos.h"

#include <sstream>
#include <string>
#include <vector>

struct Resultado {
    int estado;
    std::string salida, errores;
};

inline Resultado Ejecutar(std::vector<std::string> args) {
    args.insert(args.begin(), "tr4tool");
    std::vector<const char*> argv;
    for (const auto& a : args)
        argv.push_back(a.c_str());
    std::ostringstream salida, errores;
    const int estado = EjecutarTr4tool(int(argv.size()), argv.data(), salida, errores);
    return {estado, salida.str(), errores.str()};
}
