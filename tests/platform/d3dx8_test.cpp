#include "EntornoGL.h"
#include "d3dx8.h"

#include <stb_image_write.h>

#include <cmath>
#include <cstdio>
#include <fstream>
#include <unistd.h>

namespace {

void EsperarMatriz(const D3DXMATRIX& m, const float (&esperada)[4][4]) {
    for (int f = 0; f < 4; ++f)
        for (int c = 0; c < 4; ++c)
            EXPECT_NEAR(m.m[f][c], esperada[f][c], 1e-5f) << "fila " << f << " columna " << c;
}

TEST(D3DXMatrices, ValenLoQueDaD3DX) {
    D3DXMATRIX m;
    const D3DXVECTOR3 ojo{0, 0, 500}, centro{0, 0, 0}, arriba{0, 1, 0};
    D3DXMatrixLookAtLH(&m, &ojo, &centro, &arriba);
    EsperarMatriz(m, {{-1, 0, 0, 0}, {0, 1, 0, 0}, {0, 0, -1, 0}, {0, 0, 500, 1}});
    D3DXMatrixPerspectiveFovLH(&m, float(M_PI / 4), 2.f, 1.f, 3000.f);
    const float y = 1.f / std::tan(float(M_PI / 8)), q = 3000.f / 2999.f;
    EsperarMatriz(m, {{y / 2, 0, 0, 0}, {0, y, 0, 0}, {0, 0, q, 1}, {0, 0, -q, 0}});
    const float c = std::cos(0.3f), s = std::sin(0.3f);
    D3DXMatrixRotationY(&m, 0.3f);
    EsperarMatriz(m, {{c, 0, -s, 0}, {0, 1, 0, 0}, {s, 0, c, 0}, {0, 0, 0, 1}});
}

TEST(D3DXMatrices, MultiplicanEnElOrdenDeLosVectoresFila) {
    D3DXMATRIX a, b, ab, esperada;
    D3DXMatrixRotationY(&a, 0.4f);
    D3DXMatrixRotationY(&b, 0.9f);
    D3DXMatrixMultiply(&ab, &a, &b);
    D3DXMatrixRotationY(&esperada, 1.3f);
    EsperarMatriz(ab, esperada.m);
    // Move to x = 5, then a quarter turn about y: the point ends on -z. The other order: x = 5.
    D3DXMATRIX t, r, tr, rt;
    D3DXMatrixIdentity(&t);
    t.m[3][0] = 5;
    D3DXMatrixRotationY(&r, float(M_PI / 2));
    D3DXMatrixMultiply(&tr, &t, &r);
    D3DXMatrixMultiply(&rt, &r, &t);
    EsperarMatriz(tr, {{0, 0, -1, 0}, {0, 1, 0, 0}, {1, 0, 0, 0}, {0, 0, -5, 1}});
    EsperarMatriz(rt, {{0, 0, -1, 0}, {0, 1, 0, 0}, {1, 0, 0, 0}, {5, 0, 0, 1}});
    // The result may be written over either operand.
    D3DXMATRIX t2 = t, r2 = r;
    D3DXMatrixMultiply(&t2, &t2, &r);
    D3DXMatrixMultiply(&r2, &t, &r2);
    EsperarMatriz(t2, tr.m);
    EsperarMatriz(r2, tr.m);
}

TEST_F(PruebaGL, D3DXCreateTextureAcotaTamanoYNiveles) {
    IDirect3DTexture8* t = nullptr;
    EXPECT_EQ(D3DXCreateTexture(dev_, 4097, 16, 1, 0, D3DFMT_UNKNOWN, D3DPOOL_MANAGED, &t),
              D3DERR_INVALIDCALL);
    ASSERT_EQ(D3DXCreateTexture(dev_, 16, 16, 40, 0, D3DFMT_UNKNOWN, D3DPOOL_MANAGED, &t), D3D_OK);
    EXPECT_EQ(t->GetLevelCount(), 5u);
    t->Release();
}

class PruebaArchivo : public PruebaGL {
  protected:
    std::string Ruta(const char* nombre) {
        rutas_.push_back(::testing::TempDir() + "tr4_" + std::to_string(getpid()) + "_" + nombre);
        return rutas_.back();
    }
    HRESULT Cargar(const char* ruta, UINT ancho, UINT alto, IDirect3DTexture8** t) {
        return D3DXCreateTextureFromFileExA(dev_, ruta, ancho, alto, 1, 0, D3DFMT_UNKNOWN,
                                            D3DPOOL_MANAGED, D3DX_DEFAULT, D3DX_DEFAULT, 0, nullptr,
                                            nullptr, t);
    }
    void TearDown() override {
        for (auto& r : rutas_)
            std::remove(r.c_str());
        PruebaGL::TearDown();
    }
    std::vector<std::string> rutas_;
};

TEST_F(PruebaArchivo, LeeUnBMPYLoEscalaAlTamanoPedido) {
    // 8x4: left half red, right half blue, bottom row green.
    std::vector<uint8_t> rgb(8 * 4 * 3);
    for (int i = 0; i < 32; ++i) {
        const int x = i % 8, y = i / 8;
        rgb[i * 3 + 0] = (y < 3 && x < 4) ? 255 : 0;
        rgb[i * 3 + 1] = y == 3 ? 255 : 0;
        rgb[i * 3 + 2] = (y < 3 && x >= 4) ? 255 : 0;
    }
    const std::string ruta = Ruta("imagen.bmp");
    ASSERT_TRUE(stbi_write_bmp(ruta.c_str(), 8, 4, 3, rgb.data()));

    IDirect3DTexture8* t = nullptr;
    ASSERT_EQ(Cargar(ruta.c_str(), 256, 256, &t), D3D_OK);
    D3DLOCKED_RECT lr{};
    ASSERT_EQ(t->LockRect(0, &lr, nullptr, 0), D3D_OK);
    ASSERT_EQ(lr.Pitch, 256 * 4);
    auto texel = [&](int x, int y) { return static_cast<uint32_t*>(lr.pBits)[y * 256 + x]; };
    EXPECT_EQ(texel(0, 0), kRojo);
    EXPECT_EQ(texel(127, 191), kRojo);
    EXPECT_EQ(texel(128, 0), kAzul);
    EXPECT_EQ(texel(255, 191), kAzul);
    EXPECT_EQ(texel(0, 192), kVerde);
    EXPECT_EQ(texel(255, 255), kVerde);
    (void)t->UnlockRect(0);
    t->Release();
    // Without a size the image keeps its own.
    ASSERT_EQ(Cargar(ruta.c_str(), D3DX_DEFAULT, 0, &t), D3D_OK);
    D3DSURFACE_DESC d{};
    (void)t->GetLevelDesc(0, &d);
    EXPECT_EQ(d.Width, 8u);
    EXPECT_EQ(d.Height, 4u);
    t->Release();
}

TEST_F(PruebaArchivo, RechazaLoQueNoEsUnaImagenOPideDemasiado) {
    const std::string texto = Ruta("texto.bmp"), enorme = Ruta("enorme.bmp");
    std::ofstream(texto) << "esto no es una imagen\n";
    const uint8_t negro[3] = {};
    ASSERT_TRUE(stbi_write_bmp(enorme.c_str(), 1, 1, 3, negro));
    {
        // The header now claims 100000 x 100000 pixels.
        std::fstream f(enorme, std::ios::in | std::ios::out | std::ios::binary);
        const int32_t lado[2] = {100000, 100000};
        f.seekp(18);
        f.write(reinterpret_cast<const char*>(lado), 8);
    }
    for (const char* ruta :
         {(const char*)nullptr, "/no/existe.bmp", texto.c_str(), enorme.c_str()}) {
        IDirect3DTexture8* t = nullptr;
        EXPECT_TRUE(FAILED(Cargar(ruta, 256, 256, &t))) << (ruta ? ruta : "(null)");
        EXPECT_EQ(t, nullptr);
    }
}

} // namespace
