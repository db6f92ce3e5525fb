#include "Grabacion.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <filesystem>
#include <fstream>

#include <sys/stat.h>

using V = std::vector<std::string>;

namespace {

bool EsIdentidad(const D3DXMATRIX& m) {
    for (int f = 0; f < 4; ++f)
        for (int c = 0; c < 4; ++c)
            if (m.m[f][c] != (f == c ? 1.f : 0.f))
                return false;
    return true;
}

// Where a row vector lands under a D3DX-layout matrix.
std::array<float, 4> Transformar(const D3DMATRIX& m, std::array<float, 4> p) {
    std::array<float, 4> r{};
    for (int c = 0; c < 4; ++c)
        for (int f = 0; f < 4; ++f)
            r[c] += p[f] * m.m[f][c];
    return r;
}

} // namespace

TEST(dxDevice8, LimpiarFormaElColorConLosOchoBitsBajosDeCadaCanal) {
    DispositivoGrabado d;
    (void)d.dispositivo.Limpiar(1);
    (void)d.dispositivo.SetColorFondo(300, 0, 0);
    (void)d.dispositivo.Limpiar(1);
    (void)d.dispositivo.SetColorFondo(0, 256 + 0x12, -1);
    (void)d.dispositivo.Limpiar(0);
    EXPECT_EQ(d.registro->Llamadas,
              (V{"Clear(0, null, 3, 0xff000000, 1, 0)", "Clear(0, null, 3, 0xff2c0000, 1, 0)",
                 "Clear(0, null, 1, 0xff0012ff, 1, 0)"}));
}

TEST(dxDevice8, SinDispositivoNadaSeHaceYSeRespondeConFallo) {
    dxDevice8 d;
    dxBufferTextura b;
    (void)b.AgregarPoligono(Triangulo(1));
    const uint8_t texels[16] = {};
    EXPECT_EQ(d.SetColorFondo(1, 2, 3), D3D_OK);
    EXPECT_EQ(d.Limpiar(1), E_FAIL);
    EXPECT_EQ(d.Presentar(), E_FAIL);
    EXPECT_EQ(d.SetProyeccion(1, 3000, 1, 0.785f), E_FAIL);
    EXPECT_EQ(d.SetOjo(1, 2, 3), E_FAIL);
    EXPECT_EQ(d.SetObjetivo(1, 2, 3), E_FAIL);
    EXPECT_EQ(d.TexturaDeArchivo("Solido.bmp"), nullptr);
    EXPECT_EQ(d.TexturaDeMemoria(2, 2, D3DFMT_A8R8G8B8, texels), nullptr);
    EXPECT_EQ(d.CargarBuffer(&b), E_FAIL);
    EXPECT_EQ(d.DibujarBuffer(&b, 0), E_FAIL);
    // The buffer was not built or consumed by the refused upload.
    EXPECT_EQ(b.GetVertices(), nullptr);
    D3DXVECTOR3 ojo = d.GetOjo();
    EXPECT_EQ(ojo.x + ojo.y + ojo.z, 0.f);
}

TEST(dxDevice8, ProyeccionYCamaraSonLasDeD3DXConSusArgumentosEnOrden) {
    DispositivoGrabado d;
    (void)d.dispositivo.SetProyeccion(1.0f, 3000.0f, 2.0f, float(M_PI / 4));
    (void)d.dispositivo.SetOjo(0, 0, 500);
    (void)d.dispositivo.SetObjetivo(0, 0, 0);
    EXPECT_EQ(d.registro->Llamadas, (V{"SetTransform(D3DTS_PROJECTION)", "SetTransform(D3DTS_VIEW)",
                                       "SetTransform(D3DTS_VIEW)"}));

    const D3DMATRIX& p = d.registro->Transformaciones[0].second;
    const float y = 1.f / std::tan(float(M_PI / 8));
    EXPECT_NEAR(p.m[1][1], y, 1e-5);       // field of view, not width/height
    EXPECT_NEAR(p.m[0][0], y / 2.f, 1e-5); // twice as wide as high narrows x
    EXPECT_NEAR(p.m[2][2], 3000.f / 2999.f, 1e-6);
    EXPECT_NEAR(p.m[3][2], -3000.f / 2999.f, 1e-6); // near 1 lands on depth 0
    EXPECT_EQ(p.m[2][3], 1.f);

    // The second view build sees both vectors: the origin stands 500 ahead, and with the eye on
    // +z looking back, +x of the world shows on the left.
    const D3DMATRIX& v = d.registro->Transformaciones[2].second;
    auto origen = Transformar(v, {0, 0, 0, 1});
    EXPECT_NEAR(origen[2], 500.f, 1e-3);
    EXPECT_NEAR(Transformar(v, {1, 0, 0, 1})[0], -1.f, 1e-5);
    EXPECT_NEAR(Transformar(v, {0, 1, 0, 1})[1], 1.f, 1e-5);
    // The first build had the target at its old value, the origin: the same view here.
    EXPECT_EQ(std::memcmp(&d.registro->Transformaciones[1].second, &v, sizeof v), 0);
}

TEST(dxDevice8, CargarBufferCopiaLosVerticesConstruidosEnUnBufferNuevo) {
    DispositivoGrabado d;
    dxBufferTextura b;
    (void)b.AgregarPoligono(Triangulo(1));
    (void)b.AgregarPoligono(Cuadrado(2));
    (void)b.AgregarPoligono(Triangulo(3));
    ASSERT_EQ(d.dispositivo.CargarBuffer(&b), D3D_OK);
    EXPECT_EQ(d.registro->Llamadas, (V{"CreateVertexBuffer(200, 0, 0x102, D3DPOOL_DEFAULT) -> vb1",
                                       "vb1.Lock(0, 200, 0)", "vb1.Unlock()"}));
    const auto& bytes = d.registro->Contenido["vb1"];
    ASSERT_EQ(bytes.size(), 200u);
    EXPECT_EQ(std::memcmp(bytes.data(), b.GetVertices(), 200), 0);
    EXPECT_NE(b.GetVertexBuffer(), nullptr);

    // Unchanged since the upload: nothing to make.
    d.registro->Limpiar();
    EXPECT_EQ(d.dispositivo.CargarBuffer(&b), E_FAIL);
    EXPECT_TRUE(d.registro->Llamadas.empty());

    // Changed again: a new buffer, and the first one goes.
    (void)b.AgregarPoligono(Triangulo(4));
    ASSERT_EQ(d.dispositivo.CargarBuffer(&b), D3D_OK);
    EXPECT_EQ(d.registro->Llamadas.back(), "vb1.Release() -> 0");
    EXPECT_EQ(d.registro->Contenido["vb2"].size(), 260u);
    EXPECT_EQ(d.registro->Vivos, 2); // device and vb2

    dxBufferTextura vacio;
    EXPECT_EQ(d.dispositivo.CargarBuffer(&vacio), E_FAIL);
    EXPECT_EQ(vacio.GetVertexBuffer(), nullptr);
}

TEST(dxDevice8, UnaSubidaRechazadaConservaLaMarcaYNoDejaBuffersHuerfanos) {
    for (const char* falla : {"CreateVertexBuffer", "Lock"}) {
        DispositivoGrabado d;
        dxBufferTextura b;
        (void)b.AgregarPoligono(Triangulo(1));
        d.registro->Fallar = {falla};
        EXPECT_EQ(d.dispositivo.CargarBuffer(&b), E_FAIL) << falla;
        EXPECT_EQ(b.GetVertexBuffer(), nullptr) << falla;
        EXPECT_EQ(d.registro->Vivos, 1) << falla; // only the device
        d.registro->Fallar.clear();
        EXPECT_EQ(d.dispositivo.CargarBuffer(&b), D3D_OK) << falla;
    }
}

TEST(dxDevice8, DibujarBufferEstableceElEstadoDeCadaPrimitivaAntesDeDibujarla) {
    DispositivoGrabado d;
    dxBufferTextura b;
    auto* pagina =
        d.dispositivo.TexturaDeMemoria(1, 1, D3DFMT_A8R8G8B8, std::array<uint8_t, 4>{}.data());
    (void)b.AgregarPoligono(Triangulo(1, 0x08, pagina));
    (void)b.AgregarPoligono(Cuadrado(2, 0x08, pagina));
    (void)b.AgregarPoligono(Triangulo(3, 0x02));
    (void)d.dispositivo.CargarBuffer(&b);
    d.registro->Limpiar();

    EXPECT_EQ(d.dispositivo.DibujarBuffer(&b, 0), D3D_OK);
    EXPECT_EQ(d.registro->Llamadas,
              (V{"SetStreamSource(0, vb1, 20)", "SetVertexShader(0x102)",
                 "SetRenderState(D3DRS_LIGHTING, 0)", "SetTransform(D3DTS_WORLD)", "BeginScene()",
                 "SetTextureStageState(0, D3DTSS_COLOROP, D3DTOP_SELECTARG1)",
                 "SetTextureStageState(0, D3DTSS_COLORARG1, D3DTA_TEXTURE)",
                 "SetTextureStageState(0, D3DTSS_ALPHAOP, D3DTOP_DISABLE)",
                 // the triangle added last comes first: wireframe, no culling, its page
                 "SetRenderState(D3DRS_FILLMODE, D3DFILL_WIREFRAME)",
                 "SetRenderState(D3DRS_CULLMODE, D3DCULL_NONE)", "SetTexture(0, null)",
                 "DrawPrimitive(D3DPT_TRIANGLELIST, 0, 1)",
                 "SetRenderState(D3DRS_FILLMODE, D3DFILL_SOLID)",
                 "SetRenderState(D3DRS_CULLMODE, D3DCULL_NONE)",
                 "SetRenderState(D3DRS_CULLMODE, D3DCULL_CCW)", "SetTexture(0, tex1)",
                 "DrawPrimitive(D3DPT_TRIANGLESTRIP, 3, 2)",
                 "SetRenderState(D3DRS_FILLMODE, D3DFILL_SOLID)",
                 "SetRenderState(D3DRS_CULLMODE, D3DCULL_NONE)",
                 "SetRenderState(D3DRS_CULLMODE, D3DCULL_CCW)", "SetTexture(0, tex1)",
                 "DrawPrimitive(D3DPT_TRIANGLELIST, 7, 1)", "EndScene()"}));
    EXPECT_EQ(d.registro->DibujosFueraDeRango, 0);
    pagina->Release();
}

// Additive faces go after the rest of the buffer, over the depth it left and without writing
// their own; alpha-tested ones test the texel's alpha; every blend state is put back after.
TEST(dxDevice8, LasCarasAditivasVanAlFinalYLasRecortadasPruebanElAlfa) {
    DispositivoGrabado d;
    dxBufferTextura b;
    (void)b.AgregarPoligono(Triangulo(1, 0x08 | FLAG_RECORTE));
    (void)b.AgregarPoligono(Triangulo(2, 0x08 | FLAG_ADITIVA));
    (void)b.AgregarPoligono(Triangulo(3, 0x08));
    (void)d.dispositivo.CargarBuffer(&b);
    d.registro->Limpiar();
    (void)d.dispositivo.DibujarBuffer(&b, 0);
    V dibujos;
    for (const std::string& l : d.registro->Desde("SetTextureStageState(0, D3DTSS_ALPHAOP"))
        if (l.find("CULLMODE") == std::string::npos && l.find("FILLMODE") == std::string::npos)
            dibujos.push_back(l);
    EXPECT_EQ(dibujos,
              (V{"SetTextureStageState(0, D3DTSS_ALPHAOP, D3DTOP_DISABLE)",
                 // primitives come out in reverse: the opaque one, then the alpha-tested one
                 "SetTexture(0, null)", "DrawPrimitive(D3DPT_TRIANGLELIST, 0, 1)",
                 "SetTexture(0, null)",
                 "SetTextureStageState(0, D3DTSS_ALPHAOP, D3DTOP_SELECTARG1)",
                 "SetTextureStageState(0, D3DTSS_ALPHAARG1, D3DTA_TEXTURE)",
                 "SetRenderState(D3DRS_ALPHAREF, 0)",
                 "SetRenderState(D3DRS_ALPHAFUNC, D3DCMP_GREATER)",
                 "SetRenderState(D3DRS_ALPHATESTENABLE, 1)",
                 "DrawPrimitive(D3DPT_TRIANGLELIST, 6, 1)",
                 // the additive one, though built between them, last
                 "SetTexture(0, null)", "SetRenderState(D3DRS_SRCBLEND, D3DBLEND_ONE)",
                 "SetRenderState(D3DRS_DESTBLEND, D3DBLEND_ONE)",
                 "SetRenderState(D3DRS_ALPHABLENDENABLE, 1)",
                 "SetRenderState(D3DRS_ZWRITEENABLE, 0)",
                 "DrawPrimitive(D3DPT_TRIANGLELIST, 3, 1)",
                 "SetTextureStageState(0, D3DTSS_ALPHAOP, D3DTOP_DISABLE)",
                 "SetRenderState(D3DRS_ALPHATESTENABLE, 0)",
                 "SetRenderState(D3DRS_ALPHABLENDENABLE, 0)",
                 "SetRenderState(D3DRS_ZWRITEENABLE, 1)", "EndScene()"}));

    // Drawn in two passes, as an object of several meshes does: each takes its own faces.
    for (auto [pasada, dibujados] : {std::pair{dxDevice8::Pasada::Opacas, 2},
                                     std::pair{dxDevice8::Pasada::Aditivas, 1}}) {
        d.registro->Limpiar();
        (void)d.dispositivo.DibujarBuffer(&b, 0, pasada);
        EXPECT_EQ(std::count_if(d.registro->Llamadas.begin(), d.registro->Llamadas.end(),
                                [](const std::string& l) { return l.rfind("DrawPrimitive", 0) == 0; }),
                  dibujados);
        EXPECT_EQ(d.registro->Llamadas.end()[-2].find("ZWRITEENABLE, 1") != std::string::npos,
                  pasada == dxDevice8::Pasada::Aditivas);
    }
    // In wireframe every face is a line, blend modes aside.
    d.registro->Limpiar();
    (void)d.dispositivo.DibujarBuffer(&b, 2);
    for (const std::string& l : d.registro->Llamadas)
        EXPECT_EQ(l.find("ALPHA"), l.find("ALPHAOP")) << l;
}

TEST(dxDevice8, NingunDibujoLeeMasAllaDelBufferSubido) {
    DispositivoGrabado d;
    dxBufferTextura b;
    (void)b.AgregarPoligono(Triangulo(1));
    (void)d.dispositivo.CargarBuffer(&b);
    // Faces added after the upload are not in the device's buffer yet.
    (void)b.AgregarPoligono(Cuadrado(2));
    (void)b.AgregarPoligono(Triangulo(3));
    EXPECT_EQ(d.dispositivo.DibujarBuffer(&b, 0), D3D_OK);
    EXPECT_EQ(d.dispositivo.DibujarBuffer(&b, 2), D3D_OK);
    EXPECT_EQ(d.registro->DibujosFueraDeRango, 0);

    // The recorder itself must see a draw past the end, or the count above proves nothing.
    d.registro->Limpiar();
    auto* dev = d.dispositivo.GetDispositivo();
    (void)dev->DrawPrimitive(D3DPT_TRIANGLELIST, 1, 1);
    EXPECT_EQ(d.registro->DibujosFueraDeRango, 1);
}

TEST(dxDevice8, ModoDosDibujaTodoEnAlambreSinTexturaSeanCualesSeanLasBanderas) {
    DispositivoGrabado d;
    dxBufferTextura b;
    auto* pagina =
        d.dispositivo.TexturaDeMemoria(1, 1, D3DFMT_A8R8G8B8, std::array<uint8_t, 4>{}.data());
    (void)b.AgregarPoligono(Cuadrado(1, 0x08, pagina));
    (void)d.dispositivo.CargarBuffer(&b);
    d.registro->Limpiar();
    (void)d.dispositivo.DibujarBuffer(&b, 2);
    EXPECT_EQ(d.registro->Desde("SetRenderState(D3DRS_FILLMODE"),
              (V{"SetRenderState(D3DRS_FILLMODE, D3DFILL_SOLID)",
                 "SetRenderState(D3DRS_CULLMODE, D3DCULL_NONE)",
                 "SetRenderState(D3DRS_CULLMODE, D3DCULL_CCW)", "SetTexture(0, tex1)",
                 "SetTexture(0, null)", "SetRenderState(D3DRS_FILLMODE, D3DFILL_WIREFRAME)",
                 "DrawPrimitive(D3DPT_TRIANGLESTRIP, 0, 2)", "EndScene()"}));
    pagina->Release();
}

TEST(dxDevice8, AmbasBanderasDeCaraDejanCulladasLasAntihorarias) {
    DispositivoGrabado d;
    dxBufferTextura b;
    (void)b.AgregarPoligono(Triangulo(1, 0x0C));
    (void)d.dispositivo.CargarBuffer(&b);
    d.registro->Limpiar();
    (void)d.dispositivo.DibujarBuffer(&b, 0);
    EXPECT_EQ(d.registro->Desde("SetRenderState(D3DRS_CULLMODE"),
              (V{"SetRenderState(D3DRS_CULLMODE, D3DCULL_NONE)",
                 "SetRenderState(D3DRS_CULLMODE, D3DCULL_CW)",
                 "SetRenderState(D3DRS_CULLMODE, D3DCULL_CCW)", "SetTexture(0, null)",
                 "DrawPrimitive(D3DPT_TRIANGLELIST, 0, 1)", "EndScene()"}));
}

TEST(dxDevice8, ElGiroActuaSoloEnElDibujoSiguiente) {
    DispositivoGrabado d;
    dxBufferTextura b;
    (void)b.AgregarPoligono(Triangulo(1));
    (void)d.dispositivo.CargarBuffer(&b);
    b.RotarY(0.5f);
    (void)d.dispositivo.DibujarBuffer(&b, 0);
    D3DXMATRIX esperado, mundo;
    D3DXMatrixRotationY(&esperado, 0.5f);
    EXPECT_EQ(std::memcmp(&d.registro->Transformaciones.back().second, &esperado, sizeof esperado),
              0);
    EXPECT_TRUE(EsIdentidad(*b.GetMundo(&mundo)));

    // A refusal before the world is handed over leaves the turn in place.
    b.RotarY(0.5f);
    d.registro->Fallar = {"SetStreamSource"};
    EXPECT_EQ(d.dispositivo.DibujarBuffer(&b, 0), E_FAIL);
    EXPECT_FALSE(EsIdentidad(*b.GetMundo(&mundo)));
}

TEST(dxDevice8, UnaEscenaVaciaOQueNoEmpiezaNoDibujaNada) {
    DispositivoGrabado d;
    dxBufferTextura vacio;
    EXPECT_EQ(d.dispositivo.DibujarBuffer(&vacio, 0), D3D_OK);
    EXPECT_EQ(d.registro->Desde("EndScene").size(), 1u);
    for (const auto& l : d.registro->Llamadas)
        EXPECT_EQ(l.rfind("DrawPrimitive", 0), std::string::npos);
    EXPECT_EQ(d.registro->Llamadas[0], "SetStreamSource(0, null, 20)");

    dxBufferTextura b;
    (void)b.AgregarPoligono(Triangulo(1));
    (void)d.dispositivo.CargarBuffer(&b);
    d.registro->Limpiar();
    d.registro->Fallar = {"BeginScene"};
    EXPECT_EQ(d.dispositivo.DibujarBuffer(&b, 0), E_FAIL);
    EXPECT_EQ(d.registro->Llamadas.back(), "BeginScene()");
    d.registro->Fallar = {"EndScene"};
    EXPECT_EQ(d.dispositivo.DibujarBuffer(&b, 0), E_FAIL);
    EXPECT_EQ(d.dispositivo.DibujarBuffer(nullptr, 0), E_FAIL);
}

TEST(dxDevice8, TexturaDeMemoriaCopiaFilaPorFilaSegunElPitch) {
    std::vector<uint8_t> texels(256 * 256 * 4);
    for (size_t i = 0; i < texels.size(); ++i)
        texels[i] = uint8_t(i * 7 + i / 1024);

    DispositivoGrabado d;
    IDirect3DTexture8* t = d.dispositivo.TexturaDeMemoria(256, 256, D3DFMT_A8R8G8B8, texels.data());
    ASSERT_NE(t, nullptr);
    EXPECT_EQ(d.registro->Llamadas,
              (V{"CreateTexture(256, 256, 9, 0, D3DFMT_A8R8G8B8, D3DPOOL_MANAGED) -> tex1",
                 "tex1.LockRect(0, null, 0)", "tex1.UnlockRect(0)"}));
    EXPECT_EQ(d.registro->Contenido["tex1"], texels);
    t->Release();

    // A wider pitch: each row lands at its start, the padding stays untouched.
    d.registro->RellenoPitch = 8;
    t = d.dispositivo.TexturaDeMemoria(256, 256, D3DFMT_A8R8G8B8, texels.data());
    const auto& dentro = d.registro->Contenido["tex2"];
    ASSERT_EQ(dentro.size(), 256u * 1032u);
    for (int y : {0, 1, 255}) {
        EXPECT_EQ(std::memcmp(&dentro[y * 1032], &texels[y * 1024], 1024), 0) << y;
        EXPECT_EQ(dentro[y * 1032 + 1024], 0) << y;
    }
    t->Release();
}

TEST(dxDevice8, TexturaDeMemoriaRechazaLoQueNoPuedeLlenarBien) {
    DispositivoGrabado d;
    std::vector<uint8_t> texels(4 * 4 * 4);
    EXPECT_EQ(d.dispositivo.TexturaDeMemoria(4, 4, D3DFMT_D16, texels.data()), nullptr);
    EXPECT_EQ(d.dispositivo.TexturaDeMemoria(0, 4, D3DFMT_A8R8G8B8, texels.data()), nullptr);
    EXPECT_EQ(d.dispositivo.TexturaDeMemoria(4, -4, D3DFMT_A8R8G8B8, texels.data()), nullptr);
    EXPECT_EQ(d.dispositivo.TexturaDeMemoria(4, 4, D3DFMT_A8R8G8B8, nullptr), nullptr);
    EXPECT_TRUE(d.registro->Llamadas.empty());

    // A texture that cannot be locked is let go, not handed out unfilled.
    d.registro->Fallar = {"LockRect"};
    EXPECT_EQ(d.dispositivo.TexturaDeMemoria(4, 4, D3DFMT_A8R8G8B8, texels.data()), nullptr);
    EXPECT_EQ(d.registro->Llamadas.back(), "tex1.Release() -> 0");
    EXPECT_EQ(d.registro->Vivos, 1);
    d.registro->Fallar = {"CreateTexture"};
    EXPECT_EQ(d.dispositivo.TexturaDeMemoria(4, 4, D3DFMT_A8R8G8B8, texels.data()), nullptr);
    EXPECT_EQ(d.dispositivo.TexturaDeArchivo("/no/existe/Solido.bmp"), nullptr);
}

// The start-up texture ships with no build: its absence costs one look and says nothing, and a
// name that is no plain file (a pipe would block the open) is not opened at all.
TEST(dxDevice8, TexturaDeArchivoAusenteNoDiceNadaYSeBuscaUnaVez) {
    namespace fs = std::filesystem;
    const fs::path carpeta = fs::path(testing::TempDir()) / "texturaDeArchivo";
    fs::remove_all(carpeta);
    fs::create_directories(carpeta);
    const std::string bmp = (carpeta / "Solido.bmp").string();
    const std::string tuberia = (carpeta / "tuberia.bmp").string();
    ASSERT_EQ(mkfifo(tuberia.c_str(), 0600), 0);

    DispositivoGrabado d;
    testing::internal::CaptureStderr();
    EXPECT_EQ(d.dispositivo.TexturaDeArchivo(bmp.c_str()), nullptr);
    EXPECT_EQ(d.dispositivo.TexturaDeArchivo(tuberia.c_str()), nullptr);
    EXPECT_EQ(d.dispositivo.TexturaDeArchivo(carpeta.c_str()), nullptr);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
    EXPECT_TRUE(d.registro->Llamadas.empty());

    // A 2 x 2 BMP of 24 bits, each row padded to 8 bytes.
    std::vector<uint8_t> archivo = {'B', 'M', 70, 0, 0, 0, 0, 0, 0, 0, 54, 0, 0, 0,  40,
                                    0,   0,   0,  2, 0, 0, 0, 2, 0, 0, 0,  1, 0, 24, 0};
    archivo.resize(54, 0);
    archivo.resize(54 + 16, 0x80);
    std::ofstream(bmp, std::ios::binary)
        .write(reinterpret_cast<const char*>(archivo.data()), std::streamsize(archivo.size()));
    // Looked for once: the file put there since is not seen by this device...
    EXPECT_EQ(d.dispositivo.TexturaDeArchivo(bmp.c_str()), nullptr);
    EXPECT_TRUE(d.registro->Llamadas.empty());
    // ...and read by one that never missed it, as the 256 x 256 texture the window asks for.
    DispositivoGrabado otro;
    IDirect3DTexture8* t = otro.dispositivo.TexturaDeArchivo(bmp.c_str());
    ASSERT_NE(t, nullptr);
    ASSERT_FALSE(otro.registro->Llamadas.empty());
    EXPECT_EQ(otro.registro->Llamadas.front().rfind("CreateTexture(256, 256", 0), 0u)
        << otro.registro->Llamadas.front();
    t->Release();
    fs::remove_all(carpeta);
}
