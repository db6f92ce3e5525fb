#include "CargarNivel.h"
#include "EscritorNivel.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

using namespace fixture;

namespace {

// Loads a level whose block 4 is `datos`, with everything else taken from an empty level.
int CargarDatos(const Bytes& datos, trNivel& nivel, std::string* motivo = nullptr) {
    auto c = ArmarContenedor(NivelFixture{});
    c.bloques[3].inflado = datos;
    const Bytes archivo = Serializar(c);
    return CargarNivelDeMemoria(archivo.data(), archivo.size(), nivel, motivo);
}

int Cargar(const NivelFixture& n, trNivel& nivel, std::string* motivo = nullptr) {
    return CargarDatos(CodificarDatosNivel(n).bytes, nivel, motivo);
}

void Poner32(Bytes& b, size_t en, uint32_t v) {
    std::memcpy(&b[en], &v, 4);
}
void Poner16(Bytes& b, size_t en, uint16_t v) {
    std::memcpy(&b[en], &v, 2);
}

// Fields after the object textures land right only if every row before them was walked exactly.
NivelFixture ConColas(NivelFixture n) {
    n.numItems = 2;
    n.numObjetosIA = 1;
    n.numDetallesSonido = 3;
    n.numIndicesMuestra = 5;
    return n;
}
void ExpectColasLeidas(const trNivel& nivel) {
    EXPECT_EQ(nivel.NumItems, 2u);
    EXPECT_EQ(nivel.Items.size(), 48u);
    EXPECT_EQ(nivel.NumObjetosIA, 1u);
    EXPECT_EQ(nivel.NumDetallesSonido, 3u);
    EXPECT_EQ(nivel.NumIndicesMuestra, 5u);
    EXPECT_EQ(nivel.IndicesMuestra.size(), 20u);
}

} // namespace

TEST(LeerNivel, CuartosDeFormasDiversas) {
    NivelFixture n;
    CuartoFixture normal;
    normal.numVertices = 4;
    normal.numRectangulos = 1;
    normal.numTriangulos = 2;
    normal.numSprites = 1;
    normal.numPortales = 2;
    normal.dim1 = 3;
    normal.dim2 = 2;
    normal.numLuces = 1;
    normal.numEstaticos = 2;
    normal.colorBajo = 0x1234;
    normal.colorAlto = 0x5678;
    normal.alterno = 7;
    normal.banderas = -2;
    normal.tresBytes = {9, 8, 7};
    CuartoFixture rejillaVacia;
    rejillaVacia.dim1 = 0;
    rejillaVacia.dim2 = 5;
    rejillaVacia.colorBajo = 0xAAAA;
    CuartoFixture sinVertices;
    sinVertices.numVertices = -1;
    sinVertices.numRectangulos = 2;
    n.cuartos = {normal, rejillaVacia, sinVertices};
    n = ConColas(n);

    trNivel nivel;
    std::string motivo;
    ASSERT_EQ(Cargar(n, nivel, &motivo), 1) << motivo;
    ASSERT_EQ(nivel.Cuartos.size(), 3u);

    const trCuarto& c0 = nivel.Cuartos[0];
    EXPECT_EQ(c0.Vertices.size(), 48u);
    EXPECT_EQ(c0.Rectangulos.size(), 10u);
    EXPECT_EQ(c0.Triangulos.size(), 16u);
    EXPECT_EQ(c0.Sprites.size(), 4u);
    EXPECT_EQ(c0.Portales.size(), 64u);
    // The grid dimensions come from the 4 bytes right after the portals.
    EXPECT_EQ(c0.DimensionSectores1, 3);
    EXPECT_EQ(c0.DimensionSectores2, 2);
    EXPECT_EQ(c0.Sectores.size(), 48u);
    EXPECT_EQ(c0.Luces.size(), 46u);
    EXPECT_EQ(c0.MeshesEstaticos.size(), 40u);
    EXPECT_EQ(c0.ColorBajo, 0x1234);
    EXPECT_EQ(c0.ColorAlto, 0x5678);
    EXPECT_EQ(c0.CuartoAlterno, 7);
    EXPECT_EQ(c0.Banderas, -2);
    EXPECT_EQ(c0.GrupoAlterno, 7);

    EXPECT_TRUE(nivel.Cuartos[1].Sectores.empty());
    EXPECT_EQ(nivel.Cuartos[1].ColorBajo, 0xAAAA);

    EXPECT_EQ(nivel.Cuartos[2].NumVertices, -1);
    EXPECT_TRUE(nivel.Cuartos[2].Vertices.empty());
    EXPECT_EQ(nivel.Cuartos[2].NumRectangulos, 2);
    EXPECT_EQ(nivel.Cuartos[2].Rectangulos.size(), 20u);
    ExpectColasLeidas(nivel);
}

TEST(LeerNivel, FilasQueDependenDeOtras) {
    NivelFixture n = ConColas({});
    n.numDatosSuelo = 5;
    n.numCajas = 3;
    n.numSolapes = 2;
    n.numDatosDemo = 3;
    n.numAnimaciones = 2;
    trNivel nivel;
    std::string motivo;
    ASSERT_EQ(Cargar(n, nivel, &motivo), 1) << motivo;
    EXPECT_TRUE(nivel.Cuartos.empty());
    EXPECT_EQ(nivel.DatosSuelo.size(), 10u);
    EXPECT_EQ(nivel.Cajas.size(), 24u);
    EXPECT_EQ(nivel.Solapes.size(), 4u);
    EXPECT_EQ(nivel.Zonas.size(), 60u);
    EXPECT_EQ(nivel.DatosDemo.size(), 6u);
    EXPECT_EQ(nivel.Animaciones.size(), 80u);
    ExpectColasLeidas(nivel);

    n.numCajas = 0;
    ASSERT_EQ(Cargar(n, nivel, &motivo), 1) << motivo;
    EXPECT_TRUE(nivel.Cajas.empty());
    EXPECT_TRUE(nivel.Zonas.empty());
    ExpectColasLeidas(nivel);
}

TEST(LeerNivel, TexturasDeObjetoRegistroARegistro) {
    NivelFixture n = ConColas({});
    for (uint16_t k = 0; k < 5; ++k) {
        TexturaObjetoFixture t;
        t.atributo = k;
        t.tile = uint16_t(0x8000 | k);
        t.banderas = 0x10 + k;
        t.esquinas = {{{PIXEL(k), PIXEL(1)}, {PIXEL(2), PIXEL(k)}, {3, 4}, {5, 6}}};
        t.valores = {k, 100u + k, 200u + k, 0xFFFFFFFF};
        n.texturasObjeto.push_back(t);
    }
    trNivel nivel;
    std::string motivo;
    ASSERT_EQ(Cargar(n, nivel, &motivo), 1) << motivo;
    ASSERT_EQ(nivel.TexturasObjeto.size(), 5u);
    for (uint16_t k = 0; k < 5; ++k) {
        const trTexturaObjeto& t = nivel.TexturasObjeto[k];
        EXPECT_EQ(t.Atributo, k);
        EXPECT_EQ(t.Tile, 0x8000 | k);
        EXPECT_EQ(t.Banderas, 0x10 + k);
        EXPECT_EQ(t.Esquinas[0].X >> 8, k);
        EXPECT_EQ(t.Esquinas[1].Y >> 8, k);
        EXPECT_EQ(t.Esquinas[3].Y, 6);
        EXPECT_EQ(t.ValorB, 100u + k);
        EXPECT_EQ(t.ValorD, 0xFFFFFFFFu);
    }
    ExpectColasLeidas(nivel);
}

// A count that promises more than the block holds: refused before allocating when the mesh data
// or object textures depend on it, tolerated (its array left empty) after them.
TEST(LeerNivel, CuentasQuePrometenDeMas) {
    NivelFixture base = ConColas({});
    CuartoFixture cuarto;
    cuarto.numVertices = 2;
    base.cuartos = {cuarto};
    base.texturasObjeto.resize(2);
    const auto datos = CodificarDatosNivel(base);

    struct Caso {
        int fila;
        uint32_t valor;
        const char* pista; // null: the level still loads
    } casos[] = {
        {2, 0xFFFF, "los cuartos (65535 × "},
        {4, 0xFFFFFFFF, "los datos de suelo (4294967295 × 2 bytes"},
        {6, 0xFFFFFFFF, "los datos de meshes"},
        {10, 0x10000000, "las animaciones (268435456 × 40 bytes"},
        {37, 0xFFFFFFFF, "las cajas"},
        {45, 0xFFFFFFFF, "las texturas de objeto (4294967295 × 38 bytes"},
        {47, 0xFFFFFFFF, nullptr},
        {54, 0xFFFFFFFF, nullptr},
    };
    for (const auto& c : casos) {
        SCOPED_TRACE(c.fila);
        Bytes b = datos.bytes;
        if (c.fila == 2)
            Poner16(b, datos.filas[2], uint16_t(c.valor));
        else
            Poner32(b, datos.filas[c.fila], c.valor);
        trNivel nivel;
        std::string motivo;
        const int r = CargarDatos(b, nivel, &motivo);
        if (c.pista) {
            EXPECT_EQ(r, 0);
            EXPECT_NE(motivo.find(c.pista), std::string::npos) << motivo;
        } else {
            EXPECT_EQ(r, 1) << motivo;
            EXPECT_EQ(nivel.TexturasObjeto.size(), 2u);
        }
    }
}

TEST(LeerNivel, CuartoQuePrometeDeMas) {
    NivelFixture base;
    base.cuartos.resize(2);
    const auto datos = CodificarDatosNivel(base);
    const size_t cuarto0 = datos.filas[3];
    struct Caso {
        size_t desplazamiento;
        uint16_t valor;
        const char* pista;
    } casos[] = {
        {20, 32767, "cuarto 0 de 2, los vértices (32767 × 12 bytes"},
        {20 + 6, 0x7FFF, "cuarto 0 de 2, los sprites"},
        {20 + 8, 0xFFFF, "cuarto 0 de 2, los portales"},
    };
    for (const auto& c : casos) {
        Bytes b = datos.bytes;
        Poner16(b, cuarto0 + c.desplazamiento, c.valor);
        trNivel nivel;
        std::string motivo;
        EXPECT_EQ(CargarDatos(b, nivel, &motivo), 0);
        EXPECT_NE(motivo.find(c.pista), std::string::npos) << motivo;
    }
    // A 65535 × 65535 sector grid.
    Bytes b = datos.bytes;
    Poner16(b, cuarto0 + 30, 0xFFFF);
    Poner16(b, cuarto0 + 32, 0xFFFF);
    trNivel nivel;
    std::string motivo;
    EXPECT_EQ(CargarDatos(b, nivel, &motivo), 0);
    EXPECT_NE(motivo.find("los sectores (4294836225 × 8 bytes"), std::string::npos) << motivo;
}

TEST(LeerNivel, BloqueQueTerminaAntes) {
    NivelFixture n = ConColas({});
    n.texturasObjeto.resize(3);
    auto datos = CodificarDatosNivel(n);

    // Some real levels end after a longer sound table; nothing used is lost.
    NivelFixture sinMapa = n;
    sinMapa.sinMapaSonido = true;
    trNivel nivel;
    std::string motivo;
    ASSERT_EQ(Cargar(sinMapa, nivel, &motivo), 1) << motivo;
    EXPECT_EQ(nivel.TexturasObjeto.size(), 3u);
    EXPECT_EQ(nivel.NumItems, 2u);

    // Cut anywhere up to the end of the object textures: refused, naming what is missing.
    for (size_t corte : {size_t(0), size_t(3), datos.filas[7] + 1, datos.filas[46] + 37}) {
        Bytes b(datos.bytes.begin(), datos.bytes.begin() + corte);
        EXPECT_EQ(CargarDatos(b, nivel, &motivo), 0) << corte;
        EXPECT_NE(motivo.find("datos del nivel dañados"), std::string::npos) << motivo;
    }
    EXPECT_EQ(CargarDatos({}, nivel, &motivo), 0);
    EXPECT_NE(motivo.find("antes del valor inicial"), std::string::npos) << motivo;
}
