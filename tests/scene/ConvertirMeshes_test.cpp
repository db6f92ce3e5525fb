// The conversion of parsed meshes into uploaded buffers, on fixture levels opened whole against
// the recording device, so that texture pages are real handles and every buffer is built.
#include "ConvertirMeshes.h"
#include "EscritorNivel.h"
#include "Grabacion.h"
#include "NivelSubido.h"

#include <gtest/gtest.h>

using namespace fixture;

namespace {

struct Vertice {
    float x, y, z, u, v;
    bool operator==(const Vertice&) const = default;
};

std::ostream& operator<<(std::ostream& o, const Vertice& p) {
    return o << "(" << p.x << ", " << p.y << ", " << p.z << " | " << p.u << ", " << p.v << ")";
}

TexturaObjetoFixture Textura(uint16_t tile, std::array<std::array<int, 2>, 4> esquinas) {
    TexturaObjetoFixture t;
    t.tile = tile;
    for (int k = 0; k < 4; ++k)
        t.esquinas[size_t(k)] = {uint16_t(PIXEL(esquinas[size_t(k)][0]) | 0x7F),
                                 uint16_t(PIXEL(esquinas[size_t(k)][1]) | 0x7F)};
    return t;
}

class Conversion : public ::testing::Test {
  protected:
    // Opens the level; every page of it exists on the device.
    void Abrir(NivelFixture n, int paginas = 4) {
        n.paginas = Paginas(paginas, [](int p, int, int) { return 0xff000000u | uint32_t(p); });
        Bytes archivo = EscribirNivel(n);
        Hecho hecho;
        ASSERT_TRUE(
            (hecho = AbrirNivelDeMemoria(archivo.data(), archivo.size(), &d.dispositivo, nivel)))
            << hecho.Motivo();
    }
    dxBufferTextura& Buffer(int i) {
        dxBufferTextura* b = nivel->Buffer(i);
        EXPECT_NE(b, nullptr);
        return *b;
    }
    std::vector<Vertice> Vertices(int i) {
        dxBufferTextura& b = Buffer(i);
        auto* v = static_cast<const Vertice*>(b.GetVertices());
        return v ? std::vector<Vertice>(v, v + b.GetNumVertices()) : std::vector<Vertice>{};
    }
    IDirect3DTexture8* Pagina(int p) { return nivel->TexturasDispositivo->GetTextura(p); }

    DispositivoGrabado d;
    std::unique_ptr<NivelSubido> nivel;
};

TEST_F(Conversion, RectanguloTomaEsquinas0132ConSusCoordenadasYElTileEntero) {
    NivelFixture n;
    MeshFixture m;
    m.vertices = {{0, 0, 0}, {10, 0, 0}, {20, 0, 0}, {30, 0, 0}, {40, 0, 0}};
    m.rectangulos = {{{4, 1, 2, 3}, 1}};
    n.meshes = {m};
    n.texturasObjeto = {Textura(0, {}), Textura(2, {{{0, 128}, {255, 1}, {2, 3}, {4, 5}}})};
    Abrir(n);

    ASSERT_EQ(Buffer(0).GetCuadrados(), 1);
    EXPECT_EQ(Buffer(0).GetFlags(0), 0x19u);
    EXPECT_EQ(Buffer(0).GetTextura(0), Pagina(2));
    // The low byte of a corner coordinate is not part of it.
    const float k = 1.0f / 256;
    EXPECT_EQ(Vertices(0), (std::vector<Vertice>{{40, 0, 0, 0, 0.5f},
                                                 {10, 0, 0, 0.99609375f, k},
                                                 {30, 0, 0, 4 * k, 5 * k},
                                                 {20, 0, 0, 2 * k, 3 * k}}));
}

TEST_F(Conversion, YSeNiegaEnElEnteroYLosTriangulosQuitanElBitAltoDelTile) {
    NivelFixture n;
    MeshFixture m;
    m.vertices = {{100, -200, 300}, {0, 32767, 0}, {0, -32768, 0}, {1, 1, 1}};
    m.triangulos = {{{0, 1, 2}, 0}};
    // The same top-bit tile on a rectangle names a page that does not exist: untextured.
    m.rectangulos = {{{0, 1, 2, 3}, 0}};
    n.meshes = {m};
    n.texturasObjeto = {Textura(0x8003, {})};
    Abrir(n);

    // Triangle last added, so primitive 0.
    EXPECT_EQ(Buffer(0).GetFlags(0), 0x18u);
    EXPECT_EQ(Buffer(0).GetTextura(0), Pagina(3));
    EXPECT_NE(Pagina(3), nullptr);
    EXPECT_EQ(Buffer(0).GetTextura(1), nullptr);
    std::vector<Vertice> v = Vertices(0);
    ASSERT_EQ(v.size(), 7u);
    EXPECT_EQ(v[0], (Vertice{100, 200, 300, 0, 0}));
    EXPECT_EQ(v[1], (Vertice{0, -32767, 0, 0, 0}));
    EXPECT_EQ(v[2], (Vertice{0, 32768, 0, 0, 0}));
}

TEST_F(Conversion, PrimitivasDesdeElUltimoTrianguloYCadaMeshConSuBuffer) {
    NivelFixture n;
    MeshFixture vacio;
    vacio.vertices = {{0, 0, 0}};
    MeshFixture m;
    for (int16_t i = 0; i < 8; ++i)
        m.vertices.push_back({i, 0, 0});
    m.rectangulos = {{{0, 0, 0, 0}, 0}, {{1, 1, 1, 1}, 0}};
    m.triangulos = {{{2, 2, 2}, 0}, {{3, 3, 3}, 0}};
    n.meshes = {vacio, m, vacio};
    n.texturasObjeto = {Textura(0, {})};
    Abrir(n);

    ASSERT_EQ(nivel->Cantidad(), 3);
    ASSERT_EQ(nivel->Buffers.Cantidad(), 3u);
    for (int i : {0, 2}) {
        EXPECT_EQ(Buffer(i).GetNumVertices(), 0);
        EXPECT_EQ(Buffer(i).GetVertexBuffer(), nullptr) << "an empty mesh has nothing to upload";
    }
    std::vector<Vertice> v = Vertices(1);
    ASSERT_EQ(v.size(), 14u);
    // T2, T1, R2, R1 by their vertices' x.
    EXPECT_EQ(v[0].x, 3);
    EXPECT_EQ(v[3].x, 2);
    EXPECT_EQ(v[6].x, 1);
    EXPECT_EQ(v[10].x, 0);
    EXPECT_EQ(Buffer(1).GetFlags(1), 0x18u);
    EXPECT_EQ(Buffer(1).GetFlags(2), 0x19u);
    EXPECT_NE(Buffer(1).GetVertexBuffer(), nullptr);
}

TEST_F(Conversion, CarasConVerticesInexistentesSeSaltanYSinTexturaQuedanSinTexturizar) {
    NivelFixture n;
    MeshFixture m;
    m.vertices = {{0, 0, 0}, {1, 0, 0}, {2, 0, 0}};
    m.triangulos = {{{0, 1, 3}, 0}, // vertex 3 does not exist
                    {{0, 1, 2}, 5}, // no object texture 5
                    {{0, 1, 2}, 1}, // page 9 of 4
                    {{0, 1, 2}, 0xFFFF}};
    m.rectangulos = {{{0, 1, 2, 0xFFFF}, 0}};
    n.meshes = {m};
    n.texturasObjeto = {Textura(0, {}), Textura(9, {})};
    Abrir(n);

    ASSERT_EQ(Buffer(0).GetTriangulos(), 3);
    EXPECT_EQ(Buffer(0).GetCuadrados(), 0);
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(Buffer(0).GetTextura(i), nullptr);
        EXPECT_EQ(Buffer(0).GetFlags(i), 0x18u);
    }
}

// A page or buffer the device refuses leaves the level open, and says so: a picture drawn from it
// would miss what did not go up. A mesh without faces has nothing to send, which is no refusal.
TEST_F(Conversion, UnaSubidaRechazadaSeDiceYElNivelQuedaAbierto) {
    NivelFixture n;
    MeshFixture conCaras, sinCaras;
    conCaras.vertices = {{0, 0, 0}, {1, 0, 0}, {0, 1, 0}};
    conCaras.luces = {0, 0, 0};
    conCaras.triangulos = {{{0, 1, 2}, 0}};
    sinCaras.vertices = {{1, 2, 3}};
    n.meshes = {sinCaras, conCaras};
    n.texturasObjeto = {Textura(0, {{{0, 0}, {1, 0}, {1, 1}, {0, 1}}})};
    for (const char* falla : {"", "CreateTexture", "CreateVertexBuffer", "Lock"}) {
        SCOPED_TRACE(falla);
        d.registro->Fallar.clear();
        if (*falla)
            d.registro->Fallar = {falla};
        Abrir(n);
        ASSERT_NE(nivel, nullptr);
        EXPECT_EQ(nivel->Cantidad(), 2);
        EXPECT_EQ(SUCCEEDED(nivel->Subida), !*falla);
    }
    d.registro->Fallar.clear();
    n.meshes = {sinCaras};
    Abrir(n);
    EXPECT_EQ(nivel->Subida, D3D_OK);
}

TEST(ConversionSinLista, SinListaOConListaVaciaNoSeHaceNada) {
    DispositivoGrabado d;
    trNivel n;
    BuffersMesh buffers;
    EXPECT_EQ(ConvertirMeshes(nullptr, buffers, &d.dispositivo, nullptr, n), E_FAIL);
    Lista_Mesh vacia;
    EXPECT_EQ(ConvertirMeshes(&vacia, buffers, &d.dispositivo, nullptr, n), E_FAIL);
    EXPECT_EQ(buffers.Cantidad(), 0u);
}

// Buffer i is mesh i's: none before the conversion has made them, and none outside the list.
TEST(ConversionSinLista, NingunBufferFueraDeLaLista) {
    BuffersMesh buffers;
    EXPECT_EQ(buffers.Obtener(0), nullptr);
    for (int i = 0; i < 7; ++i)
        buffers.Agregar(std::make_shared<dxBufferTextura>());
    EXPECT_NE(buffers.Obtener(6), nullptr);
    EXPECT_EQ(buffers.Compartido(6).get(), buffers.Obtener(6));
    EXPECT_EQ(buffers.Obtener(7), nullptr);
    EXPECT_EQ(buffers.Obtener(-1), nullptr);
    EXPECT_EQ(buffers.Compartido(-1), nullptr);
}

TEST(ConversionSinLista, UnNivelSinDatosDeMeshSeAbreSinMeshes) {
    NivelFixture n;
    n.datosMeshCrudos = Bytes{};
    Bytes archivo = EscribirNivel(n);
    std::unique_ptr<NivelSubido> nivel;
    ASSERT_TRUE(AbrirNivelDeMemoria(archivo.data(), archivo.size(), nullptr, nivel));
    EXPECT_EQ(nivel->Cantidad(), 0);
    EXPECT_EQ(nivel->Buffer(0), nullptr);
    EXPECT_EQ(nivel->Mesh(0), nullptr);
}

} // namespace

// Real levels keep every face and find a page for each: a wrong mask or corner rule would leave
// faces untextured or skipped long before anyone looked at the picture.
class ConversionReal : public ::testing::TestWithParam<const char*> {};

TEST_P(ConversionReal, CadaCaraSeConservaYTienePagina) {
    const std::string ruta = std::string(TR4_NIVELES_REALES) + "/" + GetParam();
    Bytes archivo = LeerArchivo(ruta);
    if (archivo.empty())
        GTEST_SKIP() << "no real level at " << ruta;
    DispositivoGrabado d;
    std::unique_ptr<NivelSubido> nivel;
    ASSERT_TRUE(AbrirNivelDeMemoria(archivo.data(), archivo.size(), &d.dispositivo, nivel));
    ASSERT_GT(nivel->Cantidad(), 0);
    ASSERT_EQ(nivel->Buffers.Cantidad(), size_t(nivel->Cantidad()));
    for (int i = 0; i < nivel->Cantidad(); ++i) {
        const trMesh& m = *nivel->Mesh(i);
        const dxBufferTextura& b = *nivel->Buffer(i);
        ASSERT_EQ(b.GetCuadrados(), int(m.Rectangulos.size())) << "mesh " << i;
        ASSERT_EQ(b.GetTriangulos(), int(m.Triangulos.size())) << "mesh " << i;
        for (int p = 0; p < b.GetCuadrados() + b.GetTriangulos(); ++p)
            ASSERT_NE(b.GetTextura(p), nullptr) << "mesh " << i << ", primitive " << p;
    }
}

INSTANTIATE_TEST_SUITE_P(Niveles, ConversionReal, ::testing::Values("title-a.tr4", "title-b.tr4"));
