// `tr4tool render` end to end on the off-screen OpenGL surface: options, the level, the viewer's
// framing and the PNG read back.
#include "CargarNivel.h"
#include "Comandos.h"
#include "Ejecutar.h"
#include "EscritorNivel.h"
#include "trTextura.h"

#include <gtest/gtest.h>
#include <stb_image.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>
#include <filesystem>
#include <numbers>
#include <set>
#include <sstream>
#include <string>
#include <vector>

namespace {

constexpr uint32_t ROJO = 0xFFFF0000, VERDE = 0xFF00FF00, AZUL = 0xFF0000FF, BLANCO = 0xFFFFFFFF,
                   NEGRO = 0xFF000000;

Resultado Render(std::vector<std::string> args) {
    args.insert(args.begin(), "render");
    return Ejecutar(std::move(args));
}

// Named after the running test: CTest runs the cases of this file side by side.
std::string Temporal(const std::string& nombre) {
    return ::testing::TempDir() + "/render_" +
           ::testing::UnitTest::GetInstance()->current_test_info()->name() + "_" + nombre;
}

struct Imagen {
    int ancho = 0, alto = 0;
    std::vector<uint32_t> pixeles; // 0xAARRGGBB, top row first

    uint32_t En(double x, double y) const { return pixeles[size_t(int(y) * ancho + int(x))]; }
};

Imagen LeerPng(const std::string& ruta) {
    Imagen im;
    int canales = 0;
    stbi_uc* datos = stbi_load(ruta.c_str(), &im.ancho, &im.alto, &canales, 4);
    if (!datos)
        return {};
    for (int i = 0; i < im.ancho * im.alto; ++i) {
        const stbi_uc* p = datos + 4 * i;
        im.pixeles.push_back(uint32_t(p[3]) << 24 | uint32_t(p[0]) << 16 | uint32_t(p[1]) << 8 |
                             p[2]);
    }
    stbi_image_free(datos);
    return im;
}

// Level coordinates of the fixture mesh's centre; off every axis so that a camera that misses the
// y negation or the centre looks past the quad.
constexpr std::array<double, 3> CENTRO = {300, -600, 200};

// One mesh: a quad 800 units wide in the plane z = 200, its corners stored clockwise as the camera
// sees them (level y points down: -1000 is the top), the object texture giving each corner the
// matching corner of a page of four quadrants.
std::string NivelCuadrado() {
    fixture::NivelFixture n;
    n.paginas = fixture::PaginaCuadrantes(ROJO, VERDE, AZUL, BLANCO);
    fixture::TexturaObjetoFixture t;
    using fixture::PIXEL;
    t.esquinas = {{{PIXEL(0), PIXEL(0)},
                   {PIXEL(255), PIXEL(0)},
                   {PIXEL(255), PIXEL(255)},
                   {PIXEL(0), PIXEL(255)}}};
    n.texturasObjeto = {t};
    fixture::MeshFixture m;
    m.centro = {300, -600, 200};
    m.vertices = {{-100, -1000, 200}, {700, -1000, 200}, {700, -200, 200}, {-100, -200, 200}};
    m.rectangulos = {{{0, 1, 2, 3}, 0, 0}};
    n.meshes = {m};
    const std::string ruta = Temporal("cuadrado.tr4");
    EXPECT_TRUE(fixture::GuardarArchivo(ruta, fixture::EscribirNivel(n)));
    return ruta;
}

// Where the viewer's matrices put a level point, worked out by hand: y negated, the turn about y
// of D3DXMatrixRotationY (row vectors), the left-handed eye 1500 before the centre looking along
// +z, and a pi/4 projection with the picture's true width over height.
std::array<double, 2> Proyectar(double x, double y, double z, double angulo, int ancho, int alto) {
    y = -y;
    const double c = std::cos(angulo), s = std::sin(angulo);
    const double xg = x * c + z * s, zg = -x * s + z * c;
    const double vx = xg - CENTRO[0], vy = y + CENTRO[1], vz = zg - (CENTRO[2] - 1500);
    const double f = 1 / std::tan(std::numbers::pi / 8);
    const double nx = vx * f / (double(ancho) / alto) / vz, ny = vy * f / vz;
    return {(nx + 1) / 2 * ancho, (1 - ny) / 2 * alto};
}

// The centre of each quadrant of the quad (level coordinates), in page order.
constexpr std::array<std::array<double, 2>, 4> CUADRANTES = {
    {{100, -800}, {500, -800}, {100, -400}, {500, -400}}};
constexpr std::array<uint32_t, 4> COLORES = {ROJO, VERDE, AZUL, BLANCO};

} // namespace

TEST(tr4toolRender, LosCuadrantesCaenDondeLosPonenLasMatrices) {
    const std::string nivel = NivelCuadrado(), png = Temporal("frente.png");
    // Not square, so a width over height taken as an integer quotient would misplace every column.
    const auto r = Render({nivel, "--mesh", "0", "--out", png, "--size", "200x120"});
    ASSERT_EQ(r.estado, 0) << r.errores;
    EXPECT_TRUE(r.errores.empty());
    EXPECT_NE(r.salida.find(png), std::string::npos) << r.salida;
    const Imagen im = LeerPng(png);
    ASSERT_EQ(im.ancho, 200);
    ASSERT_EQ(im.alto, 120);
    for (int q = 0; q < 4; ++q) {
        auto [x, y] = Proyectar(CUADRANTES[q][0], CUADRANTES[q][1], 200, 0, 200, 120);
        EXPECT_EQ(im.En(x, y), COLORES[q]) << "quadrant " << q << " at " << x << "," << y;
    }
    // Just outside each edge: the black of the clear colour.
    for (auto [px, py] :
         {std::array<double, 2>{-130, -600}, {730, -600}, {300, -1030}, {300, -170}}) {
        auto [x, y] = Proyectar(px, py, 200, 0, 200, 120);
        EXPECT_EQ(im.En(x, y), NEGRO) << x << "," << y;
    }
    std::filesystem::remove(png);
    std::filesystem::remove(nivel);
}

TEST(tr4toolRender, ElAnguloGiraLaMeshYDeEspaldasSeDescarta) {
    const std::string nivel = NivelCuadrado(), png = Temporal("giro.png");
    // Half a turn about y shows the quad's back, wound counter-clockwise on screen: culled.
    auto r = Render({nivel, "--mesh", "0", "--out", png, "--angle", "3.14159265"});
    ASSERT_EQ(r.estado, 0) << r.errores;
    Imagen im = LeerPng(png);
    EXPECT_EQ(im.ancho, 817) << "the panel's size by default";
    EXPECT_EQ(im.alto, 769);
    EXPECT_EQ(std::count(im.pixeles.begin(), im.pixeles.end(), NEGRO), 817 * 769);

    // A small turn brings the right edge nearer and swings the left one back. The top-right
    // quadrant lands where a turn the other way would leave nothing.
    r = Render({nivel, "--mesh", "0", "--out", png, "--angle", "0.5", "--size", "200x120"});
    ASSERT_EQ(r.estado, 0) << r.errores;
    im = LeerPng(png);
    for (int q = 0; q < 4; ++q) {
        auto [x, y] = Proyectar(CUADRANTES[q][0], CUADRANTES[q][1], 200, 0.5, 200, 120);
        EXPECT_EQ(im.En(x, y), COLORES[q]) << "quadrant " << q << " at " << x << "," << y;
    }
    auto [xFuera, yFuera] = Proyectar(-140, -600, 200, 0.5, 200, 120);
    EXPECT_EQ(im.En(xFuera, yFuera), NEGRO);
    auto [xInverso, yInverso] = Proyectar(-50, -600, 200, -0.5, 200, 120);
    EXPECT_EQ(im.En(xInverso, yInverso), NEGRO) << "where a turn the other way puts the quad";
    std::filesystem::remove(png);
    std::filesystem::remove(nivel);
}

TEST(tr4toolRender, ElAlambreDibujaLineasSinTextura) {
    const std::string nivel = NivelCuadrado(), png = Temporal("alambre.png");
    const auto r = Render({nivel, "--mesh", "0", "--out", png, "--wireframe", "--size", "200x120"});
    ASSERT_EQ(r.estado, 0) << r.errores;
    const Imagen im = LeerPng(png);
    ASSERT_EQ(im.pixeles.size(), 200u * 120u);
    int blancos = 0, otros = 0;
    for (uint32_t c : im.pixeles) {
        blancos += c == BLANCO;
        otros += c != BLANCO && c != NEGRO;
    }
    EXPECT_EQ(otros, 0) << "no texel may show";
    auto [x0, y0] = Proyectar(-100, -1000, 200, 0, 200, 120);
    auto [x1, y1] = Proyectar(700, -200, 200, 0, 200, 120);
    EXPECT_GT(blancos, 2 * int(x1 - x0 + y1 - y0)) << "the four edges are drawn";
    // The strip's shared edge runs from the top-right corner to the bottom-left one, so the
    // other two quadrants' centres lie off every line.
    for (int q : {0, 3}) {
        auto [x, y] = Proyectar(CUADRANTES[q][0], CUADRANTES[q][1], 200, 0, 200, 120);
        EXPECT_EQ(im.En(x, y), NEGRO) << "quadrant " << q;
    }
    std::filesystem::remove(png);
    std::filesystem::remove(nivel);
}

TEST(tr4toolRender, CadaFalloSaleConSuCodigoYUnaLinea) {
    const std::string nivel = NivelCuadrado(), png = Temporal("fallo.png");
    std::filesystem::remove(png);
    // Moveable 3 plays animation 0, game frames 0 to 4.
    const std::string animado = Temporal("animado.tr4");
    ASSERT_TRUE(fixture::GuardarArchivo(animado, fixture::EscribirNivel(fixture::NivelAnimado())));
    const struct {
        std::vector<std::string> args;
        std::string dice;
        int estado = 2; // a usage error unless said otherwise
    } casos[] = {
        {{"/no/existe.tr4", "--mesh", "0", "--out", png}, "/no/existe.tr4: ", 1},
        {{nivel, "--mesh", "1", "--out", png}, "de 0 a 0", 1},
        {{nivel, "--mesh", "-1", "--out", png}, "--mesh -1"},
        {{nivel, "--mesh", "x", "--out", png}, "--mesh x"},
        {{nivel, "--mesh", "0", "--out", png, "--size", "0x10"}, "--size 0x10"},
        {{nivel, "--mesh", "0", "--out", png, "--size", "8193x10"}, "--size 8193x10"},
        {{nivel, "--mesh", "0", "--out", png, "--size", "100"}, "--size 100"},
        {{nivel, "--mesh", "0", "--out", png, "--size", "10x10x"}, "--size 10x10x"},
        {{nivel, "--mesh", "0", "--out", png, "--angle", "nan"}, "--angle nan"},
        {{nivel, "--mesh", "0", "--out", png, "--size"}, "--size necesita"},
        {{nivel, "--mesh", "0", "--out", png, "--color"}, "--color"},
        {{nivel, "--out", png}, "--mesh"},
        {{nivel, "--mesh", "0"}, "--out"},
        {{"--mesh", "0", "--out", png}, "falta el nivel"},
        {{nivel, nivel, "--mesh", "0", "--out", png}, "sobra"},
        {{nivel, "--mesh", "0", "--out", "/no/existe/x.png"}, "/no/existe/x.png: ", 1},
        {{nivel, "--object", "3", "--out", png}, "no hay movible con id 3", 1},
        {{nivel, "--static", "3", "--out", png}, "no hay estático con id 3", 1},
        {{nivel, "--mesh", "0", "--object", "3", "--out", png}, "se excluyen"},
        {{nivel, "--static", "x", "--out", png}, "--static x"},
        {{nivel, "--object", "-2", "--out", png}, "--object -2"},
        {{nivel, "--fit", "--out", png}, "--mesh"},
        {{nivel, "--room", "0", "--out", png}, "no tiene cuartos", 1},
        {{nivel, "--room", "x", "--out", png}, "--room x"},
        {{nivel, "--level", "--mesh", "0", "--out", png}, "se excluyen"},
        {{nivel, "--level", "--from", "1,2,3", "--out", png}, "van juntos"},
        {{nivel, "--mesh", "0", "--from", "1,2,3", "--to", "0,0,0", "--out", png}, "--level"},
        {{nivel, "--level", "--from", "1,2", "--to", "0,0,0", "--out", png}, "--from 1,2"},
        {{nivel, "--level", "--from", "1,2,3", "--to", "0,0,inf", "--out", png}, "--to 0,0,inf"},
        {{nivel, "--level", "--from", "1,2,3", "--to", "1,2,3", "--out", png}, "mismo punto"},
        {{nivel, "--level", "--background", "rojo", "--out", png}, "--background rojo"},
        // Past the last frame: posing would clamp and draw the last one as if asked for it.
        {{animado, "--object", "3", "--anim", "0", "--frame", "5", "--out", png},
         "la animación 0 no tiene cuadro 5; sus cuadros van de 0 a 4", 1},
        {{animado, "--object", "3", "--anim", "0", "--frame", "4.25", "--out", png},
         "no tiene cuadro 4.25; sus cuadros van de 0 a 4", 1},
        {{animado, "--object", "3", "--anim", "1", "--frame", "1e9", "--out", png},
         "sus cuadros van de 0 a 4", 1},
        // A file where a folder should be is named, not taken for a missing folder.
        {{nivel, "--mesh", "0", "--out", nivel + "/x.png"},
         nivel + "/x.png: " + nivel + " es un archivo, no una carpeta", 1},
        {{nivel, "--mesh", "0", "--out", nivel + "/a/b/x.png"}, nivel + " es un archivo", 1},
        {{animado, "--object", "3", "--anim", "0", "--sequence", animado + "/cuadros"},
         "no se pudo crear la carpeta " + animado + "/cuadros: " + animado + " es un archivo", 1},
    };
    for (const auto& c : casos) {
        const auto r = Render(c.args);
        EXPECT_EQ(r.estado, c.estado) << c.dice;
        EXPECT_TRUE(r.salida.empty()) << r.salida;
        EXPECT_TRUE(r.errores.starts_with("tr4tool")) << r.errores;
        EXPECT_NE(r.errores.find(c.dice), std::string::npos) << r.errores;
        EXPECT_EQ(r.errores.find('\n'), r.errores.size() - 1) << r.errores;
        EXPECT_FALSE(std::filesystem::exists(png)) << c.dice;
    }
    // The last frame itself is drawn.
    const auto r = Render({animado, "--object", "3", "--anim", "0", "--frame", "4", "--out", png});
    EXPECT_EQ(r.estado, 0) << r.errores;
    EXPECT_TRUE(std::filesystem::exists(png));
    std::filesystem::remove(png);
    std::filesystem::remove(nivel);
    std::filesystem::remove(animado);
}

namespace {

// The lit pixels' bounding box and count.
struct Silueta {
    int x0 = INT32_MAX, y0 = INT32_MAX, x1 = -1, y1 = -1;
    int64_t iluminados = 0;
};

Silueta Medir(const Imagen& im) {
    Silueta s;
    for (int y = 0; y < im.alto; ++y)
        for (int x = 0; x < im.ancho; ++x)
            if (im.En(x, y) != NEGRO) {
                s.x0 = std::min(s.x0, x), s.x1 = std::max(s.x1, x);
                s.y0 = std::min(s.y0, y), s.y1 = std::max(s.y1, y);
                ++s.iluminados;
            }
    return s;
}

} // namespace

TEST(tr4toolRender, ObjetosRealesArmadosDePieYAjustados) {
    const std::string ruta = std::string(TR4_NIVELES_REALES) + "/title-a.tr4";
    if (!std::filesystem::exists(ruta))
        GTEST_SKIP() << "no real level at " << ruta;
    const std::string png = Temporal("objeto.png");
    // Lara's body at every quarter turn: upright, whole, and tall in the picture.
    for (const char* angulo : {"0", "1.5708", "3.1416", "4.7124"}) {
        const auto r =
            Render({ruta, "--object", "8", "--out", png, "--size", "320x240", "--angle", angulo});
        ASSERT_EQ(r.estado, 0) << r.errores;
        EXPECT_NE(r.salida.find("8"), std::string::npos) << r.salida;
        const Silueta s = Medir(LeerPng(png));
        EXPECT_GT(s.y0, 0) << angulo << ": inside the picture";
        EXPECT_LT(s.y1, 239) << angulo;
        EXPECT_GT(s.y1 - s.y0, 240 * 7 / 10) << angulo << ": the sphere fills the shorter side";
        EXPECT_GT(s.y1 - s.y0, 2 * (s.x1 - s.x0)) << angulo << ": standing, not lying";
    }
    // A pickup's mesh is a dot at 1500 units and fills the picture with --fit.
    auto r = Render({ruta, "--mesh", "45", "--angle", "0.5", "--out", png, "--size", "320x240"});
    ASSERT_EQ(r.estado, 0) << r.errores;
    const Silueta lejos = Medir(LeerPng(png));
    r = Render(
        {ruta, "--mesh", "45", "--angle", "0.5", "--fit", "--out", png, "--size", "320x240"});
    ASSERT_EQ(r.estado, 0) << r.errores;
    const Silueta ajustada = Medir(LeerPng(png));
    EXPECT_GT(ajustada.iluminados, 4 * lejos.iluminados);
    EXPECT_GT(std::max(ajustada.x1 - ajustada.x0, ajustada.y1 - ajustada.y0), 240 / 2);
    // A static is its one mesh, framed the same way.
    r = Render({ruta, "--mesh", "168", "--angle", "1", "--fit", "--out", png, "--size", "320x240"});
    ASSERT_EQ(r.estado, 0) << r.errores;
    const int64_t mesh = Medir(LeerPng(png)).iluminados;
    r = Render({ruta, "--static", "10", "--angle", "1", "--out", png, "--size", "320x240"});
    ASSERT_EQ(r.estado, 0) << r.errores;
    EXPECT_EQ(Medir(LeerPng(png)).iluminados, mesh) << "static 10 is mesh 168";
    std::filesystem::remove(png);
}

// Lara of each of the first three games, standing in her first frame and in a frame of her run,
// drawn with her textures: the body the game draws (her own meshes in the first two, moveable 315
// in the third).
TEST(tr4toolRender, LaraDeCadaJuegoClasicoDePieYTexturizada) {
    const struct {
        const char* archivo;
        const char* cuerpo;
    } niveles[] = {{"tr1-b.phd", "0"}, {"tr2-b.tr2", "0"}, {"tr3-b.tr2", "315"}, {"tr5-b.trc", "8"}};
    const std::string png = Temporal("clasico.png");
    for (const auto& n : niveles) {
        SCOPED_TRACE(n.archivo);
        const std::string ruta = std::string(TR4_NIVELES_REALES) + "/classic/" + n.archivo;
        if (!std::filesystem::exists(ruta))
            GTEST_SKIP() << "no real level at " << ruta;
        for (bool corriendo : {false, true}) {
            std::vector<std::string> args = {ruta, "--object", "0", "--meshes-from", n.cuerpo,
                                             "--out", png, "--size", "320x240"};
            if (corriendo)
                args.insert(args.end(), {"--anim", "0", "--frame", "5"});
            else
                args.push_back("--fit");
            const auto r = Render(args);
            ASSERT_EQ(r.estado, 0) << r.errores;
            const Imagen im = LeerPng(png);
            const Silueta s = Medir(im);
            EXPECT_GT(s.y1 - s.y0, 240 / 3) << corriendo;
            EXPECT_GT(s.y1 - s.y0, 3 * (s.x1 - s.x0) / 2) << corriendo << ": standing, not lying";
            std::set<uint32_t> colores(im.pixeles.begin(), im.pixeles.end());
            EXPECT_GT(colores.size(), 16u) << "texels, not a flat untextured white";
        }
    }
    std::filesystem::remove(png);
}

TEST(tr4toolRender, UnaMeshDeUnNivelRealSeVeTexturizada) {
    const std::string ruta = std::string(TR4_NIVELES_REALES) + "/title-b.tr4";
    if (!std::filesystem::exists(ruta))
        GTEST_SKIP() << "no real level at " << ruta;
    const std::string png = Temporal("real.png");
    // Mesh 85: a small tablet, whole in the picture.
    const auto r = Render({ruta, "--mesh", "85", "--out", png, "--size", "320x240"});
    ASSERT_EQ(r.estado, 0) << r.errores;
    const Imagen im = LeerPng(png);
    ASSERT_EQ(im.pixeles.size(), 320u * 240u);
    std::set<uint32_t> colores(im.pixeles.begin(), im.pixeles.end());
    const auto negros = std::count(im.pixeles.begin(), im.pixeles.end(), NEGRO);
    EXPECT_GT(320 * 240 - negros, 320 * 240 / 10);
    EXPECT_GT(colores.size(), 16u) << "texels, not a flat untextured white";
    for (auto [x, y] : {std::array<int, 2>{0, 0}, {319, 0}, {0, 239}, {319, 239}})
        EXPECT_EQ(im.En(x, y), NEGRO) << "framed with room around it";
    std::filesystem::remove(png);
}

namespace {

// A level of three pages with varied alpha, as block 1 holds them.
uint32_t ColorPrueba(int pagina, int x, int y) {
    return uint32_t((x * 7 + pagina * 85) & 0xFF) << 24 | uint32_t(x) << 16 | uint32_t(y) << 8 |
           uint32_t(pagina * 100 + (x ^ y) % 50);
}

} // namespace

TEST(tr4toolPages, CadaPaginaEsTexelATexelLaQueSubeElVisor) {
    fixture::NivelFixture n;
    n.paginas = fixture::Paginas(3, ColorPrueba);
    const std::string nivel = Temporal("paginas.tr4");
    ASSERT_TRUE(fixture::GuardarArchivo(nivel, fixture::EscribirNivel(n)));
    const std::string carpeta = Temporal("paginas");
    std::filesystem::remove_all(carpeta);
    std::filesystem::create_directory(carpeta);

    const auto r = Ejecutar({"pages", nivel, "--out", carpeta});
    ASSERT_EQ(r.estado, 0) << r.errores;
    EXPECT_NE(r.salida.find("pagina_02.png"), std::string::npos) << r.salida;
    trNivel leido;
    ASSERT_TRUE(CargarNivel(nivel.c_str(), leido));
    const trTextura texturas(&leido);
    ASSERT_EQ(texturas.NumPaginas(), 3);
    for (int p = 0; p < 3; ++p) {
        const Imagen im = LeerPng(carpeta + "/pagina_0" + std::to_string(p) + ".png");
        ASSERT_EQ(im.pixeles.size(), 256u * 256u) << p;
        std::vector<uint32_t> texels(256 * 256);
        std::memcpy(texels.data(), texturas.GetTexels(p), texels.size() * 4);
        EXPECT_EQ(im.pixeles, texels) << "page " << p << ", alpha included";
    }
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(carpeta), {}), 3);

    // A folder that is not there: one line, exit 1, and no file anywhere.
    const auto falta = Ejecutar({"pages", nivel, "--out", carpeta + "/no/hay"});
    EXPECT_EQ(falta.estado, 1);
    EXPECT_NE(falta.errores.find(carpeta + "/no/hay/pagina_00.png: "), std::string::npos)
        << falta.errores;
    EXPECT_EQ(falta.errores.find('\n'), falta.errores.size() - 1) << falta.errores;
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(carpeta), {}), 3);
    std::filesystem::remove_all(carpeta);
    std::filesystem::remove(nivel);
}

TEST(tr4toolSheet, UnaCeldaRotuladaPorMeshYVaciaLaQueNoTieneCaras) {
    // Six meshes: five solids and a marker of three vertices and no face.
    const std::string nivel = Temporal("muestra.tr4"), png = Temporal("hoja.png");
    ASSERT_TRUE(fixture::GuardarArchivo(nivel, fixture::EscribirNivel(fixture::NivelMuestra())));
    struct {
        std::vector<std::string> opciones;
        int columnas, filas, celdas, dibujadas;
    } const casos[] = {{{"--cell", "64"}, 3, 2, 6, 5}, {{"--cell", "40", "--objects"}, 2, 1, 2, 2}};
    for (const auto& c : casos) {
        std::vector<std::string> args = {"sheet", nivel, "--out", png};
        args.insert(args.end(), c.opciones.begin(), c.opciones.end());
        const auto r = Ejecutar(args);
        ASSERT_EQ(r.estado, 0) << r.errores;
        const int celda = std::stoi(c.opciones[1]);
        const Imagen im = LeerPng(png);
        ASSERT_EQ(im.ancho, c.columnas * celda);
        ASSERT_EQ(im.alto, c.filas * celda);
        // The label takes the top-left corner; the drawing is what lies below it.
        int dibujadas = 0;
        for (int i = 0; i < c.columnas * c.filas; ++i) {
            const int x0 = i % c.columnas * celda, y0 = i / c.columnas * celda;
            bool rotulo = false, dibujo = false;
            for (int y = 0; y < celda; ++y)
                for (int x = 0; x < celda; ++x)
                    (y < 14 && x < 30 ? rotulo : dibujo) |= im.En(x0 + x, y0 + y) != NEGRO;
            EXPECT_EQ(rotulo, i < c.celdas) << "cell " << i;
            dibujadas += dibujo;
        }
        EXPECT_EQ(dibujadas, c.dibujadas) << r.salida;
    }

    const std::string carpeta = Temporal("sin_carpeta"), vacio = Temporal("vacio.tr4");
    ASSERT_TRUE(fixture::GuardarArchivo(vacio, fixture::EscribirNivel(fixture::NivelFixture{})));
    const struct {
        std::vector<std::string> args;
        const char* dice;
        int estado = 2;
    } fallos[] = {
        {{nivel, "--out", carpeta + "/h.png"}, "sin_carpeta/h.png: ", 1},
        {{nivel, "--out", png, "--cell", "31"}, "--cell 31"},
        {{nivel, "--out", png, "--cell", "1025"}, "--cell 1025"},
        {{nivel, "--out", png, "--cell", "9x"}, "--cell 9x"},
        {{nivel}, "--out"},
        {{"--out", png}, "falta el nivel"},
        {{"/no/existe.tr4", "--out", png}, "/no/existe.tr4: ", 1},
        {{vacio, "--out", png}, "no hay nada que dibujar", 1},
    };
    std::filesystem::remove(png);
    for (const auto& f : fallos) {
        std::vector<std::string> args = f.args;
        args.insert(args.begin(), "sheet");
        const auto r = Ejecutar(args);
        EXPECT_EQ(r.estado, f.estado) << f.dice;
        EXPECT_TRUE(r.salida.empty()) << r.salida;
        EXPECT_NE(r.errores.find(f.dice), std::string::npos) << r.errores;
        EXPECT_EQ(r.errores.find('\n'), r.errores.size() - 1) << r.errores;
        EXPECT_FALSE(std::filesystem::exists(png)) << f.dice;
    }
    std::filesystem::remove(nivel);
    std::filesystem::remove(vacio);
}

TEST(tr4toolRender, ElNivelEnteroSeVeDesdeArribaYCadaCuartoSeEncuadra) {
    // Two double-sided floors 2048 units square, far apart, in the level's y = 0 plane.
    fixture::NivelFixture n;
    for (int32_t x : {0, 20480}) {
        fixture::CuartoFixture c;
        c.info = {uint32_t(x), 0, 0, uint32_t(-1024)};
        for (auto [vx, vz] : {std::pair{0, 0}, {2048, 0}, {2048, 2048}, {0, 2048}})
            c.vertices.push_back({int16_t(vx), 0, int16_t(vz), 0, 0, 0x7FFF});
        c.numVertices = 4;
        c.rectangulos = {{{0, 1, 2, 3}, 0x8000}};
        c.numRectangulos = 1;
        n.cuartos.push_back(c);
    }
    const std::string nivel = Temporal("cuartos.tr4"), png = Temporal("nivel.png");
    ASSERT_TRUE(fixture::GuardarArchivo(nivel, fixture::EscribirNivel(n)));
    int64_t iluminados[3] = {};
    const std::vector<std::string> vistas[] = {
        {"--level"},
        {"--room", "1"},
        {"--level", "--from", "1024,-4000,-3000", "--to", "1024,0,1024"}};
    for (int v = 0; v < 3; ++v) {
        std::vector<std::string> args = {nivel, "--out", png, "--size", "160x120"};
        args.insert(args.end(), vistas[v].begin(), vistas[v].end());
        const auto r = Render(args);
        ASSERT_EQ(r.estado, 0) << r.errores;
        EXPECT_EQ(r.errores, "");
        const Silueta s = Medir(LeerPng(png));
        iluminados[v] = s.iluminados;
        EXPECT_GT(s.y0, 0) << v << ": framed, not cut";
    }
    // One floor framed fills more of the picture than two far apart; the eye given above the
    // first floor's corner looks down on it.
    EXPECT_GT(iluminados[0], 0);
    EXPECT_GT(iluminados[1], 2 * iluminados[0]);
    EXPECT_GT(iluminados[2], 160 * 120 / 10);
    const auto fuera = Render({nivel, "--room", "2", "--out", png});
    EXPECT_EQ(fuera.estado, 1);
    EXPECT_NE(fuera.errores.find("de 0 a 1"), std::string::npos) << fuera.errores;
    // A room the data leaves black is drawn black, and said so, not passed off as a success.
    for (auto& v : n.cuartos[1].vertices)
        v.color = 0;
    ASSERT_TRUE(fixture::GuardarArchivo(nivel, fixture::EscribirNivel(n)));
    const auto negro = Render({nivel, "--room", "1", "--out", png, "--size", "160x120"});
    EXPECT_EQ(negro.estado, 0);
    EXPECT_EQ(Medir(LeerPng(png)).iluminados, 0);
    EXPECT_NE(negro.errores.find("el cuarto 1 no tiene luz"), std::string::npos) << negro.errores;
    EXPECT_NE(negro.errores.find("--full-light"), std::string::npos) << negro.errores;
    // The whole level is framed round the rooms it lights: the lit floor alone, as large as a
    // room framed by itself, not both floors far apart.
    const auto conLuz = Render({nivel, "--level", "--out", png, "--size", "160x120"});
    EXPECT_EQ(conLuz.estado, 0);
    EXPECT_EQ(Medir(LeerPng(png)).iluminados, iluminados[1]);
    const auto pleno =
        Render({nivel, "--room", "1", "--out", png, "--size", "160x120", "--full-light"});
    EXPECT_EQ(pleno.estado, 0);
    EXPECT_EQ(pleno.errores, "");
    // Full light draws the floor the vertices leave black as its texels are painted: as much of
    // the picture as the lit floor took, not a black picture.
    EXPECT_EQ(Medir(LeerPng(png)).iluminados, iluminados[1]);
    std::filesystem::remove(nivel);

    const std::string real = std::string(TR4_NIVELES_REALES) + "/title-a.tr4";
    if (!std::filesystem::exists(real))
        GTEST_SKIP() << "no real level at " << real;
    const auto r = Render({real, "--level", "--out", png, "--size", "320x240"});
    ASSERT_EQ(r.estado, 0) << r.errores;
    const Imagen im = LeerPng(png);
    // A night level, lit by its own vertex colours: mostly dark, but rooms show.
    EXPECT_GT(Medir(im).iluminados, 320 * 240 / 50);
    EXPECT_GT(std::set<uint32_t>(im.pixeles.begin(), im.pixeles.end()).size(), 256u)
        << "textured rooms";
    std::filesystem::remove(png);
}
