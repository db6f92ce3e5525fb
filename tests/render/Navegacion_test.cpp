// The camera the user drives, checked by where points land in clip space, and what the window
// tells of a mesh on show.
#include "EnVista.h"
#include "Grabacion.h"
#include "Navegacion.h"
#include "trMesh.h"
#include "trNivel.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>

namespace {

float Distancia(D3DXVECTOR3 a, D3DXVECTOR3 b) {
    return std::hypot(a.x - b.x, a.y - b.y, a.z - b.z);
}

bool Iguales(const D3DXMATRIX& a, const D3DXMATRIX& b) {
    for (int i = 0; i < 4; ++i)
        for (int j = 0; j < 4; ++j)
            if (a.m[i][j] != b.m[i][j])
                return false;
    return true;
}

// The six points where the sphere meets the view's axes: right, left, up, down, near, far.
std::array<D3DXVECTOR3, 6> Extremos(const Navegacion& n) {
    const Esfera& e = n.Limite();
    const D3DXVECTOR3 ojo = n.Ojo(), o = n.Objetivo();
    const float d = Distancia(ojo, o);
    const D3DXVECTOR3 f{(o.x - ojo.x) / d, (o.y - ojo.y) / d, (o.z - ojo.z) / d};
    // Left-handed, y up: right = up x forward, then up = forward x right.
    D3DXVECTOR3 r{f.z, 0, -f.x};
    const float lr = std::hypot(r.x, r.z);
    r = {r.x / lr, 0, r.z / lr};
    const D3DXVECTOR3 u{f.y * r.z - f.z * r.y, f.z * r.x - f.x * r.z, f.x * r.y - f.y * r.x};
    auto en = [&](D3DXVECTOR3 dir, float s) {
        return D3DXVECTOR3{e.X + dir.x * s * e.Radio, e.Y + dir.y * s * e.Radio,
                           e.Z + dir.z * s * e.Radio};
    };
    return {en(r, 1), en(r, -1), en(u, 1), en(u, -1), en(f, -1), en(f, 1)};
}

const Esfera ESFERA{100, -50, 20, 400};
const D3DXVECTOR3 CENTRO{130, -60, 10};

} // namespace

TEST(Navegacion, LaVistaInicialEsLaDelVisorGirandoYVuelveConInicio) {
    DispositivoGrabado visor, nav;
    trMesh m;
    m.CentroX = 130, m.CentroY = 60, m.CentroZ = 10;
    ASSERT_EQ(SetProyeccionVisor(visor.dispositivo, 817, 769), D3D_OK);
    ASSERT_EQ(EncuadrarMesh(visor.dispositivo, m), D3D_OK);

    Navegacion n;
    EXPECT_TRUE(n.Girando());
    n.Mostrar(CENTRO, ESFERA);
    ASSERT_EQ(n.Aplicar(nav.dispositivo, 817, 769), D3D_OK);
    auto mismaVista = [&] {
        return Iguales(nav.dispositivo.GetVista(), visor.dispositivo.GetVista()) &&
               Iguales(nav.dispositivo.GetProyeccion(), visor.dispositivo.GetProyeccion());
    };
    EXPECT_TRUE(mismaVista());

    // Moved every way and paused, Inicio gives the very same matrices back, turning.
    n.Orbitar(0.7f, -0.4f);
    n.Acercar(3);
    n.Desplazar(40, -25, 769);
    n.SetGiro(false);
    const float angulo = n.Angulo();
    n.Avanzar(1.0);
    EXPECT_EQ(n.Angulo(), angulo) << "paused";
    ASSERT_EQ(n.Aplicar(nav.dispositivo, 817, 769), D3D_OK);
    EXPECT_FALSE(mismaVista());
    n.Inicio();
    EXPECT_TRUE(n.Inicial() && n.Girando());
    ASSERT_EQ(n.Aplicar(nav.dispositivo, 817, 769), D3D_OK);
    EXPECT_TRUE(mismaVista());
    n.Avanzar(1.0 / 60);
    EXPECT_NEAR(n.Angulo(), angulo + 0.02f, 1e-6f);

    // The turn goes by the clock: a second is the same angle at 30 and at 300 frames a second.
    for (int porSegundo : {30, 300}) {
        Navegacion reloj;
        for (int i = 0; i < porSegundo; ++i)
            reloj.Avanzar(1.0 / porSegundo);
        EXPECT_NEAR(reloj.Angulo(), GIRO_POR_SEGUNDO, 1e-4) << porSegundo << " frames a second";
    }

    // Nothing on show: the camera is left as it was.
    Navegacion vacia;
    DispositivoGrabado d;
    (void)d.dispositivo.SetOjo(1, 2, 3);
    EXPECT_EQ(vacia.Aplicar(d.dispositivo, 817, 769), D3D_OK);
    EXPECT_EQ(d.dispositivo.GetOjo().z, 3.0f);
}

TEST(Navegacion, AjustarPoneLaEsferaDentroDeLaVistaDesdeCualquierLado) {
    for (auto [ancho, alto] : {std::pair{817, 769}, std::pair{200, 600}, std::pair{1200, 300}})
        for (auto [acimut, elevacion] :
             {std::pair{0.f, 0.f}, std::pair{2.f, 1.f}, std::pair{-1.f, -3.f}}) {
            Navegacion n;
            n.Mostrar(CENTRO, ESFERA);
            n.Orbitar(acimut, elevacion);
            n.Desplazar(300, 200, alto);
            n.Ajustar(ancho, alto);
            DispositivoGrabado d;
            ASSERT_EQ(n.Aplicar(d.dispositivo, ancho, alto), D3D_OK);
            float mayor = 0;
            for (const D3DXVECTOR3& p : Extremos(n)) {
                const auto c = Clip(d.dispositivo, p);
                EXPECT_LE(std::abs(c[0]), 1.0f) << ancho << "x" << alto << " " << acimut;
                EXPECT_LE(std::abs(c[1]), 1.0f) << ancho << "x" << alto << " " << acimut;
                EXPECT_GT(c[2], 0.0f);
                EXPECT_LT(c[2], 1.0f);
                mayor = std::max({mayor, std::abs(c[0]), std::abs(c[1])});
            }
            // Filling the view, not lost in it.
            EXPECT_GT(mayor, 0.8f) << ancho << "x" << alto << " " << acimut;
        }

    // From the front it is the very framing the command line uses.
    Navegacion n;
    n.Mostrar(CENTRO, ESFERA);
    n.Ajustar(817, 769);
    DispositivoGrabado a, b;
    ASSERT_EQ(n.Aplicar(a.dispositivo, 817, 769), D3D_OK);
    ASSERT_EQ(EncuadrarEsfera(b.dispositivo, ESFERA.X, ESFERA.Y, ESFERA.Z, ESFERA.Radio, 817, 769),
              D3D_OK);
    EXPECT_TRUE(Iguales(a.dispositivo.GetVista(), b.dispositivo.GetVista()));
    EXPECT_TRUE(Iguales(a.dispositivo.GetProyeccion(), b.dispositivo.GetProyeccion()));
}

TEST(Navegacion, OrbitarGuardaLaDistanciaYNoPasaPorLosPolos) {
    Navegacion n;
    n.Mostrar(CENTRO, ESFERA);
    const float d = Distancia(n.Ojo(), n.Objetivo());
    for (int i = 0; i < 500; ++i) {
        n.Orbitar(0.37f, i < 250 ? 0.05f : -0.09f);
        ASSERT_NEAR(Distancia(n.Ojo(), n.Objetivo()), d, d * 1e-5f) << i;
        // Never straight above or below, where the view's up would be undefined.
        const D3DXVECTOR3 ojo = n.Ojo(), o = n.Objetivo();
        ASSERT_GT(std::hypot(ojo.x - o.x, ojo.z - o.z), d * 0.05f) << i;
    }
    n.Orbitar(NAN, 1);
    EXPECT_TRUE(std::isfinite(n.Ojo().x));

    // Which way: the panel turns a drag into these signs, so that what is under the pointer
    // follows it; from the first view (eye on -z) a positive turn goes right (+x) and up.
    Navegacion m;
    m.Mostrar(CENTRO, ESFERA);
    m.Orbitar(0.5f, 0.25f);
    EXPECT_GT(m.Ojo().x, m.Objetivo().x);
    EXPECT_GT(m.Ojo().y, m.Objetivo().y);
    EXPECT_LT(m.Ojo().z, m.Objetivo().z);
}

TEST(Navegacion, AcercarNuncaPasaElPlanoCercanoYAlejarTieneFin) {
    for (float paso : {1.f, 1000.f}) {
        Navegacion n;
        n.Mostrar(CENTRO, ESFERA);
        for (int i = 0; i < 200; ++i)
            n.Acercar(paso);
        EXPECT_GE(n.Distancia(), n.DistanciaMinima());
        n.Ajustar(817, 769);
        n.Acercar(paso * 50);
        DispositivoGrabado d;
        ASSERT_EQ(n.Aplicar(d.dispositivo, 817, 769), D3D_OK);
        // The target and the whole sphere, its nearest point included, lie past the near plane.
        const auto objetivo = Clip(d.dispositivo, n.Objetivo());
        EXPECT_GT(objetivo[2], 0.0f);
        EXPECT_LT(objetivo[2], 1.0f);
        for (const D3DXVECTOR3& p : Extremos(n)) {
            const auto c = Clip(d.dispositivo, p);
            EXPECT_GT(c[3], 0.0f) << "behind the eye";
            EXPECT_GE(c[2], 0.0f) << "cut by the near plane";
            EXPECT_LE(c[2], 1.0f) << "cut by the far plane";
        }
    }
    // However far out, a finite camera that still sees the sphere.
    Navegacion n;
    n.Mostrar(CENTRO, ESFERA);
    n.Acercar(-1e6f);
    EXPECT_TRUE(std::isfinite(n.Distancia()));
    DispositivoGrabado d;
    ASSERT_EQ(n.Aplicar(d.dispositivo, 817, 769), D3D_OK);
    const auto c = Clip(d.dispositivo, {ESFERA.X, ESFERA.Y, ESFERA.Z});
    EXPECT_GT(c[2], 0.0f);
    EXPECT_LT(c[2], 1.0f);
}

TEST(Navegacion, DesplazarLlevaElPuntoBajoElPunteroConEl) {
    for (float acimut : {0.f, 1.2f}) {
        Navegacion n;
        n.Mostrar(CENTRO, ESFERA);
        n.Orbitar(acimut, 0.5f);
        const D3DXVECTOR3 antes = n.Objetivo();
        const float d = n.Distancia();
        n.Desplazar(80, -30, 769);
        EXPECT_EQ(n.Distancia(), d);
        DispositivoGrabado disp;
        ASSERT_EQ(n.Aplicar(disp.dispositivo, 817, 769), D3D_OK);
        // The old target now sits 80 pixels right and 30 up of the centre (clip y points up).
        const auto c = Clip(disp.dispositivo, antes);
        EXPECT_NEAR(c[0] * 817 / 2, 80.0f, 0.5f) << acimut;
        EXPECT_NEAR(c[1] * 769 / 2, 30.0f, 0.5f) << acimut;
    }
}

TEST(EnVista, UnaMeshCuentaSusCarasSusPaginasYDondeTomaSusTexels) {
    trNivel nivel;
    nivel.TexturasObjeto.resize(4);
    auto esquinas = [](trTexturaObjeto& t, std::array<int, 8> xy) {
        for (int k = 0; k < 4; ++k)
            t.Esquinas[k] = {uint16_t(xy[2 * k] << 8 | 0xFF), uint16_t(xy[2 * k + 1] << 8)};
    };
    nivel.TexturasObjeto[0].Tile = 2;
    esquinas(nivel.TexturasObjeto[0], {0, 0, 64, 0, 64, 32, 0, 32});
    nivel.TexturasObjeto[1].Tile = 0x8001; // a triangle's: the top bit is a flag
    esquinas(nivel.TexturasObjeto[1], {10, 10, 20, 10, 10, 20, 0, 0});
    nivel.TexturasObjeto[2].Tile = 7;      // past the level's pages
    nivel.TexturasObjeto[3].Tile = 0x8001; // on a rectangle, it names no page

    trMesh m;
    m.CentroX = 30, m.CentroY = -10, m.CentroZ = 40;
    m.Vertices = {{100, 0, 0}, {0, -50, 300}, {0, 0, 0}, {10, 10, 10}};
    m.Rectangulos = {{{0, 1, 2, 3}, 0, 0},
                     {{0, 1, 2, 3}, 2, 0},
                     {{0, 1, 2, 3}, 3, 0},
                     {{0, 1, 2, 9}, 0, 0}}; // the last names a vertex the mesh lacks
    m.Triangulos = {{{0, 1, 2}, 1, 0}, {{0, 1, 2}, 99, 0}};

    const EnVista v = EnVistaDeMesh(m, 5);
    EXPECT_EQ(v.Indice, 5);
    const RecuentoVista r = Contar(v, nivel, 3);
    EXPECT_EQ(r.Vertices, 4);
    EXPECT_EQ(r.Rectangulos, 4);
    EXPECT_EQ(r.Triangulos, 2);
    EXPECT_EQ(r.Texturizadas, 2);
    EXPECT_EQ(r.Paginas, (std::vector<int32_t>{1, 2}));

    const auto en2 = ContornosEnPagina(v, nivel, 2);
    ASSERT_EQ(en2.size(), 1u);
    EXPECT_EQ(en2[0].Esquinas, 4);
    EXPECT_EQ((std::vector<float>(en2[0].X, en2[0].X + 4)), (std::vector<float>{0, 64, 64, 0}));
    EXPECT_EQ((std::vector<float>(en2[0].Y, en2[0].Y + 4)), (std::vector<float>{0, 0, 32, 32}));
    const auto en1 = ContornosEnPagina(v, nivel, 1);
    ASSERT_EQ(en1.size(), 1u);
    EXPECT_EQ(en1[0].Esquinas, 3);
    EXPECT_TRUE(ContornosEnPagina(v, nivel, 0).empty());
    EXPECT_TRUE(ContornosEnPagina(v, nivel, -1).empty());

    // Aimed at its stored centre; its limit holds every vertex at every angle of the turn.
    EXPECT_EQ(v.Centro.x, 30.0f);
    EXPECT_EQ(v.Centro.y, 10.0f);
    EXPECT_EQ(v.Centro.z, 40.0f);
    for (float a = 0; a < 6.3f; a += 0.1f)
        for (const trVector16& p : m.Vertices) {
            const float x = p.X * std::cos(a) + p.Z * std::sin(a);
            const float z = -p.X * std::sin(a) + p.Z * std::cos(a);
            EXPECT_LE(std::hypot(x - v.Limite.X, -p.Y - v.Limite.Y, z - v.Limite.Z),
                      v.Limite.Radio * 1.0001f);
        }
}
