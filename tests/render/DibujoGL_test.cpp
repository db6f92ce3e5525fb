// The device wrapper on real OpenGL (Mesa, no X server): what reaches the pixels.
#include "CargarNivel.h"
#include "EscritorNivel.h"
#include "SuperficieEGL.h"
#include "dxBufferTextura.h"
#include "dxMain.h"
#include "trTextura.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace fixture;

namespace {

constexpr int LADO = 128;
constexpr uint32_t ROJO = 0xFFFF0000, VERDE = 0xFF00FF00, AZUL = 0xFF0000FF, BLANCO = 0xFFFFFFFF,
                   NEGRO = 0xFF000000;
constexpr float U_MAX = 255.f / 256.f;

// The window's set-up on an off-screen surface: black, the viewer's projection, its camera
// on a mesh centred at the origin.
class DibujoGL : public ::testing::Test {
  protected:
    void SetUp() override {
        std::string motivo;
        superficie = SuperficieEGL::Crear(LADO, LADO, &motivo);
        ASSERT_NE(superficie, nullptr) << motivo;
        ASSERT_EQ(principal.IniciarD3D(), D3D_OK);
        ASSERT_EQ(principal.CrearDispositivo(superficie.get(), 1, d), D3D_OK);
        (void)d->SetColorFondo(0, 0, 0);
        (void)d->SetProyeccion(1.0f, 3000.0f, 1.0f, float(M_PI / 4));
        (void)d->SetOjo(0, 0, -1500);
        (void)d->SetObjetivo(0, 0, 0);
    }
    void TearDown() override {
        paginas.reset();
        buffer.reset();
        d.reset();
    }

    // A level of one page: four coloured quadrants.
    void CargarPaginaCuadrantes() {
        NivelFixture n;
        n.paginas = PaginaCuadrantes(ROJO, VERDE, AZUL, BLANCO);
        Bytes archivo = EscribirNivel(n);
        ASSERT_EQ(CargarNivelDeMemoria(archivo.data(), archivo.size(), nivel), 1);
        paginas = std::make_unique<trTextura>(&nivel);
        ASSERT_EQ(paginas->CrearTexturas(d.get()), D3D_OK);
        ASSERT_NE(paginas->GetTextura(0), nullptr);
    }

    // A square facing the camera, corners in strip order: top-left, top-right, bottom-left,
    // bottom-right, which the screen shows clockwise.
    std::unique_ptr<dxCuadradoTex> Cuadrado(float cx, float lado, IDirect3DTexture8* pagina) {
        auto q = std::make_unique<dxCuadradoTex>(0x08);
        float m = lado / 2;
        (void)q->AgregarVertice(cx - m, m, 0);
        (void)q->AgregarVertice(cx + m, m, 0);
        (void)q->AgregarVertice(cx - m, -m, 0);
        (void)q->AgregarVertice(cx + m, -m, 0);
        if (pagina)
            (void)q->SetTextura(pagina, 0, 0, U_MAX, 0, 0, U_MAX, U_MAX, U_MAX);
        return q;
    }

    std::vector<uint32_t> Cuadro(dxBufferTextura& b, int32_t modo) {
        (void)d->Limpiar(1);
        (void)d->DibujarBuffer(&b, modo);
        (void)d->Presentar();
        return LeerPixeles(*superficie);
    }
    static uint32_t En(const std::vector<uint32_t>& p, int x, int y) { return p[y * LADO + x]; }

    // Where a point of the mesh lands on the screen, by the D3DX matrices alone.
    std::pair<int, int> Proyectar(const D3DXMATRIX& mundo, float x, float y, float z) {
        D3DXMATRIX vista = d->GetVista(), proy = d->GetProyeccion(), total;
        D3DXMatrixMultiply(&total, &mundo, &vista);
        D3DXMatrixMultiply(&total, &total, &proy);
        float p[4] = {x, y, z, 1}, r[4] = {};
        for (int c = 0; c < 4; ++c)
            for (int f = 0; f < 4; ++f)
                r[c] += p[f] * total.m[f][c];
        return {int((r[0] / r[3] + 1) / 2 * LADO), int((1 - r[1] / r[3]) / 2 * LADO)};
    }

    dxMain principal;
    std::unique_ptr<SuperficieEGL> superficie;
    std::unique_ptr<dxDevice8> d;
    trNivel nivel;
    std::unique_ptr<trTextura> paginas;
    std::unique_ptr<dxBufferTextura> buffer;
};

} // namespace

TEST_F(DibujoGL, LimpiarPintaElColorConLosOchoBitsBajos) {
    (void)d->SetColorFondo(300, 0, 0x1FF);
    (void)d->Limpiar(1);
    (void)d->Presentar();
    auto p = LeerPixeles(*superficie);
    EXPECT_EQ(En(p, 0, 0), 0xFF2C00FFu);
    EXPECT_EQ(En(p, LADO - 1, LADO - 1), 0xFF2C00FFu);
}

TEST_F(DibujoGL, UnaPaginaDeCuadrantesCaeEnSuSitioSobreElCuadrado) {
    CargarPaginaCuadrantes();
    buffer = std::make_unique<dxBufferTextura>();
    (void)buffer->AgregarPoligono(Cuadrado(0, 800, paginas->GetTextura(0)));
    ASSERT_EQ(d->CargarBuffer(buffer.get()), D3D_OK);
    auto p = Cuadro(*buffer, 0);

    D3DXMATRIX identidad;
    D3DXMatrixIdentity(&identidad);
    auto [x0, y0] = Proyectar(identidad, -400, 400, 0);
    auto [x1, y1] = Proyectar(identidad, 400, -400, 0);
    ASSERT_LT(x0 + 8, x1);
    EXPECT_EQ(En(p, x0 + 3, y0 + 3), ROJO);
    EXPECT_EQ(En(p, x1 - 3, y0 + 3), VERDE);
    EXPECT_EQ(En(p, x0 + 3, y1 - 3), AZUL);
    EXPECT_EQ(En(p, x1 - 3, y1 - 3), BLANCO);
    EXPECT_EQ(En(p, x0 - 3, y0 - 3), NEGRO);
    EXPECT_EQ(En(p, 2, LADO / 2), NEGRO);
}

TEST_F(DibujoGL, ElModoAlambreDejaElInteriorVacioYSinTextura) {
    CargarPaginaCuadrantes();
    buffer = std::make_unique<dxBufferTextura>();
    (void)buffer->AgregarPoligono(Cuadrado(0, 800, paginas->GetTextura(0)));
    (void)d->CargarBuffer(buffer.get());
    auto p = Cuadro(*buffer, 2);

    D3DXMATRIX identidad;
    D3DXMatrixIdentity(&identidad);
    auto [x0, y0] = Proyectar(identidad, -400, 400, 0);
    auto [x1, y1] = Proyectar(identidad, 400, -400, 0);
    int blancos = 0, otros = 0;
    for (uint32_t c : p) {
        blancos += c == BLANCO;
        otros += c != BLANCO && c != NEGRO;
    }
    EXPECT_EQ(otros, 0) << "no texel may show in wireframe";
    EXPECT_GT(blancos, 3 * (x1 - x0)) << "the edges are drawn";
    EXPECT_EQ(En(p, (x0 + x1) / 3, (y0 + y1) / 2), NEGRO);
}

TEST_F(DibujoGL, UnGiroConocidoLlevaElCuadradoDondeDicenLasMatrices) {
    CargarPaginaCuadrantes();
    buffer = std::make_unique<dxBufferTextura>();
    // A small square off the axis, so the turn's direction shows.
    (void)buffer->AgregarPoligono(Cuadrado(500, 100, paginas->GetTextura(0)));
    (void)d->CargarBuffer(buffer.get());
    const float angulo = 1.2f;
    buffer->RotarY(angulo);
    D3DXMATRIX giro;
    D3DXMatrixRotationY(&giro, angulo);
    auto p = Cuadro(*buffer, 0);

    auto [x, y] = Proyectar(giro, 500, 0, 0);
    auto [xEspejo, yEspejo] = Proyectar(giro, -500, 0, 0);
    EXPECT_NE(En(p, x, y), NEGRO) << x << "," << y;
    EXPECT_EQ(En(p, xEspejo, yEspejo), NEGRO);
    // The turn is for that draw only: the next frame shows the square where it was made.
    auto q = Cuadro(*buffer, 0);
    D3DXMATRIX identidad;
    D3DXMatrixIdentity(&identidad);
    auto [xQuieto, yQuieto] = Proyectar(identidad, 500, 0, 0);
    EXPECT_NE(En(q, xQuieto, yQuieto), NEGRO);
    EXPECT_GT(std::abs(xQuieto - x), 4);
}

TEST_F(DibujoGL, VueltoDeEspaldasElCuadradoSeDescarta) {
    CargarPaginaCuadrantes();
    buffer = std::make_unique<dxBufferTextura>();
    (void)buffer->AgregarPoligono(Cuadrado(0, 800, paginas->GetTextura(0)));
    (void)d->CargarBuffer(buffer.get());
    buffer->RotarY(float(M_PI));
    auto p = Cuadro(*buffer, 0);
    for (uint32_t c : p)
        ASSERT_EQ(c, NEGRO);
    // Turned to face the camera again it shows.
    buffer->RotarY(float(2 * M_PI));
    p = Cuadro(*buffer, 0);
    EXPECT_NE(En(p, LADO / 2, LADO / 2), NEGRO);
}
