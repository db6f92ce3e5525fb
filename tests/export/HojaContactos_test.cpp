#include "HojaContactos.h"

#include <gtest/gtest.h>

#include <algorithm>

TEST(HojaContactos, LaRejillaEsCasiCuadradaYNuncaPasaDelLadoMaximo) {
    const struct {
        size_t celdas;
        int pedida, columnas, filas, celda;
    } casos[] = {
        {1, 128, 1, 1, 128},        {6, 64, 3, 2, 64}, {191, 128, 14, 14, 128},
        {191, 1024, 14, 14, 292},   // shrunk: 14 x 1024 would pass the side
        {16384, 128, 128, 128, 32}, // the most that fits, at the smallest cell
    };
    for (const auto& c : casos) {
        Rejilla r;
        ASSERT_TRUE(PlanearRejilla(c.celdas, c.pedida, r)) << c.celdas;
        EXPECT_EQ(r.Columnas, c.columnas) << c.celdas;
        EXPECT_EQ(r.Filas, c.filas) << c.celdas;
        EXPECT_EQ(r.Celda, c.celda) << c.celdas;
    }
    Rejilla r;
    Hecho hecho;
    EXPECT_FALSE((hecho = PlanearRejilla(16385, 128, r)));
    EXPECT_NE(hecho.Motivo().find("16385"), std::string::npos) << hecho.Motivo();
    EXPECT_FALSE((hecho = PlanearRejilla(0, 128, r)));
    EXPECT_FALSE(hecho.Motivo().empty());
}

TEST(HojaContactos, ElRotuloSeRecortaEnLosBordesYSaltaLoQueNoEsAscii) {
    ImagenRGBA im{60, 30, std::vector<uint8_t>(60 * 30 * 4, 7)};
    // Cut by every edge, with bytes the font has no glyph for.
    Rotular(im, -9, -6,
            "\xC3\xA1"
            "88\x01\x7F",
            2);
    Rotular(im, 50, 25, "88", 2);
    EXPECT_EQ(im.Bytes.size(), 60u * 30u * 4u);
    EXPECT_GT(std::count(im.Bytes.begin(), im.Bytes.end(), 255), 0) << "the strokes landed";
    EXPECT_EQ(im.Bytes[(20 * 60 + 30) * 4], 7) << "and nowhere else";
}
