// The whole level drawn on the off-screen OpenGL device: rooms, statics and items land where
// their records put them, every face of a real level is submitted, the batches draw the same
// picture as a call per triangle, and animated items move and come back to their pose.
#include "CamaraVuelo.h"
#include "CapaDisparadores.h"
#include "CapaMarcadores.h"
#include "Encuadre.h"
#include "EscritorNivel.h"
#include "InicioNivel.h"
#include "Lotes8.h"
#include "MatrizDispositivo.h"
#include "NivelSubido.h"
#include "SuperficieEGL.h"
#include "dxBufferTextura.h"
#include "dxMain.h"

#include <glm/glm.hpp>
#include <glm/gtc/type_ptr.hpp>
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>

namespace {

constexpr int kAncho = 160, kAlto = 120;
constexpr uint32_t kFondo = 0xFF000000, kRojo = 0xFFFF0000, kVerde = 0xFF00FF00, kAzul = 0xFF0000FF,
                   kBlanco = 0xFFFFFFFF;

class EscenaGL : public ::testing::Test {
  protected:
    void SetUp() override {
        std::string motivo;
        superficie_ = SuperficieEGL::Crear(kAncho, kAlto, &motivo);
        ASSERT_NE(superficie_, nullptr) << motivo;
        ASSERT_EQ(principal_.IniciarD3D(), D3D_OK);
        ASSERT_EQ(principal_.CrearDispositivo(superficie_.get(), 1, d_), D3D_OK);
    }
    void Abrir(const fixture::Bytes& archivo) {
        Hecho hecho;
        ASSERT_TRUE((hecho = AbrirNivelDeMemoria(archivo.data(), archivo.size(), d_.get(), nivel_)))
            << hecho.Motivo();
        ASSERT_NE(nivel_->Escena, nullptr);
    }
    // The level framed whole, drawn batched or a call per triangle; the pixels.
    std::vector<uint32_t> Cuadro(const OpcionesNivel& o, bool porPrimitiva = false) {
        const Esfera e = nivel_->Escena->EsferaNivel(OpcionesNivel{});
        EXPECT_EQ(EncuadrarEsfera(*d_, e.X, e.Y, e.Z, e.Radio, kAncho, kAlto), D3D_OK);
        (void)d_->Limpiar(1);
        DibujoEscena& escena = *nivel_->Dibujo;
        EXPECT_EQ(escena.TenirAgua(o.AguaTenida), D3D_OK);
        EXPECT_EQ(porPrimitiva ? escena.DibujarPorPrimitiva(*d_, o) : escena.Dibujar(*d_, o),
                  D3D_OK);
        return LeerPixeles(*superficie_);
    }
    // The pixel a point of the level (its own axes) lands on, under the camera just set.
    uint32_t En(const std::vector<uint32_t>& pixeles, float x, float y, float z) {
        const D3DXMATRIX v = d_->GetVista(), p = d_->GetProyeccion();
        const glm::vec4 c =
            glm::make_mat4(&p.m[0][0]) * glm::make_mat4(&v.m[0][0]) * glm::vec4(x, -y, z, 1);
        const int px = int((c.x / c.w + 1) / 2 * kAncho), py = int((1 - c.y / c.w) / 2 * kAlto);
        EXPECT_TRUE(px >= 0 && px < kAncho && py >= 0 && py < kAlto) << x << " " << z;
        return pixeles.at(size_t(std::clamp(py, 0, kAlto - 1)) * kAncho +
                          size_t(std::clamp(px, 0, kAncho - 1)));
    }

    std::unique_ptr<SuperficieEGL> superficie_;
    dxMain principal_;
    std::unique_ptr<dxDevice8> d_;
    std::unique_ptr<NivelSubido> nivel_;
};

} // namespace

TEST_F(EscenaGL, CuartosEstaticoEItemDondeLosPoneElNivel) {
    auto f = fixture::NivelCuartos();
    // Beside the fixture's item in room 99, one in the room just past the last.
    f.items.push_back({3, 3});
    f.cuartos[0].banderas = 1; // water
    Abrir(fixture::EscribirNivel(f));
    const EscenaNivel::Cuentas n = nivel_->Escena->Contar();
    EXPECT_EQ(n.Cuartos, 3);
    EXPECT_EQ(n.Vertices, 24);
    EXPECT_EQ(n.Rectangulos, 6); // the face naming vertex 8 is dropped
    EXPECT_EQ(n.EstaticosColocados, 1);
    EXPECT_EQ(n.EstaticosOmitidos, 1);
    EXPECT_EQ(n.ItemsColocados, 1);
    EXPECT_EQ(n.ItemsOmitidos, 3);

    const auto todo = Cuadro({});
    EXPECT_EQ(En(todo, -1536, -512, 2048), kRojo);
    EXPECT_EQ(En(todo, -1536, -1536, 2048), kVerde) << "untextured: its vertex colour";
    const uint32_t oscuro = En(todo, 1536, -512, 2048);
    EXPECT_EQ(oscuro & 0xFFFF00FFu, kFondo) << std::hex << oscuro;
    EXPECT_NEAR(double((oscuro >> 8) & 0xFF), 255.0 * 15 / 16, 2) << "lit by (15, 15, 15): 16 is the texel";
    EXPECT_EQ(En(todo, 1536, -1536, 2048), kAzul) << "double-sided, seen from behind";
    EXPECT_EQ(En(todo, 1536, -2560, 2048), kFondo) << "one-sided, seen from behind";
    // A quarter turn brought the squares to face the camera; unturned they would stand edge-on.
    EXPECT_EQ(En(todo, -400, -256, 1024), kBlanco);
    EXPECT_EQ(En(todo, 400, -256, 1024), kRojo);

    struct {
        OpcionesNivel o;
        float x, y, z;
        uint32_t color;
        const char* porque;
    } casos[] = {
        {{.Estaticos = false}, -400, -256, 1024, kFondo, "statics off"},
        {{.Items = false}, 400, -256, 1024, kFondo, "items off"},
        {{.Alternos = true}, 1536, -512, 2048, kBlanco, "flipped: room 2 stands for room 1"},
        {{.Alternos = true}, 1536, -1536, 2048, kFondo, "flipped: room 1 is gone"},
        {{.GrupoAlterno = 0}, 1536, -512, 2048, kBlanco, "room 1's group flipped"},
        {{.GrupoAlterno = 1}, 1536, -1536, 2048, kAzul, "another group flipped: room 1 stays"},
        {{.AguaTenida = true}, -1536, -512, 2048, 0xFF800000, "water: red times the tint"},
        {{.AguaTenida = true}, -1536, -1536, 2048, 0xFF00D800, "water: green times the tint"},
        {{.AguaTenida = true}, 1536, -1536, 2048, kAzul, "a dry room as it was"},
        {{.Texturizado = false}, -1536, -512, 2048, kBlanco, "untextured: the vertex colour"},
        // Off the diagonal that splits the wall in two triangles.
        {{.Texturizado = false, .Alambre = true}, -1800, -800, 2048, kFondo, "lines only"},
        {{.Alambre = true}, -1800, -800, 2048, kRojo, "textured, lines over it"},
    };
    for (const auto& c : casos) {
        SCOPED_TRACE(c.porque);
        EXPECT_EQ(En(Cuadro(c.o), c.x, c.y, c.z), c.color);
    }
}

// A damaged level that places a big static tens of thousands of times would want gigabytes of
// vertices; the scene keeps what fits its bound and opens at once.
TEST_F(EscenaGL, ColocacionesSinFinQuedanAcotadas) {
    auto n = fixture::NivelCuartos();
    n.meshes[0].rectangulos.assign(2000, n.meshes[0].rectangulos[0]);
    n.cuartos[0].estaticos.assign(65535, n.cuartos[0].estaticos[0]);
    Abrir(fixture::EscribirNivel(n));
    EXPECT_EQ(nivel_->Escena->Contar().EstaticosColocados, 65535);
    Cuadro({});
    EXPECT_GT(nivel_->Dibujo->TriangulosDibujados(), 100000u);
    EXPECT_LE(nivel_->Dibujo->TriangulosDibujados(), (1u << 21) / 3);
}

// The device's batches, but refusing the pages or the vertices as `rechazo` says.
const char* rechazo = "";
class LotesQueRechazan : public ILotes8 {
  public:
    explicit LotesQueRechazan(std::unique_ptr<ILotes8> lotes) : lotes_(std::move(lotes)) {}
    HRESULT CargarPaginas(UINT numPaginas, const BYTE* texels) override {
        return std::string(rechazo) == "paginas" ? E_OUTOFMEMORY
                                                 : lotes_->CargarPaginas(numPaginas, texels);
    }
    HRESULT CargarVertices(const VerticeLote* vertices, UINT cantidad) override {
        return std::string(rechazo) == "vertices" && cantidad > 0
                   ? E_OUTOFMEMORY
                   : lotes_->CargarVertices(vertices, cantidad);
    }
    HRESULT ActualizarVertices(UINT inicio, const VerticeLote* vertices, UINT cantidad) override {
        return lotes_->ActualizarVertices(inicio, vertices, cantidad);
    }
    HRESULT Dibujar(const D3DMATRIX& vista, const D3DMATRIX& proyeccion, const TramoLote* tramos,
                    UINT numTramos, ModoLote modo, bool porPrimitiva) override {
        return lotes_->Dibujar(vista, proyeccion, tramos, numTramos, modo, porPrimitiva);
    }
    uint64_t TriangulosDibujados() const override { return lotes_->TriangulosDibujados(); }
    uint32_t LlamadasDibujo() const override { return lotes_->LlamadasDibujo(); }

  private:
    std::unique_ptr<ILotes8> lotes_;
};

// A device that refuses the level's pages or vertices leaves the scene built and counted, and
// every draw says so: a command must not hand over a blank picture as the level's.
TEST_F(EscenaGL, UnaSubidaRechazadaSeDiceEnCadaDibujo) {
    Abrir(fixture::EscribirNivel(fixture::NivelCuartos()));
    const EscenaNivel::Cuentas cuentas = nivel_->Escena->Contar();
    for (const char* que : {"", "paginas", "vertices"}) {
        SCOPED_TRACE(que);
        rechazo = que;
        const auto escena = DibujoEscena::Crear(*nivel_->Escena, nivel_->Texturas.get(), d_.get(),
                                                [](IDirect3DDevice8* d) {
            return std::unique_ptr<ILotes8>(new LotesQueRechazan(CrearLotes8(d)));
        });
        ASSERT_NE(escena, nullptr);
        EXPECT_EQ(nivel_->Escena->Contar().Vertices, cuentas.Vertices);
        const HRESULT esperado = *que ? E_OUTOFMEMORY : D3D_OK;
        EXPECT_EQ(escena->Subida(), esperado);
        for (const OpcionesNivel& o :
             {OpcionesNivel{}, OpcionesNivel{.Texturizado = false, .Alambre = true}}) {
            EXPECT_EQ(escena->Dibujar(*d_, o), esperado);
            EXPECT_EQ(escena->DibujarPorPrimitiva(*d_, o), esperado);
        }
    }
    rechazo = "";
}

// The batches draw with their own program, array and fill on the device's context; a mesh drawn
// per primitive afterwards must look as it did before.
TEST_F(EscenaGL, ElDispositivoDibujaIgualDespuesDeLosLotes) {
    Abrir(fixture::EscribirNivel(fixture::NivelCuartos()));
    dxBufferTextura* cuadro = nivel_->Buffer(0);
    ASSERT_NE(cuadro, nullptr);
    auto malla = [&](float angulo) {
        (void)SetProyeccionVisor(*d_, kAncho, kAlto);
        (void)d_->SetOjo(0, 0, -1500);
        (void)d_->SetObjetivo(0, 0, 0);
        (void)d_->Limpiar(1);
        cuadro->RotarY(angulo);
        (void)d_->DibujarBuffer(cuadro, 0);
        return LeerPixeles(*superficie_);
    };
    int vistas = 0;
    // The square faces -x; one of the two quarter turns shows its front.
    for (float angulo : {1.5707964f, -1.5707964f}) {
        const auto antes = malla(angulo);
        vistas += std::count(antes.begin(), antes.end(), kBlanco) > 100;
        Cuadro({.Texturizado = false, .Alambre = true});
        EXPECT_EQ(malla(angulo), antes) << angulo;
    }
    EXPECT_EQ(vistas, 1);
}

TEST_F(EscenaGL, NivelRealTodoDibujadoIgualQuePorPrimitiva) {
    const auto archivo = fixture::LeerArchivo(std::string(TR4_NIVELES_REALES) + "/title-a.tr4");
    if (archivo.empty())
        GTEST_SKIP() << "no real level title-a.tr4";
    Abrir(archivo);
    const EscenaNivel& escena = *nivel_->Escena;
    const DibujoEscena& dibujo = *nivel_->Dibujo;
    const EscenaNivel::Cuentas n = escena.Contar();
    EXPECT_EQ(n.Cuartos, 42);
    EXPECT_EQ(n.Rectangulos, 4022);
    EXPECT_EQ(n.Triangulos, 159);
    EXPECT_EQ(n.ItemsColocados, 30);

    // Rooms alone: title-a has no flipped rooms, so every room face is submitted, a rectangle
    // as two triangles, in a few calls.
    const OpcionesNivel cuartos{.Estaticos = false, .Items = false};
    const auto soloCuartos = Cuadro(cuartos);
    EXPECT_EQ(dibujo.TriangulosDibujados(), 2u * 4022 + 159);
    // Opaque, alpha-tested and additive faces, one-sided and double-sided.
    EXPECT_LE(dibujo.LlamadasDibujo(), 6u);
    EXPECT_EQ(soloCuartos, Cuadro(cuartos, true)) << "batched and per triangle differ";
    EXPECT_EQ(dibujo.LlamadasDibujo(), 2u * 4022 + 159);

    const OpcionesNivel todo;
    const auto lotes = Cuadro(todo);
    EXPECT_LE(dibujo.LlamadasDibujo(), 12u);
    EXPECT_EQ(lotes, Cuadro(todo, true)) << "batched and per triangle differ";
    EXPECT_NE(lotes, soloCuartos);

    // Items in motion, then still again: the picture they were built in, to the byte.
    EXPECT_GT(escena.ItemsAnimados(), 0);
    ASSERT_EQ(nivel_->Dibujo->Animar(*nivel_, 7.5), D3D_OK);
    EXPECT_NE(Cuadro(todo), lotes);
    ASSERT_EQ(nivel_->Dibujo->Detener(), D3D_OK);
    EXPECT_EQ(Cuadro(todo), lotes);
}

// Each real level opens behind Lara where she starts, and she is whole in the picture: every
// corner of her faces in front of the eye and inside the picture's edges, large enough to see, and
// not hidden behind a wall (drawn with and without items, she is what differs, over most of her
// outline's height).
TEST_F(EscenaGL, CadaNivelRealAbreConLaraEnteraEnLaImagen) {
    int vistos = 0;
    for (const char* nombre : {"title-a.tr4", "title-b.tr4"}) {
        SCOPED_TRACE(nombre);
        const auto archivo = fixture::LeerArchivo(std::string(TR4_NIVELES_REALES) + "/" + nombre);
        if (archivo.empty())
            continue;
        ++vistos;
        Abrir(archivo);
        const EscenaNivel& e = *nivel_->Escena;
        const auto inicio = InicioEnLara(nivel_->Objetos, size_t(e.NumCuartos()), &e);
        ASSERT_TRUE(inicio);
        CamaraVuelo camara;
        camara.Situar(VectorDX(inicio->Ojo), inicio->Guinada, inicio->Cabeceo,
                      VectorDX(inicio->Pivote), e.EsferaNivel(OpcionesNivel{}));
        auto dibujar = [&](bool items) {
            EXPECT_EQ(camara.Aplicar(*d_, kAncho, kAlto), D3D_OK);
            (void)d_->Limpiar(1);
            EXPECT_EQ(nivel_->Dibujo->Dibujar(*d_, OpcionesNivel{.Items = items}), D3D_OK);
            return LeerPixeles(*superficie_);
        };
        const auto con = dibujar(true), sin = dibujar(false);

        D3DXMATRIX vista, proyeccion;
        camara.Matrices(kAncho, kAlto, vista, proyeccion);
        const glm::mat4 m = glm::make_mat4(&proyeccion.m[0][0]) * glm::make_mat4(&vista.m[0][0]);
        const int32_t parte = e.ParteDe({DuenioCara::Tipo::Item, inicio->Item});
        ASSERT_GE(parte, 0);
        const ParteElegible& ella = e.Geometria().Partes[size_t(parte)];
        float x0 = INFINITY, y0 = INFINITY, x1 = -INFINITY, y1 = -INFINITY;
        for (uint32_t t = ella.Primero; t < ella.Primero + ella.Cuantos; ++t)
            for (const auto& esquina : e.Geometria().Triangulos[t].P) {
                const glm::vec4 c = m * glm::vec4(esquina[0], esquina[1], esquina[2], 1);
                ASSERT_GT(c.w, 1) << "a corner of hers behind the eye or at it";
                const float x = (c.x / c.w + 1) / 2 * kAncho, y = (1 - c.y / c.w) / 2 * kAlto;
                x0 = std::min(x0, x), x1 = std::max(x1, x);
                y0 = std::min(y0, y), y1 = std::max(y1, y);
            }
        EXPECT_GE(x0, 0);
        EXPECT_GE(y0, 0);
        EXPECT_LE(x1, kAncho);
        EXPECT_LE(y1, kAlto) << "her feet cut by the picture's edge";
        EXPECT_GT(y1 - y0, kAlto / 4.0f) << "a speck, not Lara";
        int arriba = kAlto, abajo = -1;
        for (int y = std::max(0, int(y0)); y < std::min(kAlto, int(y1) + 1); ++y)
            for (int x = std::max(0, int(x0)); x < std::min(kAncho, int(x1) + 1); ++x)
                if (con[size_t(y * kAncho + x)] != sin[size_t(y * kAncho + x)])
                    arriba = std::min(arriba, y), abajo = std::max(abajo, y);
        EXPECT_GE(abajo - arriba, (y1 - y0) * 0.8f) << "a wall hides part of her";
    }
    if (vistos == 0)
        GTEST_SKIP() << "no real level in " << TR4_NIVELES_REALES;
}

// NivelCuartos' item of moveable 3 gets a looping animation whose root goes 256 along its own x
// in one game frame; beside it an item whose only animation lost its frames, which stays put.
TEST_F(EscenaGL, ItemsAnimadosSeMuevenYVuelvenASuPose) {
    auto f = fixture::NivelCuartos();
    for (int x : {0, 256})
        for (int v : {-10, 10, -10, 10, -10, 10, x, 0, 0, 0x8000})
            f.cuadros.push_back(uint16_t(v));
    fixture::AnimacionFixture a;
    a.tamano = 10;
    a.ultimo = 1;
    fixture::AnimacionFixture sinCuadros;
    f.animaciones = {a, sinCuadros};
    f.movibles[0].animacion = 0;
    f.movibles.push_back({5, 1, 0, 0, 0, 1});
    f.items.push_back({5, 0, -1024, 0, 512, 16384});
    Abrir(fixture::EscribirNivel(f));
    EscenaNivel& escena = *nivel_->Escena;
    EXPECT_EQ(escena.ItemsAnimados(), 1);
    const std::vector<VerticeEscena> quietos = escena.VerticesItems();
    ASSERT_EQ(quietos.size(), 12u);
    const auto antes = Cuadro({});

    // How far each item vertex stands from its place, the still ones first.
    auto distancias = [&] {
        std::vector<float> d;
        for (size_t i = 0; i < quietos.size(); ++i) {
            const VerticeEscena &p = quietos[i], &q = escena.VerticesItems()[i];
            d.push_back(glm::length(glm::vec3(q.X - p.X, q.Y - p.Y, q.Z - p.Z)));
        }
        std::sort(d.begin(), d.end());
        return d;
    };
    // Frames 2 and 3 are 0 and 1 again; 2.5 lies halfway.
    for (const auto& [cuadro, lejos] : {std::pair{0.0, 0.f}, {1.0, 256.f}, {2.0, 0.f}, {2.5, 128.f},
                                       {3.0, 256.f}}) {
        SCOPED_TRACE(cuadro);
        ASSERT_EQ(nivel_->Dibujo->Animar(*nivel_, cuadro), D3D_OK);
        EXPECT_TRUE(escena.Animada());
        const auto d = distancias();
        EXPECT_NEAR(d[5], 0, 1e-3f) << "the item that cannot play";
        EXPECT_NEAR(d[6], lejos, 1e-2f);
        EXPECT_NEAR(d[11], lejos, 1e-2f);
    }
    EXPECT_NE(Cuadro({}), antes);
    ASSERT_EQ(nivel_->Dibujo->Detener(), D3D_OK);
    EXPECT_FALSE(escena.Animada());
    ASSERT_EQ(escena.VerticesItems().size(), quietos.size());
    EXPECT_EQ(std::memcmp(escena.VerticesItems().data(), quietos.data(),
                          quietos.size() * sizeof(VerticeEscena)),
              0);
    EXPECT_EQ(Cuadro({}), antes);
}

// One face of each blend mode over a grey wall, in the batches and in a mesh drawn a call per
// face: red where the alpha-tested face's texels are opaque, the wall where their alpha is 0
// (its texels are green there, so a face drawn whole shows), the wall plus (0, 0, 48) under one
// additive face and plus twice that under two, whichever order they were built in.
TEST_F(EscenaGL, CadaMezclaSobreUnFondoConocido) {
    Abrir(fixture::EscribirNivel(fixture::NivelMezclas()));
    constexpr uint32_t kGris = 0xFF808080, kUna = 0xFF8080B0, kDos = 0xFF8080E0;
    const OpcionesNivel soloCuartos{.Estaticos = false};
    for (bool porPrimitiva : {false, true}) {
        SCOPED_TRACE(porPrimitiva ? "a call per triangle" : "batched");
        const auto p = Cuadro(soloCuartos, porPrimitiva);
        EXPECT_EQ(En(p, -768, -512, 2048), kRojo);
        EXPECT_EQ(En(p, -256, -512, 2048), kGris);
        EXPECT_EQ(En(p, 256, -512, 1024), kUna);
        EXPECT_EQ(En(p, 768, -512, 1024), kDos);
    }
    // Opaque, alpha-tested and additive faces of one kind and side: a call each.
    Cuadro(soloCuartos);
    EXPECT_EQ(nivel_->Dibujo->LlamadasDibujo(), 3u);
    // Full light shows the texels as painted: the same here, where every vertex is lit white.
    EXPECT_EQ(Cuadro({.Estaticos = false, .LuzPlena = true}), Cuadro(soloCuartos));

    // The same faces in one mesh, drawn by the device a face at a time.
    dxBufferTextura* malla = nivel_->Buffer(0);
    ASSERT_NE(malla, nullptr);
    (void)SetProyeccionVisor(*d_, kAncho, kAlto);
    (void)d_->SetOjo(0, 200, -1200);
    (void)d_->SetObjetivo(0, 200, 0);
    (void)d_->Limpiar(1);
    EXPECT_EQ(d_->DibujarBuffer(malla, 0), D3D_OK);
    const auto m = LeerPixeles(*superficie_);
    EXPECT_EQ(En(m, -300, -200, 300), kRojo);
    EXPECT_EQ(En(m, -100, -200, 300), kGris);
    EXPECT_EQ(En(m, 100, -200, 0), kUna) << "additive by its texture";
    EXPECT_EQ(En(m, 300, -200, 0), kDos) << "and by its extra word, over it";

    // With every room vertex at half grey the plain picture darkens, and full light still shows
    // the texels as painted: the white-lit picture, pixel for pixel, in both ways of drawing.
    std::vector<uint32_t> blancos[2];
    for (bool porPrimitiva : {false, true})
        blancos[porPrimitiva] = Cuadro(soloCuartos, porPrimitiva);
    fixture::NivelFixture gris = fixture::NivelMezclas();
    for (auto& v : gris.cuartos[0].vertices)
        v.color = 15 << 10 | 15 << 5 | 15;
    Abrir(fixture::EscribirNivel(gris));
    for (bool porPrimitiva : {false, true}) {
        SCOPED_TRACE(porPrimitiva ? "a call per triangle" : "batched");
        const auto plano = Cuadro(soloCuartos, porPrimitiva);
        EXPECT_NE(En(plano, -768, -512, 2048), kRojo);
        EXPECT_NE(En(plano, -256, -512, 2048), kGris);
        EXPECT_EQ(Cuadro({.Estaticos = false, .LuzPlena = true}, porPrimitiva),
                  blancos[porPrimitiva]);
    }
}

// The scene needs no device: opened by the core alone it holds the same vertices as a level
// opened for a device, its runs cover every vertex once, each vertex names a page the level has
// or none, and a part's outline is its triangles' corners.
TEST(EscenaSinDispositivo, VerticesTramosYContornoSinDispositivo) {
    const auto archivo = fixture::EscribirNivel(fixture::NivelCuartos());
    std::unique_ptr<NivelAbierto> nucleo;
    std::unique_ptr<NivelSubido> subido;
    ASSERT_TRUE(AbrirNivelDeMemoria(archivo.data(), archivo.size(), nucleo));
    ASSERT_TRUE(AbrirNivelDeMemoria(archivo.data(), archivo.size(), nullptr, subido));
    ASSERT_TRUE(nucleo->Escena && subido->Escena && subido->Dibujo);
    const EscenaNivel& e = *nucleo->Escena;
    const std::vector<VerticeEscena>& v = e.Vertices();
    ASSERT_FALSE(v.empty());
    ASSERT_EQ(subido->Escena->Vertices().size(), v.size());
    EXPECT_EQ(std::memcmp(subido->Escena->Vertices().data(), v.data(), v.size() * sizeof v[0]), 0);
    // Without a device nothing was loaded, so there is nothing to outline either.
    subido->Dibujo->Resaltar(0);
    EXPECT_EQ(subido->Dibujo->Resaltada(), -1);

    // The level as it is and flipped: no vertex drawn twice in either, none never drawn.
    std::vector<int> visto(v.size(), 0);
    for (bool alternos : {false, true}) {
        std::vector<int> usos(v.size(), 0);
        for (const TramoEscena& t : e.Tramos({.Alternos = alternos}))
            for (uint32_t i = t.Inicio; i < t.Inicio + t.Vertices; ++i)
                usos.at(i) += 1, visto.at(i) = 1;
        EXPECT_EQ(*std::max_element(usos.begin(), usos.end()), 1) << alternos;
    }
    EXPECT_EQ(std::count(visto.begin(), visto.end(), 1), std::ptrdiff_t(v.size()));
    for (const VerticeEscena& q : v)
        EXPECT_TRUE(q.Pagina == PAGINA_NINGUNA ||
                    q.Pagina < uint32_t(nucleo->Texturas->NumPaginas()));
    // Without statics and items, only the rooms' runs carry vertices.
    uint32_t cuartos = 0;
    for (const TramoEscena& t : e.Tramos({.Estaticos = false, .Items = false}))
        cuartos += t.Vertices;
    EXPECT_LT(cuartos, v.size());
    EXPECT_GT(cuartos, 0u);

    const ParteElegible& p = e.Geometria().Partes.at(0);
    const std::vector<VerticeEscena> contorno = e.Contorno(0);
    ASSERT_EQ(contorno.size(), size_t(p.Cuantos) * 3);
    EXPECT_EQ(contorno[0].X, e.Geometria().Triangulos[p.Primero].P[0][0]);
    EXPECT_EQ(contorno[0].Pagina, PAGINA_NINGUNA);
    EXPECT_TRUE(e.Contorno(-1).empty());
    EXPECT_TRUE(e.Contorno(int32_t(e.Geometria().Partes.size())).empty());
}

// Salas alternas: each alternate group flips on its own. Room 1 gives way to room 2 in group 0,
// room 3 to room 4 in group 5; the runs drawn hold the faces of the rooms shown, no more.
TEST(EscenaSinDispositivo, CadaGrupoAlternoVoltea) {
    auto f = fixture::NivelCuartos();
    auto tres = f.cuartos[1], cuatro = f.cuartos[2];
    tres.alterno = 4;
    tres.tresBytes = {0, 0, 5};
    f.cuartos.push_back(tres);
    f.cuartos.push_back(cuatro);
    const auto archivo = fixture::EscribirNivel(f);
    std::unique_ptr<NivelAbierto> nivel;
    ASSERT_TRUE(AbrirNivelDeMemoria(archivo.data(), archivo.size(), nivel));
    const EscenaNivel& e = *nivel->Escena;
    EXPECT_EQ(e.Clases().Grupos(), (std::vector<uint8_t>{0, 5}));
    struct {
        OpcionesNivel o;
        std::vector<int32_t> cuartos;
        const char* que;
    } casos[] = {
        {{}, {0, 1, 3}, "none flipped"},
        {{.Alternos = true}, {0, 2, 4}, "every group"},
        {{.GrupoAlterno = 0}, {0, 2, 3}, "group 0"},
        {{.GrupoAlterno = 5}, {0, 1, 4}, "group 5"},
        {{.GrupoAlterno = 7}, {0, 1, 3}, "a group without rooms"},
    };
    for (auto& c : casos) {
        SCOPED_TRACE(c.que);
        c.o.Estaticos = c.o.Items = false;
        std::vector<int32_t> vistos;
        uint32_t esperados = 0;
        for (int32_t r = 0; r < e.NumCuartos(); ++r)
            if (e.CuartoVisible(r, c.o)) {
                vistos.push_back(r);
                const int32_t parte = e.ParteDe({DuenioCara::Tipo::Cuarto, r});
                esperados += parte < 0 ? 0 : 3 * e.Geometria().Partes[size_t(parte)].Cuantos;
            }
        EXPECT_EQ(vistos, c.cuartos);
        uint32_t dibujados = 0;
        for (const TramoEscena& t : e.Tramos(c.o))
            dibujados += t.Vertices;
        EXPECT_EQ(dibujados, esperados);
    }
}

// The trigger tiles and the markers are the core's plain vertices: a level opened with no device
// gives them, untextured and in their classes' order, and the device side loads those same ones.
TEST(EscenaSinDispositivo, BaldosasYMarcadoresSinDispositivo) {
    const auto archivo = fixture::EscribirNivel(fixture::NivelLogica());
    std::unique_ptr<NivelAbierto> nivel;
    ASSERT_TRUE(AbrirNivelDeMemoria(archivo.data(), archivo.size(), nivel));
    std::vector<uint32_t> hasta;
    const std::vector<VerticeEscena> baldosas = CapaDisparadores::Vertices(nivel->Logica, hasta);
    EXPECT_EQ(baldosas.size(), 14u * 6) << "13 triggers, one kill sector";
    ASSERT_EQ(hasta.size(), 3u) << "one group: rooms always shown, giving way, taking the place";
    EXPECT_EQ(hasta[0], 0u);
    EXPECT_EQ(hasta[1], baldosas.size()) << "room 0 gives way when group 3 flips";
    EXPECT_EQ(hasta[2], baldosas.size());
    for (const VerticeEscena& v : baldosas) {
        EXPECT_EQ(v.Pagina, PAGINA_NINGUNA);
        EXPECT_NE(v.Color, 0u);
    }
    uint32_t solidos = 0;
    const std::vector<VerticeEscena> marcas = CapaMarcadores::Vertices(nivel->Logica, solidos);
    // Two cameras, three flyby cameras, a sound source and room 0's two lights.
    EXPECT_EQ(solidos, (2u + 3u + 1u + 2u) * CapaMarcadores::VERTICES_MARCADOR);
    EXPECT_EQ(marcas.size() - solidos, 3u) << "one segment: sequence 2's two cameras";
    EXPECT_EQ(marcas.back().Color, CapaMarcadores::AMARILLO_VUELO);
    EXPECT_EQ(marcas[solidos - 1].Color, CapaMarcadores::BLANCO_LUZ) << "a light without colour";

    // Opened for no device, the device side holds nothing to draw them with.
    std::unique_ptr<NivelSubido> subido;
    ASSERT_TRUE(AbrirNivelDeMemoria(archivo.data(), archivo.size(), nullptr, subido));
    EXPECT_EQ(subido->Capa, nullptr);
    EXPECT_EQ(subido->Marcadores, nullptr);

    // A real level: a marker for every light its rooms hold, each inside its room's walls.
    const auto real = fixture::LeerArchivo(std::string(TR4_NIVELES_REALES) + "/title-a.tr4");
    if (real.empty())
        return;
    ASSERT_TRUE(AbrirNivelDeMemoria(real.data(), real.size(), nivel));
    const trLogica& l = nivel->Logica;
    size_t luces = 0;
    for (size_t r = 0; r < l.Cuartos.size(); ++r) {
        const trCuartoLogica& c = l.Cuartos[r];
        EXPECT_EQ(c.Luces.size(), nivel->Nivel->Cuartos[r].NumLuces) << r;
        luces += c.Luces.size();
        for (const trLuzCuarto& luz : c.Luces) {
            EXPECT_TRUE(luz.X >= c.X && luz.X <= c.X + 1024 * c.NumX) << r << " " << luz.X;
            EXPECT_TRUE(luz.Z >= c.Z && luz.Z <= c.Z + 1024 * c.NumZ) << r << " " << luz.Z;
        }
    }
    EXPECT_GT(luces, 0u);
    CapaMarcadores::Vertices(l, solidos);
    EXPECT_EQ(solidos, (l.Camaras.size() + l.CamarasVuelo.size() + l.FuentesSonido.size() + luces) *
                           CapaMarcadores::VERTICES_MARCADOR);
}

// Ver -> Disparadores: each trigger sector's tile adds its type's colour where the sector lies,
// a kill sector adds red, and a sector of neither keeps the floor's own colour.
TEST_F(EscenaGL, DisparadoresYMuerteSobreSusSectores) {
    Abrir(fixture::EscribirNivel(fixture::NivelLogica()));
    ASSERT_NE(nivel_->Capa, nullptr);
    EXPECT_EQ(nivel_->Capa->Baldosas(), 14u); // 13 triggers, one kill sector
    // Seen from above and in front: the floor lies flat in the picture.
    auto dibujar = [&](const OpcionesNivel& o, bool capa) {
        const Esfera e = nivel_->Escena->EsferaNivel({});
        EXPECT_EQ(d_->SetProyeccion(10, 50000, float(kAncho) / kAlto, 0.8f), D3D_OK);
        EXPECT_EQ(d_->SetOjo(e.X, 7000, e.Z - 3000), D3D_OK);
        EXPECT_EQ(d_->SetObjetivo(e.X, 0, e.Z), D3D_OK);
        (void)d_->Limpiar(1);
        EXPECT_EQ(nivel_->Dibujo->Dibujar(*d_, o), D3D_OK);
        if (capa) {
            EXPECT_EQ(nivel_->Capa->Dibujar(*d_, o), D3D_OK);
        }
        return LeerPixeles(*superficie_);
    };
    auto conCapa = [&](const OpcionesNivel& o) {
        const auto sin = dibujar(o, false);
        return std::pair{sin, dibujar(o, true)};
    };
    const auto [sin, con] = conCapa({});
    // What the tile added at a point of the level, as 0x00RRGGBB.
    auto anadido = [&](const std::vector<uint32_t>& a, const std::vector<uint32_t>& b, float x,
                       float z) {
        const uint32_t p = En(a, x, 0, z), q = En(b, x, 0, z);
        uint32_t d = 0;
        for (int s : {16, 8, 0})
            d |= uint32_t(std::max(0, int((q >> s) & 0xFF) - int((p >> s) & 0xFF))) << s;
        return d;
    };
    // Room 0's origin is (-1024, 2048); sector (column c, row r) is centred 512 further in.
    auto x = [](int c) { return -1024 + 1024 * c + 512.0f; };
    auto z = [](int r) { return 2048 + 1024 * r + 512.0f; };
    struct {
        int columna, fila;
        uint32_t color;
        const char* que;
    } casos[] = {
        {1, 2, CapaDisparadores::ColorTipo(2) & 0xFFFFFF, "switch"},
        {2, 1, CapaDisparadores::ColorTipo(5) & 0xFFFFFF, "heavy"},
        {4, 0, CapaDisparadores::ColorTipo(12) & 0xFFFFFF, "monkey"},
        {0, 3, CapaDisparadores::ROJO_MUERTE & 0xFFFFFF, "kill"},
        {4, 2, 0, "nothing"},
    };
    for (const auto& c : casos) {
        SCOPED_TRACE(c.que);
        const uint32_t d = anadido(sin, con, x(c.columna), z(c.fila));
        for (int s : {16, 8, 0})
            EXPECT_NEAR(double((d >> s) & 0xFF), double((c.color >> s) & 0xFF), 2)
                << std::hex << d << " " << c.color;
    }
    // Flipped, room 1 stands for room 0 and holds no trigger: no tile shows. Room 0 gives way
    // with its group, 3, and not with another.
    for (const auto& [o, queda] : {std::pair{OpcionesNivel{.Alternos = true}, false},
                                   {OpcionesNivel{.GrupoAlterno = 3}, false},
                                   {OpcionesNivel{.GrupoAlterno = 2}, true}}) {
        SCOPED_TRACE(o.GrupoAlterno);
        const auto [sinAlt, conAlt] = conCapa(o);
        EXPECT_EQ(anadido(sinAlt, conAlt, x(1), z(2)) != 0, queda);
    }
}

// Ver -> Marcadores: each camera, sink and sound source is a marker of its colour where the level
// puts it; a flyby sequence's path joins its cameras.
TEST_F(EscenaGL, MarcadoresDondeLosPoneElNivel) {
    auto f = fixture::NivelLogica();
    // A flyby path long enough to see: sequence 2 from (3000, -500, 3000) to (3000, -500, 6000).
    f.camarasVuelo[0].x = f.camarasVuelo[1].x = 3000;
    f.camarasVuelo[0].y = f.camarasVuelo[1].y = -500;
    f.camarasVuelo[1].z = 3000;
    f.camarasVuelo[0].z = 6000;
    Abrir(fixture::EscribirNivel(f));
    ASSERT_NE(nivel_->Marcadores, nullptr);
    EXPECT_EQ(nivel_->Marcadores->Marcadores(), 2u + 3u + 1u + 2u) << "and room 0's two lights";
    uint32_t solidos = 0;
    const auto v = CapaMarcadores::Vertices(nivel_->Logica, solidos);
    EXPECT_EQ(v.size() - solidos, 3u) << "one segment: sequence 2's two cameras";
    const Esfera e = nivel_->Escena->EsferaNivel({});
    ASSERT_EQ(d_->SetProyeccion(10, 50000, float(kAncho) / kAlto, 0.8f), D3D_OK);
    ASSERT_EQ(d_->SetOjo(e.X, 7000, e.Z - 3000), D3D_OK);
    ASSERT_EQ(d_->SetObjetivo(e.X, 0, e.Z), D3D_OK);
    (void)d_->Limpiar(1);
    ASSERT_EQ(nivel_->Marcadores->Dibujar(*d_), D3D_OK);
    const auto p = LeerPixeles(*superficie_);
    EXPECT_EQ(En(p, 100, -200, 3000), CapaMarcadores::CIAN_CAMARA);
    EXPECT_EQ(En(p, -500, 0, 2500), CapaMarcadores::AZUL_SUMIDERO) << "a current names camera 1";
    EXPECT_EQ(En(p, 512, -256, 2560), CapaMarcadores::VERDE_SONIDO);
    EXPECT_EQ(En(p, 3000, -500, 4500), CapaMarcadores::AMARILLO_VUELO) << "the path's middle";
    EXPECT_EQ(En(p, 2500, -300, 5000), 0xFFFF8000) << "a light in its own colour";
    EXPECT_EQ(En(p, -600, -400, 4500), CapaMarcadores::BLANCO_LUZ);
    EXPECT_EQ(En(p, 2000, 0, 4500), kFondo);
}
