#include "EntornoGL.h"

namespace {

TEST(SuperficieEGL, RechazaTamanosImposiblesConUnMotivo) {
    for (int ancho : {0, 1 << 20}) {
        std::string motivo;
        EXPECT_EQ(SuperficieEGL::Crear(ancho, 4, &motivo), nullptr);
        EXPECT_FALSE(motivo.empty());
    }
}

// Each surface has its own context; a device must make its own current before it draws.
TEST(SuperficieEGL, VariasALaVezNoSeMezclan) {
    auto a = SuperficieEGL::Crear(4, 4), b = SuperficieEGL::Crear(4, 4);
    if (!a || !b)
        GTEST_FAIL() << "sin OpenGL sin superficie";
    IDirect3DDevice8 *da = CrearDispositivo(a.get()), *db = CrearDispositivo(b.get());
    ASSERT_TRUE(da && db);
    (void)da->Clear(0, nullptr, D3DCLEAR_TARGET, kRojo, 1.f, 0);
    (void)db->Clear(0, nullptr, D3DCLEAR_TARGET, kVerde, 1.f, 0);
    (void)da->Present(nullptr, nullptr, nullptr, nullptr);
    EXPECT_EQ(LeerPixeles(*a), std::vector<uint32_t>(16, kRojo));
    EXPECT_EQ(LeerPixeles(*b), std::vector<uint32_t>(16, kVerde));
    db->Release();
    da->Release();
    a.reset();
    b.reset();
    // The shared display outlives its surfaces.
    auto c = SuperficieEGL::Crear(4, 4);
    ASSERT_TRUE(c);
    IDirect3DDevice8* dc = CrearDispositivo(c.get());
    (void)dc->Clear(0, nullptr, D3DCLEAR_TARGET, kAzul, 1.f, 0);
    EXPECT_EQ(LeerPixeles(*c), std::vector<uint32_t>(16, kAzul));
    dc->Release();
}

TEST(SuperficieEGL, ElDibujoSigueAlNuevoTamano) {
    auto s = SuperficieEGL::Crear(64, 64);
    if (!s)
        GTEST_FAIL() << "sin OpenGL sin superficie";
    IDirect3DDevice8* dev = CrearDispositivo(s.get(), false);
    const VerticeColor cuadro[] = {
        {-1, 1, .5f, kAzul}, {1, 1, .5f, kAzul}, {-1, -1, .5f, kAzul}, {1, -1, .5f, kAzul}};
    IDirect3DVertexBuffer8* b = CrearBuffer(dev, cuadro, 4);
    (void)dev->SetStreamSource(0, b, sizeof(VerticeColor));
    (void)dev->SetVertexShader(FVF_COLOR);
    ASSERT_EQ(dev->DrawPrimitive(D3DPT_TRIANGLESTRIP, 0, 2), D3D_OK);
    ASSERT_TRUE(s->CambiarTamano(32, 16));
    EXPECT_FALSE(s->CambiarTamano(0, 16));
    // No Clear, no BeginScene: the draw alone must pick the new viewport up.
    ASSERT_EQ(dev->DrawPrimitive(D3DPT_TRIANGLESTRIP, 0, 2), D3D_OK);
    EXPECT_EQ(LeerPixeles(*s), std::vector<uint32_t>(32 * 16, kAzul));
    b->Release();
    dev->Release();
}

} // namespace
