#include "trLector.h"

#include <gtest/gtest.h>

#include <cstdint>

TEST(trLector, LeeHastaElFinalYNoMasAlla) {
    const uint8_t datos[6] = {1, 2, 3, 4, 5, 6};
    trLector l;
    l.Iniciar(6, datos);
    uint16_t a = 0;
    uint32_t b = 0;
    EXPECT_EQ(l.Leer(&a, 2), 1);
    EXPECT_EQ(a, 0x0201);
    EXPECT_EQ(l.Leer(&b, 4), 1);
    EXPECT_EQ(b, 0x06050403u);
    EXPECT_EQ(l.Posicion, 6u);

    // At the very end a read of nothing succeeds, one byte more is refused without a trace.
    EXPECT_EQ(l.Leer(&a, 0), 1);
    a = 0xBEEF;
    EXPECT_EQ(l.Leer(&a, 1), 0);
    EXPECT_EQ(a, 0xBEEF);
    EXPECT_EQ(l.Posicion, 6u);
}

TEST(trLector, RechazaSinTocarLaPosicion) {
    const uint8_t datos[4] = {};
    trLector l;
    l.Iniciar(4, datos);
    uint8_t destino[4];
    EXPECT_EQ(l.Leer(nullptr, 2), 8);
    EXPECT_EQ(l.Posicion, 0u);
    EXPECT_EQ(l.Leer(destino, 5), 0);
    EXPECT_EQ(l.Posicion, 0u);
    ASSERT_EQ(l.Leer(destino, 1), 1);
    // A length that would wrap a 32-bit sum back below the size must still be refused.
    EXPECT_EQ(l.Leer(destino, 0xFFFFFFFFu), 0);
    EXPECT_EQ(l.Posicion, 1u);

    trLector vacio;
    vacio.Iniciar(4, nullptr);
    EXPECT_EQ(vacio.Leer(destino, 0), 0);
    EXPECT_EQ(vacio.Leer(nullptr, 1), 0);
}
