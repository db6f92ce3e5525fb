#include "trFilaNivel.h"

#include <cstring>

uint64_t CuentaDeFila(const trNivel& nivel, int fila) {
    if (fila < 1 || fila > 58 || FILAS_NIVEL[fila].Clase != trClaseFila::Arreglo)
        return 0;
    const trFilaNivel& cuenta = FILAS_NIVEL[FILAS_NIVEL[fila].CuentaEn];
    uint64_t valor = 0; // counts are unsigned and little-endian, like the host
    std::memcpy(&valor, cuenta.Campo(const_cast<trNivel&>(nivel)), cuenta.Tamano);
    return valor;
}
