#include "EntornoGL.h"

namespace {

TEST_F(PruebaGL, ElBufferSeBloqueaUnaVezDentroDeSuLongitudYConservaLoDemas) {
    std::vector<BYTE> bytes(64);
    for (int i = 0; i < 64; ++i)
        bytes[i] = BYTE(i);
    IDirect3DVertexBuffer8* b = CrearBuffer(dev_, bytes.data(), 64);
    buffers_.push_back(b);
    BYTE* p = nullptr;
    EXPECT_EQ(b->Lock(60, 8, &p, 0), D3DERR_INVALIDCALL);
    ASSERT_EQ(b->Lock(16, 4, &p, 0), D3D_OK);
    EXPECT_EQ(b->Lock(0, 0, &p, 0), D3DERR_INVALIDCALL);
    EXPECT_EQ(p[0], 16);
    p[0] = 200;
    ASSERT_EQ(b->Unlock(), D3D_OK);
    EXPECT_EQ(b->Unlock(), D3DERR_INVALIDCALL);
    ASSERT_EQ(b->Lock(0, 0, &p, 0), D3D_OK);
    EXPECT_EQ(
        std::vector<BYTE>(p, p + 20),
        std::vector<BYTE>({0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 200, 17, 18, 19}));
    (void)b->Unlock();
}

TEST_F(PruebaGL, LaTexturaCuentaSusNivelesYSoloBloqueaElPrimero) {
    IDirect3DTexture8* t = nullptr;
    ASSERT_EQ(dev_->CreateTexture(256, 64, 0, 0, D3DFMT_UNKNOWN, D3DPOOL_MANAGED, &t), D3D_OK);
    EXPECT_EQ(t->GetLevelCount(), 9u);
    D3DSURFACE_DESC d{};
    ASSERT_EQ(t->GetLevelDesc(7, &d), D3D_OK);
    EXPECT_EQ(d.Format, D3DFMT_A8R8G8B8);
    EXPECT_EQ(d.Width, 2u);
    EXPECT_EQ(d.Height, 1u);
    D3DLOCKED_RECT lr{};
    EXPECT_EQ(t->LockRect(1, &lr, nullptr, 0), D3DERR_INVALIDCALL);
    ASSERT_EQ(t->LockRect(0, &lr, nullptr, 0), D3D_OK);
    EXPECT_EQ(lr.Pitch, 256 * 4);
    static_cast<uint32_t*>(lr.pBits)[256 * 10 + 20] = 0xFF123456;
    ASSERT_EQ(t->UnlockRect(0), D3D_OK);
    // A rectangle lock points at its corner and sees the earlier upload.
    const RECT r{20, 10, 30, 12};
    ASSERT_EQ(t->LockRect(0, &lr, &r, 0), D3D_OK);
    EXPECT_EQ(static_cast<uint32_t*>(lr.pBits)[0], 0xFF123456u);
    (void)t->UnlockRect(0);
    EXPECT_EQ(t->Release(), 0u);
}

// Releasing what is bound leaves the device drawing without it, never with a dead name.
TEST_F(PruebaGL, SoltarLoQueEstaEnUsoLoDesata) {
    auto textura = [&](D3DCOLOR c) {
        IDirect3DTexture8* t = nullptr;
        D3DLOCKED_RECT lr{};
        (void)dev_->CreateTexture(1, 1, 1, 0, D3DFMT_X8R8G8B8, D3DPOOL_MANAGED, &t);
        (void)t->LockRect(0, &lr, nullptr, 0);
        *static_cast<uint32_t*>(lr.pBits) = c;
        (void)t->UnlockRect(0);
        return t;
    };
    IDirect3DTexture8* roja = textura(kRojo);
    (void)dev_->SetTexture(0, roja);
    ASSERT_EQ(Dibujar(Cuadro()), D3D_OK);
    EXPECT_EQ(Pixel(5, 5), kRojo);
    roja->Release();
    ASSERT_EQ(Dibujar(Cuadro()), D3D_OK);
    EXPECT_EQ(Pixel(5, 5), kBlanco);
    IDirect3DTexture8* verde = textura(0x0000FF00); // X8R8G8B8 ignores alpha
    (void)dev_->SetTexture(0, verde);
    ASSERT_EQ(Dibujar(Cuadro()), D3D_OK);
    EXPECT_EQ(Pixel(5, 5), kVerde);
    verde->Release();

    IDirect3DVertexBuffer8* b = nullptr;
    (void)dev_->CreateVertexBuffer(48, 0, 0, D3DPOOL_MANAGED, &b);
    (void)dev_->SetStreamSource(0, b, sizeof(VerticeColor));
    b->Release();
    EXPECT_EQ(dev_->DrawPrimitive(D3DPT_TRIANGLELIST, 0, 1), D3DERR_INVALIDCALL);
}

TEST(RecursosGL, SobrevivenAlDispositivoYALaSuperficie) {
    auto superficie = SuperficieEGL::Crear(8, 8);
    if (!superficie)
        GTEST_FAIL() << "sin OpenGL sin superficie";
    IDirect3DDevice8* dev = CrearDispositivo(superficie.get());
    IDirect3DTexture8* t = nullptr;
    IDirect3DVertexBuffer8* b = nullptr;
    ASSERT_EQ(dev->CreateTexture(4, 4, 1, 0, D3DFMT_A8R8G8B8, D3DPOOL_MANAGED, &t), D3D_OK);
    ASSERT_EQ(dev->CreateVertexBuffer(32, 0, 0, D3DPOOL_MANAGED, &b), D3D_OK);
    (void)dev->SetTexture(0, t);
    (void)dev->SetStreamSource(0, b, 16);
    EXPECT_EQ(dev->Release(), 0u);
    BYTE* p = nullptr;
    EXPECT_EQ(b->Lock(0, 0, &p, 0), D3DERR_INVALIDCALL);
    superficie.reset();
    EXPECT_EQ(t->Release(), 0u);
    EXPECT_EQ(b->Release(), 0u);
}

} // namespace
