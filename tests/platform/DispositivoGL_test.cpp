#include "EntornoGL.h"
#include "Lotes8.h"
#include "d3dx8.h"

#include <cmath>

namespace {

TEST_F(PruebaGL, CreaSoloConSuVersionYUnaSuperficieYAnidaEscenasComoDirect3D) {
    EXPECT_EQ(Direct3DCreate8(D3D_SDK_VERSION - 1), nullptr);
    IDirect3D8* d3d = Direct3DCreate8(D3D_SDK_VERSION);
    D3DPRESENT_PARAMETERS p{};
    auto* intacto = reinterpret_cast<IDirect3DDevice8*>(0x1234);
    IDirect3DDevice8* dev = intacto;
    EXPECT_EQ(d3d->CreateDevice(0, D3DDEVTYPE_HAL, nullptr, 0, &p, &dev), D3DERR_INVALIDCALL);
    EXPECT_EQ(d3d->CreateDevice(0, D3DDEVTYPE_HAL, superficie_.get(), 0, nullptr, &dev),
              D3DERR_INVALIDCALL);
    EXPECT_EQ(dev, intacto);
    EXPECT_EQ(d3d->Release(), 0u);

    EXPECT_EQ(dev_->EndScene(), D3DERR_INVALIDCALL);
    EXPECT_EQ(dev_->BeginScene(), D3D_OK);
    EXPECT_EQ(dev_->BeginScene(), D3DERR_INVALIDCALL);
    EXPECT_EQ(dev_->EndScene(), D3D_OK);
}

TEST_F(PruebaGL, ClearPintaElColorYSusRectangulosCuentanDesdeArriba) {
    EXPECT_EQ(Pixel(63, 63), kFondo);
    const D3DRECT r{0, 0, 16, 8};
    ASSERT_EQ(dev_->Clear(1, &r, D3DCLEAR_TARGET, kRojo, 1.f, 0), D3D_OK);
    EXPECT_EQ(Pixel(0, 0), kRojo);
    EXPECT_EQ(Pixel(15, 7), kRojo);
    EXPECT_EQ(Pixel(16, 7), kFondo);
    EXPECT_EQ(Pixel(15, 8), kFondo);
    // The rectangle's scissor must not linger.
    (void)dev_->Clear(0, nullptr, D3DCLEAR_TARGET, kAzul, 1.f, 0);
    EXPECT_EQ(Pixel(40, 40), kAzul);
}

// Seen on screen the left triangle turns clockwise, the right one counter-clockwise.
TEST_F(PruebaGL, CadaModoDeCullQuitaSuSentidoDeGiro) {
    const std::vector<VerticeColor> ambos = {
        {Ndc(4), NdcY(40), .5f, kRojo},   {Ndc(16), NdcY(8), .5f, kRojo},
        {Ndc(28), NdcY(40), .5f, kRojo},  {Ndc(36), NdcY(40), .5f, kVerde},
        {Ndc(60), NdcY(40), .5f, kVerde}, {Ndc(48), NdcY(8), .5f, kVerde}};
    const struct {
        DWORD cull;
        D3DCOLOR izquierda, derecha;
    } casos[] = {{D3DCULL_NONE, kRojo, kVerde},
                 {D3DCULL_CCW, kRojo, kFondo},
                 {D3DCULL_CW, kFondo, kVerde},
                 {D3DCULL_NONE, kRojo, kVerde}};
    for (const auto& c : casos) {
        (void)dev_->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, kFondo, 1.f, 0);
        (void)dev_->SetRenderState(D3DRS_CULLMODE, c.cull);
        ASSERT_EQ(Dibujar(ambos, D3DPT_TRIANGLELIST, 2), D3D_OK);
        EXPECT_EQ(Pixel(16, 30), c.izquierda) << "cull " << c.cull;
        EXPECT_EQ(Pixel(48, 30), c.derecha) << "cull " << c.cull;
    }
}

TEST_F(PruebaGL, AlambreDibujaLosBordesYDejaElInterior) {
    (void)dev_->SetRenderState(D3DRS_FILLMODE, D3DFILL_WIREFRAME);
    ASSERT_EQ(Dibujar(Rectangulo(16, 16, 48, 48, kVerde)), D3D_OK);
    const auto px = LeerPixeles(*superficie_);
    auto en = [&](int x, int y) { return px[y * kLado + x]; };
    EXPECT_EQ(en(32, 16), kVerde);
    EXPECT_EQ(en(16, 32), kVerde);
    EXPECT_EQ(en(48, 32), kVerde);
    EXPECT_EQ(en(24, 24), kFondo);
    EXPECT_EQ(en(40, 40), kFondo);
    // The next primitive is solid again.
    (void)dev_->SetRenderState(D3DRS_FILLMODE, D3DFILL_SOLID);
    ASSERT_EQ(Dibujar(Rectangulo(16, 16, 48, 48, kRojo)), D3D_OK);
    EXPECT_EQ(Pixel(24, 24), kRojo);
}

TEST_F(PruebaGL, SinTexturaCadaFormatoTomaSuDifusoYSinDifusoEsBlanco) {
    ASSERT_EQ(Dibujar(Rectangulo(0, 0, 31, 63, 0xFF804020)), D3D_OK);
    // Colour = texture, as the viewer sets the stage.
    (void)dev_->SetTextureStageState(0, D3DTSS_COLOROP, D3DTOP_SELECTARG1);
    (void)dev_->SetTextureStageState(0, D3DTSS_COLORARG1, D3DTA_TEXTURE);
    ASSERT_EQ(Dibujar(std::vector<VerticeTextura>{{Ndc(32), NdcY(0), .5f, 0, 0},
                                                  {Ndc(63), NdcY(0), .5f, 1, 0},
                                                  {Ndc(32), NdcY(63), .5f, 0, 1},
                                                  {Ndc(63), NdcY(63), .5f, 1, 1}}),
              D3D_OK);
    EXPECT_EQ(Pixel(10, 10), 0xFF804020u);
    EXPECT_EQ(Pixel(50, 50), kBlanco);
}

class PruebaTextura : public PruebaGL {
  protected:
    void SetUp() override {
        PruebaGL::SetUp();
        if (HasFatalFailure())
            return;
        ASSERT_EQ(dev_->CreateTexture(2, 2, 1, 0, D3DFMT_A8R8G8B8, D3DPOOL_MANAGED, &textura_),
                  D3D_OK);
        D3DLOCKED_RECT lr{};
        ASSERT_EQ(textura_->LockRect(0, &lr, nullptr, 0), D3D_OK);
        auto* p = static_cast<BYTE*>(lr.pBits);
        const uint32_t arriba[2] = {kRojo, kVerde}, abajo[2] = {kAzul, kBlanco};
        std::memcpy(p, arriba, 8);
        std::memcpy(p + lr.Pitch, abajo, 8);
        ASSERT_EQ(textura_->UnlockRect(0), D3D_OK);
        (void)dev_->SetTexture(0, textura_);
    }
    void TearDown() override {
        if (textura_)
            textura_->Release();
        PruebaGL::TearDown();
    }
    IDirect3DTexture8* textura_ = nullptr;
};

TEST_F(PruebaTextura, CadaEsquinaMuestraSuCuadranteSinMezclarYLasCoordenadasSeRepiten) {
    ASSERT_EQ(Dibujar(Cuadro()), D3D_OK); // default stage: texture x white diffuse
    auto px = LeerPixeles(*superficie_);
    EXPECT_EQ(px[2 * kLado + 2], kRojo);
    EXPECT_EQ(px[2 * kLado + 61], kVerde);
    EXPECT_EQ(px[61 * kLado + 2], kAzul);
    EXPECT_EQ(px[61 * kLado + 61], kBlanco);
    EXPECT_EQ(px[2 * kLado + 31], kRojo); // point sampling either side of the texel edge
    EXPECT_EQ(px[2 * kLado + 32], kVerde);

    ASSERT_EQ(Dibujar(Cuadro(2.f)), D3D_OK);
    px = LeerPixeles(*superficie_);
    EXPECT_EQ(px[2 * kLado + 18], kVerde);
    EXPECT_EQ(px[2 * kLado + 34], kRojo);
    EXPECT_EQ(px[50 * kLado + 50], kBlanco);
}

TEST_F(PruebaTextura, LaEtapaEligeEntreTexturaYDifuso) {
    (void)dev_->SetTextureStageState(0, D3DTSS_COLOROP, D3DTOP_SELECTARG2);
    (void)dev_->SetTextureStageState(0, D3DTSS_COLORARG2, D3DTA_DIFFUSE);
    ASSERT_EQ(Dibujar(Cuadro()), D3D_OK);
    EXPECT_EQ(Pixel(2, 2), kBlanco);
    (void)dev_->SetTextureStageState(0, D3DTSS_COLORARG2, D3DTA_TEXTURE);
    ASSERT_EQ(Dibujar(Cuadro()), D3D_OK);
    EXPECT_EQ(Pixel(2, 2), kRojo);
    // A coloured primitive after a textured one, with the texture unset.
    (void)dev_->SetTexture(0, nullptr);
    ASSERT_EQ(Dibujar(Rectangulo(0, 0, 63, 63, kVerde)), D3D_OK);
    EXPECT_EQ(Pixel(2, 2), kVerde);
}

TEST_F(PruebaGL, LaProfundidadVaDeCeroAUnoYGanaLaMasCercana) {
    Dibujar(Rectangulo(0, 0, 40, 40, kRojo, .2f));
    Dibujar(Rectangulo(20, 20, 63, 63, kVerde, .6f));
    Dibujar(Rectangulo(0, 40, 20, 63, kAzul, .6f));
    Dibujar(Rectangulo(0, 40, 20, 63, kRojo, .6f));  // equal depth passes
    Dibujar(Rectangulo(40, 0, 63, 20, kAzul, -.5f)); // in front of the near plane
    const auto px = LeerPixeles(*superficie_);
    EXPECT_EQ(px[30 * kLado + 30], kRojo);
    EXPECT_EQ(px[50 * kLado + 50], kVerde);
    EXPECT_EQ(px[50 * kLado + 10], kRojo);
    EXPECT_EQ(px[10 * kLado + 50], kFondo);
    (void)dev_->Clear(0, nullptr, D3DCLEAR_ZBUFFER, 0, 1.f, 0);
    Dibujar(Rectangulo(20, 20, 63, 63, kVerde, .6f));
    EXPECT_EQ(Pixel(30, 30), kVerde);
}

// Draws within a scene are batched: each must still be drawn with the state set before it, not
// with what is set after it; and a depth clear clears whatever the last draw's write flag was.
TEST_F(PruebaGL, CadaDibujoDeUnaEscenaLlevaElEstadoQueTeniaAlPedirse) {
    // One buffer, so that the draws can join one batch.
    std::vector<VerticeColor> v;
    for (const auto& r :
         {Rectangulo(0, 0, 32, 32, kRojo, .2f), Rectangulo(32, 0, 63, 32, kAzul, .2f),
          Rectangulo(0, 0, 63, 32, kVerde, .6f), Rectangulo(0, 40, 63, 63, kRojo, .5f),
          Rectangulo(32, 40, 63, 63, kVerde, .4f), Rectangulo(0, 0, 2, 2, kRojo, .9f)})
        v.insert(v.end(), r.begin(), r.end());
    (void)dev_->SetStreamSource(0, Buffer(v), sizeof(VerticeColor));
    (void)dev_->SetVertexShader(FVF_COLOR);
    const auto rectangulo = [&](UINT n) {
        return dev_->DrawPrimitive(D3DPT_TRIANGLESTRIP, 4 * n, 2);
    };

    ASSERT_EQ(dev_->BeginScene(), D3D_OK);
    (void)dev_->SetRenderState(D3DRS_ZWRITEENABLE, 0);
    ASSERT_EQ(rectangulo(0), D3D_OK);
    (void)dev_->SetRenderState(D3DRS_ZWRITEENABLE, 1);
    (void)rectangulo(1);
    (void)rectangulo(2);
    // Added over what is there: red, then green on it, is yellow only where blending is on; a
    // hidden blended draw first, so that turning blending on again changes nothing else.
    (void)dev_->SetRenderState(D3DRS_ALPHABLENDENABLE, 1);
    (void)dev_->SetRenderState(D3DRS_SRCBLEND, D3DBLEND_ONE);
    (void)dev_->SetRenderState(D3DRS_DESTBLEND, D3DBLEND_ONE);
    (void)rectangulo(5);
    (void)dev_->SetRenderState(D3DRS_ALPHABLENDENABLE, 0);
    (void)rectangulo(3);
    (void)dev_->SetRenderState(D3DRS_ALPHABLENDENABLE, 1);
    (void)rectangulo(4);
    (void)dev_->SetRenderState(D3DRS_ALPHABLENDENABLE, 0);
    ASSERT_EQ(dev_->EndScene(), D3D_OK);
    EXPECT_EQ(Pixel(10, 10), kVerde) << "the red rectangle wrote depth";
    EXPECT_EQ(Pixel(50, 10), kAzul);
    EXPECT_EQ(Pixel(10, 50), kRojo) << "the red rectangle was blended";
    EXPECT_EQ(Pixel(50, 50), 0xFFFFFF00u);

    (void)dev_->SetRenderState(D3DRS_ZWRITEENABLE, 0);
    (void)rectangulo(5);
    ASSERT_EQ(dev_->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, kFondo, 1.f, 0), D3D_OK);
    (void)dev_->SetRenderState(D3DRS_ZWRITEENABLE, 1);
    (void)rectangulo(2);
    EXPECT_EQ(Pixel(50, 10), kVerde) << "the blue rectangle's depth outlived the clear";
}

// Vertices 20 bytes apart, 16 used: the last one needs only its 16 bytes, never more.
TEST_F(PruebaGL, NuncaLeeFueraDelBuffer) {
    struct Holgado {
        VerticeColor v;
        float relleno;
    };
    const Holgado v[] = {{{Ndc(0), NdcY(0), .5f, kRojo}, 0},
                         {{Ndc(63), NdcY(0), .5f, kVerde}, 0},
                         {{Ndc(0), NdcY(63), .5f, kVerde}, 0},
                         {{Ndc(63), NdcY(63), .5f, kVerde}, 0}};
    IDirect3DVertexBuffer8* b = nullptr;
    BYTE* p = nullptr;
    ASSERT_EQ(dev_->CreateVertexBuffer(3 * 20 + 16, 0, 0, D3DPOOL_MANAGED, &b), D3D_OK);
    buffers_.push_back(b);
    ASSERT_EQ(b->Lock(0, 0, &p, 0), D3D_OK);
    std::memcpy(p, v, 3 * 20 + 16);
    (void)b->Unlock();
    EXPECT_EQ(dev_->DrawPrimitive(D3DPT_TRIANGLELIST, 0, 1), D3DERR_INVALIDCALL); // no stream
    (void)dev_->SetStreamSource(0, b, sizeof(Holgado));
    EXPECT_EQ(dev_->DrawPrimitive(D3DPT_TRIANGLELIST, 0, 1), D3DERR_INVALIDCALL); // no format
    (void)dev_->SetVertexShader(FVF_COLOR);
    EXPECT_EQ(dev_->DrawPrimitive(D3DPT_TRIANGLELIST, 2, 1), D3DERR_INVALIDCALL);
    EXPECT_EQ(dev_->DrawPrimitive(D3DPT_TRIANGLESTRIP, 0, 3), D3DERR_INVALIDCALL);
    EXPECT_EQ(dev_->DrawPrimitive(D3DPT_TRIANGLELIST, 0xFFFFFFFFu, 1), D3DERR_INVALIDCALL);
    EXPECT_EQ(dev_->DrawPrimitive(D3DPT_LINESTRIP, 0, 0xFFFFFFFFu), D3DERR_INVALIDCALL);
    EXPECT_EQ(Pixel(60, 60), kFondo);
    EXPECT_EQ(dev_->DrawPrimitive(D3DPT_TRIANGLELIST, 1, 1), D3D_OK); // the last three
    EXPECT_EQ(Pixel(60, 60), kVerde);
    EXPECT_EQ(Pixel(1, 1), kFondo);
    (void)dev_->SetStreamSource(0, b, 12);
    EXPECT_EQ(dev_->DrawPrimitive(D3DPT_POINTLIST, 0, 1), D3DERR_INVALIDCALL); // stride too short
}

TEST_F(PruebaGL, LasMatricesDeCamaraSituanElPuntoDondeDiceLaCuenta) {
    D3DXMATRIX vista, proyeccion, mundo;
    const D3DXVECTOR3 ojo{0, 0, 500}, centro{0, 0, 0}, arriba{0, 1, 0};
    D3DXMatrixLookAtLH(&vista, &ojo, &centro, &arriba);
    D3DXMatrixPerspectiveFovLH(&proyeccion, float(M_PI / 4), 1.f, 1.f, 3000.f);
    D3DXMatrixIdentity(&mundo);
    (void)dev_->SetTransform(D3DTS_VIEW, &vista);
    (void)dev_->SetTransform(D3DTS_PROJECTION, &proyeccion);
    // World (-100, 50, 0): the view mirrors x, so x_ndc = 100 cot(pi/8) / 500 = 0.483 and
    // y_ndc = 0.241: pixel (47, 24).
    const std::vector<VerticeColor> marca = {
        {-120, 30, 0, kRojo}, {-100, 70, 0, kRojo}, {-80, 30, 0, kRojo}};
    for (float x : {0.f, 200.f}) {
        mundo.m[3][0] = x; // a translation lives in the last row
        (void)dev_->SetTransform(D3DTS_WORLD, &mundo);
        (void)dev_->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, kFondo, 1.f, 0);
        ASSERT_EQ(Dibujar(marca, D3DPT_TRIANGLELIST, 1), D3D_OK);
        const auto px = LeerPixeles(*superficie_);
        EXPECT_EQ(px[24 * kLado + 47], x == 0 ? kRojo : kFondo);
        EXPECT_EQ(px[24 * kLado + 16], x == 0 ? kFondo : kRojo);
    }
}

} // namespace

// Pages of one size share an array texture and each draw's vertices carry their page: a page
// added after others are filled (the array grows), a vertex redrawn with another page, and a
// relock must all keep each page its own texels.
TEST_F(PruebaGL, CadaPaginaDeUnaEscenaPintaLoSuyoAunqueCompartanArreglo) {
    constexpr int kPaginas = 12, kAncho = 5;
    std::vector<IDirect3DTexture8*> paginas;
    auto color = [](int k) {
        return D3DCOLOR(0xFF000000u | (k * 20) << 16 | (250 - k * 20) << 8 | k * 7);
    };
    for (int k = 0; k < kPaginas; ++k) {
        IDirect3DTexture8* t = nullptr;
        D3DLOCKED_RECT lr{};
        ASSERT_EQ(dev_->CreateTexture(1, 1, 1, 0, D3DFMT_A8R8G8B8, D3DPOOL_MANAGED, &t), D3D_OK);
        paginas.push_back(t);
        ASSERT_EQ(t->LockRect(0, &lr, nullptr, 0), D3D_OK);
        *static_cast<D3DCOLOR*>(lr.pBits) = color(k);
        ASSERT_EQ(t->UnlockRect(0), D3D_OK);
    }
    std::vector<VerticeTextura> bandas;
    for (int k = 0; k < kPaginas; ++k) {
        const float x0 = Ndc(k * kAncho - .5f), x1 = Ndc(k * kAncho + kAncho - 1.5f);
        for (VerticeTextura v : {VerticeTextura{x0, 1, .5f, 0, 0},
                                 {x1, 1, .5f, 1, 0},
                                 {x0, -1, .5f, 0, 1},
                                 {x1, -1, .5f, 1, 1}})
            bandas.push_back(v);
    }
    (void)dev_->SetStreamSource(0, Buffer(bandas), sizeof(VerticeTextura));
    (void)dev_->SetVertexShader(FVF_TEXTURA);
    for (int vuelta : {0, 1}) {
        ASSERT_EQ(dev_->BeginScene(), D3D_OK);
        for (int k = 0; k < kPaginas; ++k) {
            (void)dev_->SetTexture(0, paginas[vuelta ? kPaginas - 1 - k : k]);
            ASSERT_EQ(dev_->DrawPrimitive(D3DPT_TRIANGLESTRIP, 4 * k, 2), D3D_OK);
        }
        ASSERT_EQ(dev_->EndScene(), D3D_OK);
        const auto px = LeerPixeles(*superficie_);
        for (int k = 0; k < kPaginas; ++k)
            EXPECT_EQ(px[30 * kLado + k * kAncho + 2], color(vuelta ? kPaginas - 1 - k : k))
                << "vuelta " << vuelta << ", banda " << k;
    }
    D3DLOCKED_RECT lr{};
    ASSERT_EQ(paginas[0]->LockRect(0, &lr, nullptr, 0), D3D_OK);
    EXPECT_EQ(*static_cast<D3DCOLOR*>(lr.pBits), color(0));
    (void)paginas[0]->UnlockRect(0);
    for (auto* t : paginas)
        t->Release();
}

// The batches draw beside the device on its context with their own page array, bound on the
// target the device's pages use: whichever drew last, each samples its own.
TEST_F(PruebaGL, LosLotesYElDispositivoMuestreanCadaUnoSusPaginas) {
    IDirect3DTexture8* roja = nullptr;
    D3DLOCKED_RECT lr{};
    ASSERT_EQ(dev_->CreateTexture(1, 1, 1, 0, D3DFMT_A8R8G8B8, D3DPOOL_MANAGED, &roja), D3D_OK);
    std::unique_ptr<IDirect3DTexture8, void (*)(IDirect3DTexture8*)> soltar(
        roja, [](IDirect3DTexture8* t) { t->Release(); });
    ASSERT_EQ(roja->LockRect(0, &lr, nullptr, 0), D3D_OK);
    *static_cast<D3DCOLOR*>(lr.pBits) = kRojo;
    (void)roja->UnlockRect(0);

    auto lotes = CrearLotes8(dev_);
    ASSERT_TRUE(lotes);
    const std::vector<D3DCOLOR> verde(256 * 256, kVerde);
    ASSERT_EQ(lotes->CargarPaginas(1, reinterpret_cast<const BYTE*>(verde.data())), D3D_OK);
    const VerticeLote tri[3] = {
        {-1, -1, .5f, 0, 0, 0}, {-1, 3, .5f, 0, 0, 0}, {3, -1, .5f, 0, 0, 0}};
    ASSERT_EQ(lotes->CargarVertices(tri, 3), D3D_OK);
    const TramoLote tramo{0, 3, true};
    const D3DMATRIX id = Identidad();

    (void)dev_->SetTexture(0, roja);
    for (int vuelta = 0; vuelta < 2; ++vuelta) {
        ASSERT_EQ(Dibujar(Cuadro()), D3D_OK);
        EXPECT_EQ(Pixel(30, 30), kRojo) << "vuelta " << vuelta;
        ASSERT_EQ(lotes->Dibujar(id, id, &tramo, 1, LOTE_TEXTURIZADO, false), D3D_OK);
        EXPECT_EQ(Pixel(30, 30), kVerde) << "vuelta " << vuelta;
    }
}
