#include "Comandos.h"

#include <iostream>

int main(int argc, char** argv) {
    return EjecutarTr4tool(argc, argv, std::cout, std::cerr);
}
