#include <gtest/gtest.h>

#include <cmath>
#include <memory>

#include "Falsos.h"
#include "dxBufferTextura.h"

namespace {

// Every corner of a polygon gets x = base + corner, so each vertex names its polygon.
template <class T> std::unique_ptr<T> Coloreado(uint32_t flags, float base, uint8_t rojo) {
    auto p = std::make_unique<T>(flags);
    for (int i = 0; i < 4 && p->Verificar() != D3D_OK; ++i) {
        (void)p->AgregarVertice(base + i, 1, 2);
        (void)p->SetColor(rojo, 0, 0);
    }
    return p;
}

std::unique_ptr<dxTrianguloTex> TrianguloTex(uint32_t flags, float base, IDirect3DTexture8* pag) {
    auto p = std::make_unique<dxTrianguloTex>(flags);
    for (int i = 0; i < 3; ++i)
        (void)p->AgregarVertice(base + i, 1, 2);
    (void)p->SetTextura(pag, .1f, .2f, .3f, .4f, .5f, .6f);
    return p;
}

std::unique_ptr<dxCuadradoTex> CuadradoTex(uint32_t flags, float base, IDirect3DTexture8* pag) {
    auto p = std::make_unique<dxCuadradoTex>(flags);
    for (int i = 0; i < 4; ++i)
        (void)p->AgregarVertice(base + i, 1, 2);
    (void)p->SetTextura(pag, .1f, .2f, .3f, .4f, .5f, .6f, .7f, .8f);
    return p;
}

void EsperarMatriz(const D3DXMATRIX& m, const D3DXMATRIX& esperada) {
    for (int f = 0; f < 4; ++f)
        for (int c = 0; c < 4; ++c)
            EXPECT_NEAR(m.m[f][c], esperada.m[f][c], 1e-6) << "fila " << f << " columna " << c;
}

D3DXMATRIX Identidad() {
    D3DXMATRIX i;
    return *D3DXMatrixIdentity(&i);
}

TEST(dxBuffer, NuevoEstaVacio) {
    dxBufferColor8 c;
    dxBufferTextura t;
    for (dxBufferColor8* b : {&c, static_cast<dxBufferColor8*>(&t)}) {
        EXPECT_EQ(b->GetNumVertices(), 0);
        EXPECT_EQ(b->GetTriangulos(), 0);
        EXPECT_EQ(b->GetCuadrados(), 0);
        EXPECT_EQ(b->Construir(), -1);
        EXPECT_EQ(b->GetVertices(), nullptr);
        EXPECT_EQ(b->GetVertexBuffer(), nullptr);
        EXPECT_EQ(b->GetFlags(0), 0u);
        D3DXMATRIX m;
        EXPECT_EQ(b->GetMundo(&m), &m);
        EsperarMatriz(m, Identidad());
    }
    EXPECT_EQ(c.GetFVF(), 0x42u);
    EXPECT_EQ(c.GetStride(), 16u);
    EXPECT_EQ(t.GetFVF(), 0x102u);
    EXPECT_EQ(t.GetStride(), 20u);
    EXPECT_EQ(t.GetTextura(0), nullptr);
}

TEST(dxBuffer, TexturadoSaleEnOrdenInverso) {
    TexturaFalsa pq, p1, p2;
    dxBufferTextura b;
    EXPECT_EQ(b.AgregarPoligono(CuadradoTex(0x08, 100, &pq)), D3D_OK);
    EXPECT_EQ(b.AgregarPoligono(TrianguloTex(0x08, 10, &p1)), D3D_OK);
    EXPECT_EQ(b.AgregarPoligono(TrianguloTex(0x08, 20, &p2)), D3D_OK);
    EXPECT_EQ(b.GetTriangulos(), 2);
    EXPECT_EQ(b.GetCuadrados(), 1);
    EXPECT_EQ(b.GetNumVertices(), 10);
    EXPECT_EQ(b.Construir(), 200);

    EXPECT_EQ(b.GetFlags(0), 0x18u);
    EXPECT_EQ(b.GetFlags(1), 0x18u);
    EXPECT_EQ(b.GetFlags(2), 0x19u);
    EXPECT_EQ(b.GetFlags(3), 0u);
    EXPECT_EQ(b.GetFlags(-1), 0u);
    EXPECT_EQ(b.GetTextura(0), &p2);
    EXPECT_EQ(b.GetTextura(1), &p1);
    EXPECT_EQ(b.GetTextura(2), &pq);
    EXPECT_EQ(b.GetTextura(3), nullptr);
    EXPECT_EQ(b.GetTextura(-1), nullptr);

    const auto* v = static_cast<const dxVerticeTextura*>(b.GetVertices());
    ASSERT_NE(v, nullptr);
    const float x[10] = {20, 21, 22, 10, 11, 12, 100, 101, 102, 103};
    for (int i = 0; i < 10; ++i) {
        EXPECT_EQ(v[i].x, x[i]) << i;
        EXPECT_EQ(v[i].z, 2.f) << i;
    }
    EXPECT_EQ(v[2].u, .5f);
    EXPECT_EQ(v[9].v, .8f);
}

TEST(dxBuffer, ColoreadoSaleEnOrdenInverso) {
    dxBufferColor8 b;
    EXPECT_EQ(b.AgregarPoligono(Coloreado<dxCuadrado>(0x08, 100, 3)), D3D_OK);
    EXPECT_EQ(b.AgregarPoligono(Coloreado<dxTriangulo>(0x08, 10, 1)), D3D_OK);
    EXPECT_EQ(b.AgregarPoligono(Coloreado<dxTriangulo>(0x08, 20, 2)), D3D_OK);
    EXPECT_EQ(b.Construir(), 160);
    EXPECT_EQ(b.GetFlags(0), 0x08u);
    EXPECT_EQ(b.GetFlags(1), 0x08u);
    EXPECT_EQ(b.GetFlags(2), 0x09u);

    const auto* v = static_cast<const dxVerticeColor*>(b.GetVertices());
    ASSERT_NE(v, nullptr);
    const float x[10] = {20, 21, 22, 10, 11, 12, 100, 101, 102, 103};
    const uint32_t rojo[10] = {2, 2, 2, 1, 1, 1, 3, 3, 3, 3};
    for (int i = 0; i < 10; ++i) {
        EXPECT_EQ(v[i].x, x[i]) << i;
        EXPECT_EQ(v[i].color, 0xFF000000u | rojo[i] << 16) << i;
    }
}

TEST(dxBuffer, ConstruirSoloTrasCambios) {
    dxBufferColor8 b;
    (void)b.AgregarPoligono(Coloreado<dxTriangulo>(0, 0, 0));
    EXPECT_EQ(b.Construir(), 48);
    // Until the upload says so, the same content builds again.
    EXPECT_EQ(b.Construir(), 48);
    b.LimpiarModificado();
    EXPECT_EQ(b.Construir(), -1);
    EXPECT_NE(b.GetVertices(), nullptr);
    EXPECT_EQ(b.Construir(), -1);

    (void)b.AgregarPoligono(Coloreado<dxCuadrado>(0x02, 50, 0));
    EXPECT_EQ(b.Construir(), 112);
    EXPECT_EQ(b.GetFlags(0), 0x03u);
    EXPECT_EQ(static_cast<const dxVerticeColor*>(b.GetVertices())[0].x, 50.f);
}

TEST(dxBuffer, PoligonoIncompletoSeCopiaConCeros) {
    dxBufferColor8 c;
    auto t = std::make_unique<dxTriangulo>(0);
    (void)t->AgregarVertice(5, 6, 7);
    (void)t->SetColor(1, 2, 3);
    (void)c.AgregarPoligono(std::move(t));
    EXPECT_EQ(c.Construir(), 48);
    const auto* v = static_cast<const dxVerticeColor*>(c.GetVertices());
    EXPECT_EQ(v[0].y, 6.f);
    EXPECT_EQ(v[0].color, 0xFF010203u);
    for (int i = 1; i < 3; ++i)
        EXPECT_TRUE(v[i].x == 0 && v[i].y == 0 && v[i].z == 0 && v[i].color == 0) << i;

    dxBufferTextura b;
    auto q = std::make_unique<dxCuadradoTex>(0);
    (void)q->AgregarVertice(5, 6, 7);
    (void)b.AgregarPoligono(std::move(q));
    EXPECT_EQ(b.Construir(), 80);
    const auto* w = static_cast<const dxVerticeTextura*>(b.GetVertices());
    EXPECT_EQ(w[0].z, 7.f);
    EXPECT_EQ(w[3].x, 0.f);
    EXPECT_EQ(b.GetTextura(0), nullptr);
    EXPECT_EQ(b.GetFlags(0), 0x11u);
}

TEST(dxBuffer, RechazaOtraFamiliaYNulo) {
    TexturaFalsa pag;
    dxBufferColor8 c;
    EXPECT_EQ(c.AgregarPoligono(nullptr), E_FAIL);
    EXPECT_EQ(c.AgregarPoligono(TrianguloTex(0, 0, &pag)), E_FAIL);
    EXPECT_EQ(c.AgregarPoligono(CuadradoTex(0, 0, &pag)), E_FAIL);
    EXPECT_EQ(c.GetNumVertices(), 0);
    EXPECT_EQ(c.Construir(), -1);

    dxBufferTextura t;
    EXPECT_EQ(t.AgregarPoligono(nullptr), E_FAIL);
    EXPECT_EQ(t.AgregarPoligono(Coloreado<dxTriangulo>(0, 0, 0)), E_FAIL);
    EXPECT_EQ(t.AgregarPoligono(Coloreado<dxCuadrado>(0, 0, 0)), E_FAIL);
    EXPECT_EQ(t.GetNumVertices(), 0);
    EXPECT_EQ(t.Construir(), -1);

    EXPECT_EQ(dxBufferColor8::TipoPoligono(Coloreado<dxTriangulo>(0, 0, 0).get()), 0);
    EXPECT_EQ(dxBufferColor8::TipoPoligono(TrianguloTex(0, 0, &pag).get()), 0);
    EXPECT_EQ(dxBufferColor8::TipoPoligono(Coloreado<dxCuadrado>(0, 0, 0).get()), 1);
    EXPECT_EQ(dxBufferColor8::TipoPoligono(CuadradoTex(0, 0, &pag).get()), 1);
}

TEST(dxBuffer, RotacionesSeAcumulan) {
    dxBufferTextura b;
    b.RotarY(0.3f);
    b.RotarY(1.1f);
    D3DXMATRIX m, esperada;
    D3DXMatrixRotationY(&esperada, 1.4f);
    EsperarMatriz(*b.GetMundo(&m), esperada);
    b.ResetMundo();
    EsperarMatriz(*b.GetMundo(&m), Identidad());
}

TEST(dxBuffer, DestruirDevuelveElVertexBufferUnaVez) {
    VertexBufferFalso viejo, nuevo;
    {
        dxBufferColor8 b;
        (void)b.AgregarPoligono(Coloreado<dxTriangulo>(0, 0, 0));
        b.SetVertexBuffer(&viejo);
        // Replacing is the upload's business; the buffer keeps no count of its own.
        b.SetVertexBuffer(&nuevo);
        EXPECT_EQ(b.GetVertexBuffer(), &nuevo);
        EXPECT_EQ(viejo.Liberaciones, 0);
        EXPECT_EQ(nuevo.Liberaciones, 0);
    }
    EXPECT_EQ(viejo.Liberaciones, 0);
    EXPECT_EQ(nuevo.Liberaciones, 1);

    VertexBufferFalso tex;
    {
        TexturaFalsa pag;
        dxBufferTextura t;
        (void)t.AgregarPoligono(CuadradoTex(0, 0, &pag));
        t.Construir();
        t.SetVertexBuffer(&tex);
    }
    EXPECT_EQ(tex.Liberaciones, 1);
}

} // namespace
