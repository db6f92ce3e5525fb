#pragma once
#include <cstdint>

// Bounded cursor over bytes it does not own. A read that would cross the end copies nothing
// and leaves the position, so a parser can walk damaged data without ever leaving it.
struct trLector {
    uint32_t Tamano = 0;
    uint32_t Posicion = 0;
    const uint8_t* Datos = nullptr;

    static constexpr int LEIDO = 1;
    static constexpr int FUERA = 0;
    static constexpr int SIN_DESTINO = 8;

    void Iniciar(uint32_t tamano, const uint8_t* datos);
    [[nodiscard]] int Leer(void* destino, uint32_t longitud);

    uint32_t Restante() const { return Tamano - Posicion; }
};
