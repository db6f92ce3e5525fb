#include <gtest/gtest.h>

#include <cstring>

#include "Falsos.h"
#include "dxPoligono.h"

namespace {

const dxVerticeColor* Colores(dxPoligono& p) {
    return static_cast<const dxVerticeColor*>(p.GetVertices());
}
const dxVerticeTextura* Texturados(dxPoligono& p) {
    return static_cast<const dxVerticeTextura*>(p.GetVertices());
}

TEST(dxVertices, BytesComoLosLeeElDispositivo) {
    const dxVerticeColor c[2] = {{1.f, 2.f, 3.f, 0x80112233}, {4.f, 5.f, 6.f, 0}};
    unsigned char b[32];
    std::memcpy(b, c, sizeof b);
    // Little-endian colour word: B, G, R, A in memory; the next vertex follows with no gap.
    const unsigned char bgra[4] = {0x33, 0x22, 0x11, 0x80};
    EXPECT_EQ(std::memcmp(b + 12, bgra, 4), 0);
    float f;
    std::memcpy(&f, b + 16, 4);
    EXPECT_EQ(f, 4.f);

    const dxVerticeTextura t[2] = {{1.f, 2.f, 3.f, 0.25f, 0.75f}, {7.f, 0, 0, 0, 0}};
    std::memcpy(b, t, 24);
    std::memcpy(&f, b + 16, 4);
    EXPECT_EQ(f, 0.75f);
    std::memcpy(&f, b + 20, 4);
    EXPECT_EQ(f, 7.f);
}

TEST(dxPoligono, TexturadoSeCompletaYNoAdmiteMasVertices) {
    dxTrianguloTex t(0x08);
    EXPECT_EQ(t.GetFlags(), 0x08u);
    EXPECT_EQ(t.GetTextura(), nullptr);
    EXPECT_EQ(t.Verificar(), E_FAIL);
    EXPECT_EQ(t.AgregarVertice(1, 2, 3), D3D_OK);
    EXPECT_EQ(t.AgregarVertice(4, 5, 6), D3D_OK);
    EXPECT_EQ(t.Verificar(), E_FAIL);
    EXPECT_EQ(t.AgregarVertice(7, 8, 9), D3D_OK);
    EXPECT_EQ(t.Verificar(), D3D_OK);
    EXPECT_EQ(t.AgregarVertice(10, 11, 12), E_FAIL);
    EXPECT_EQ(t.Verificar(), D3D_OK);
    const dxVerticeTextura* v = Texturados(t);
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(v[i].x, 3.f * i + 1);
        EXPECT_EQ(v[i].y, 3.f * i + 2);
        EXPECT_EQ(v[i].z, 3.f * i + 3);
        EXPECT_EQ(v[i].u, 0.f);
        EXPECT_EQ(v[i].v, 0.f);
    }
}

TEST(dxPoligono, SetTexturaReparteUVYRechazaPaginaNula) {
    TexturaFalsa pagina, otra;
    dxCuadradoTex q(0);
    EXPECT_EQ(q.SetTextura(nullptr, .1f, .2f, .3f, .4f, .5f, .6f, .7f, .8f), E_FAIL);
    EXPECT_EQ(q.GetTextura(), nullptr);
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(Texturados(q)[i].u, 0.f);
        EXPECT_EQ(Texturados(q)[i].v, 0.f);
    }

    (void)q.AgregarVertice(5, 6, 7);
    EXPECT_EQ(q.SetTextura(&pagina, .1f, .2f, .3f, .4f, .5f, .6f, .7f, .8f), D3D_OK);
    EXPECT_EQ(q.GetTextura(), &pagina);
    const dxVerticeTextura* v = Texturados(q);
    const float uv[4][2] = {{.1f, .2f}, {.3f, .4f}, {.5f, .6f}, {.7f, .8f}};
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(v[i].u, uv[i][0]);
        EXPECT_EQ(v[i].v, uv[i][1]);
    }
    // Positions and the vertex count are the corners' business, not the page's.
    EXPECT_EQ(v[0].x, 5.f);
    EXPECT_EQ(v[1].x, 0.f);
    (void)q.AgregarVertice(1, 1, 1);
    EXPECT_EQ(v[1].x, 1.f);

    // A refused page leaves the earlier one and its coordinates.
    EXPECT_EQ(q.SetTextura(nullptr, 1, 1, 1, 1, 1, 1, 1, 1), E_FAIL);
    EXPECT_EQ(q.GetTextura(), &pagina);
    EXPECT_EQ(v[3].v, .8f);

    dxTrianguloTex t(0);
    EXPECT_EQ(t.SetTextura(&otra, .1f, .2f, .3f, .4f, .5f, .6f), D3D_OK);
    EXPECT_EQ(t.GetTextura(), &otra);
    EXPECT_EQ(Texturados(t)[2].u, .5f);
    EXPECT_EQ(Texturados(t)[2].v, .6f);
    EXPECT_EQ(t.Verificar(), E_FAIL);
}

TEST(dxPoligono, ColorCompletaElVertice) {
    dxTriangulo t(0);
    (void)t.AgregarVertice(1, 2, 3);
    EXPECT_EQ(t.SetColor(255, 0, 0), D3D_OK);
    (void)t.AgregarVertice(4, 5, 6);
    EXPECT_EQ(t.SetColor(0, 0, 0), D3D_OK);
    (void)t.AgregarVertice(7, 8, 9);
    EXPECT_EQ(t.SetColor(0x12, 0x34, 0x56), D3D_OK);
    EXPECT_EQ(t.Verificar(), D3D_OK);
    const dxVerticeColor* v = Colores(t);
    EXPECT_EQ(v[0].color, 0xFFFF0000u);
    EXPECT_EQ(v[1].color, 0xFF000000u);
    EXPECT_EQ(v[2].color, 0xFF123456u);
    EXPECT_EQ(v[1].y, 5.f);

    // Without a colour the corner is not done: the next position overwrites it.
    dxCuadrado q(0);
    EXPECT_EQ(q.AgregarVertice(1, 1, 1), D3D_OK);
    EXPECT_EQ(q.AgregarVertice(2, 3, 4), D3D_OK);
    EXPECT_EQ(q.SetColor(0, 255, 0), D3D_OK);
    const dxVerticeColor* w = Colores(q);
    EXPECT_EQ(w[0].x, 2.f);
    EXPECT_EQ(w[0].y, 3.f);
    EXPECT_EQ(w[0].z, 4.f);
    EXPECT_EQ(w[0].color, 0xFF00FF00u);
    EXPECT_EQ(w[1].x, 0.f);
    EXPECT_EQ(w[1].color, 0u);
    EXPECT_EQ(q.Verificar(), E_FAIL);
}

TEST(dxPoligono, ColorRechazadoSinCambios) {
    dxTriangulo t(0);
    for (int i = 0; i < 3; ++i) {
        (void)t.AgregarVertice(float(i), 0, 0);
        (void)t.SetColor(1, 2, 3);
    }
    const dxVerticeColor antes = Colores(t)[2];
    EXPECT_EQ(t.SetColor(9, 9, 9), E_FAIL);
    EXPECT_EQ(t.AgregarVertice(9, 9, 9), E_FAIL);
    EXPECT_EQ(std::memcmp(&Colores(t)[2], &antes, sizeof antes), 0);
    EXPECT_EQ(t.Verificar(), D3D_OK);

    dxCuadradoTex q(0);
    (void)q.AgregarVertice(1, 2, 3);
    EXPECT_EQ(q.SetColor(255, 255, 255), E_FAIL);
    // The colour did not take a corner: three more positions still fit.
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(q.AgregarVertice(0, 0, 0), D3D_OK);
    EXPECT_EQ(q.Verificar(), D3D_OK);
    EXPECT_EQ(Texturados(q)[0].x, 1.f);
}

} // namespace
