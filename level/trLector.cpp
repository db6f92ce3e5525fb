#include "trLector.h"

#include <cstring>

void trLector::Iniciar(uint32_t tamano, const uint8_t* datos) {
    Tamano = tamano;
    Datos = datos;
    Posicion = 0;
}

int trLector::Leer(void* destino, uint32_t longitud) {
    if (Datos == nullptr)
        return FUERA;
    // Widened so that a huge length cannot wrap past the end check.
    if (uint64_t{Posicion} + longitud > Tamano)
        return FUERA;
    if (destino == nullptr)
        return SIN_DESTINO;
    if (longitud != 0)
        std::memcpy(destino, Datos + Posicion, longitud);
    Posicion += longitud;
    return LEIDO;
}
