#include "CargarNivel.h"
#include "EscritorNivel.h"

#include <gtest/gtest.h>
#include <zlib.h>

#include <cstring>
#include <filesystem>
#include <string>

using namespace fixture;

namespace {

fixture::NivelFixture NivelPequeno() {
    NivelFixture n;
    n.paginas = Paginas(
        2, [](int p, int x, int y) { return uint32_t(0xFF000000u | p << 16 | x << 8 | y); });
    n.bloque2 = Bytes(1000, 7);
    MeshFixture m;
    m.vertices = {{0, 0, 0}, {10, 0, 0}, {0, 10, 0}};
    m.normales = {{0, 0, 1}, {0, 0, 1}, {0, 0, 1}};
    m.triangulos = {{{0, 1, 2}, 0, 0}};
    n.meshes = {m, m};
    n.texturasObjeto.resize(1);
    n.valorFinal = 7;
    n.cola = {1, 2, 3};
    return n;
}

int Cargar(const Bytes& archivo, trNivel& nivel, std::string& motivo) {
    return CargarNivelDeMemoria(archivo.data(), archivo.size(), nivel, &motivo);
}

// A level already loaded, to check that a refused file leaves it as it was.
struct NivelPrevio : ::testing::Test {
    trNivel nivel;
    void SetUp() override {
        std::string motivo;
        ASSERT_EQ(Cargar(EscribirNivel(NivelPequeno()), nivel, motivo), 1) << motivo;
    }
    void ExpectIntacto() const {
        EXPECT_EQ(nivel.NumPalabrasMesh * 2, nivel.DatosMesh.size());
        EXPECT_EQ(nivel.ValorFinal, 7u);
        EXPECT_EQ(nivel.Cola, (Bytes{1, 2, 3}));
        EXPECT_EQ(nivel.NumPaginas(), 2u);
    }
    // Loads the damaged bytes, expecting a refusal whose reason contains `pista`.
    void ExpectRechazo(const Bytes& archivo, const std::string& pista) {
        std::string motivo;
        EXPECT_EQ(Cargar(archivo, nivel, motivo), 0);
        EXPECT_NE(motivo.find(pista), std::string::npos) << motivo;
        ExpectIntacto();
    }
};

} // namespace

TEST_F(NivelPrevio, ContenedorLeidoCampoACampo) {
    EXPECT_EQ(nivel.Version, 0x00345254u);
    EXPECT_EQ(nivel.Bloques[0].TamanoInflado, 2 * trNivel::BYTES_PAGINA);
    EXPECT_EQ(nivel.DatosBloque[0].size(), 2 * trNivel::BYTES_PAGINA);
    EXPECT_EQ(nivel.DatosBloque[1], Bytes(1000, 7));
    EXPECT_EQ(nivel.DatosBloque[2].size(), 524288u);
    // Texel (x=3, y=5) of page 1 is B, G, R, A in memory.
    const size_t texel = trNivel::BYTES_PAGINA + (5 * 256 + 3) * 4;
    EXPECT_EQ(nivel.DatosBloque[0][texel + 0], 5);
    EXPECT_EQ(nivel.DatosBloque[0][texel + 1], 3);
    EXPECT_EQ(nivel.DatosBloque[0][texel + 2], 1);
    ExpectIntacto();
}

TEST_F(NivelPrevio, ArchivoQueNoSePuedeLeer) {
    std::string motivo;
    EXPECT_EQ(CargarNivel("/no/existe/nivel.tr4", nivel, &motivo), 0);
    EXPECT_NE(motivo.find("no se puede abrir"), std::string::npos) << motivo;
    EXPECT_EQ(CargarNivel(::testing::TempDir().c_str(), nivel, &motivo), 0);
    EXPECT_NE(motivo.find("carpeta"), std::string::npos) << motivo;
    EXPECT_EQ(CargarNivel("", nivel, &motivo), 0);

    // A huge file picked by mistake is refused by its size, before anything is read.
    const std::string enorme = ::testing::TempDir() + "/enorme.tr4";
    ASSERT_TRUE(GuardarArchivo(enorme, EscribirNivel(NivelPequeno())));
    std::filesystem::resize_file(enorme, MAXIMO_ARCHIVO_NIVEL + 1);
    EXPECT_EQ(CargarNivel(enorme.c_str(), nivel, &motivo), 0);
    EXPECT_NE(motivo.find("demasiado para ser un nivel"), std::string::npos) << motivo;
    std::filesystem::remove(enorme);
    ExpectIntacto();
}

TEST_F(NivelPrevio, DesdeArchivoIgualQueDesdeMemoria) {
    auto n = NivelPequeno();
    n.valorFinal = 99;
    const std::string ruta = ::testing::TempDir() + "/pequeno.tr4";
    ASSERT_TRUE(GuardarArchivo(ruta, EscribirNivel(n)));
    std::string motivo;
    ASSERT_EQ(CargarNivel(ruta.c_str(), nivel, &motivo), 1) << motivo;
    EXPECT_EQ(nivel.ValorFinal, 99u);
    std::filesystem::remove(ruta);
}

TEST_F(NivelPrevio, ArchivosCortos) {
    ExpectRechazo({}, "demasiado corto");
    ExpectRechazo(Bytes(9, 0), "demasiado corto para ser un nivel (9 bytes)");
    const Bytes archivo = EscribirNivel(NivelPequeno());
    ExpectRechazo(Bytes(archivo.begin(), archivo.begin() + 10), "antes del bloque 1");
    // Cut inside each block's stream, and inside the trailing value.
    const auto c = ArmarContenedor(NivelPequeno());
    for (int b = 0; b < 4; ++b) {
        const size_t corte = PosicionBloque(c, b) + 8 + 4;
        ExpectRechazo(Bytes(archivo.begin(), archivo.begin() + corte),
                      "bloque " + std::to_string(b + 1) + ": dice tener");
    }
    const size_t finBloques = archivo.size() - 3 - 4;
    ExpectRechazo(Bytes(archivo.begin(), archivo.begin() + finBloques + 2), "valor final");
}

TEST(CargarNivel, ColaVaciaCuandoTerminaTrasElValorFinal) {
    auto n = NivelPequeno();
    n.cola.clear();
    trNivel nivel;
    std::string motivo;
    ASSERT_EQ(Cargar(EscribirNivel(n), nivel, motivo), 1) << motivo;
    EXPECT_TRUE(nivel.Cola.empty());
    EXPECT_EQ(nivel.ValorFinal, 7u);
}

TEST(CargarNivel, TamanoInfladoMayorQueElRealGuardaElReal) {
    auto c = ArmarContenedor(NivelPequeno());
    c.bloques[1].tamanoInflado = 5000;
    trNivel nivel;
    std::string motivo;
    ASSERT_EQ(Cargar(Serializar(c), nivel, motivo), 1) << motivo;
    EXPECT_EQ(nivel.Bloques[1].TamanoInflado, 1000u);
    EXPECT_EQ(nivel.DatosBloque[1].size(), 1000u);
}

TEST(CargarNivel, PaginasEnterasSolamente) {
    auto n = NivelPequeno();
    n.paginas.resize(5 * trNivel::BYTES_PAGINA / 2);
    trNivel nivel;
    std::string motivo;
    ASSERT_EQ(Cargar(EscribirNivel(n), nivel, motivo), 1) << motivo;
    EXPECT_EQ(nivel.NumPaginas(), 2u);
}

TEST_F(NivelPrevio, TamanosQueMienten) {
    auto c = ArmarContenedor(NivelPequeno());
    auto con = [&](int b, std::optional<uint32_t> inflado, std::optional<uint32_t> comprimido) {
        auto d = c;
        d.bloques[b].tamanoInflado = inflado;
        d.bloques[b].tamanoComprimido = comprimido;
        return Serializar(d);
    };
    ExpectRechazo(con(0, 1000, {}), "bloque 1: se descomprime en más");
    ExpectRechazo(con(3, 0, {}), "bloque 4: se descomprime en más");
    ExpectRechazo(con(2, 0xFFFFFFFF, {}), "bloque 3: 4294967295 bytes no pueden salir");
    ExpectRechazo(con(1, {}, 0xFFFFFFFF), "bloque 2: dice tener 4294967295 bytes comprimidos");
    ExpectRechazo(con(0, {}, 0), "bloque 1: 524288 bytes no pueden salir de 0 bytes");
    ExpectRechazo(con(0, 0, 1), "bloque 1: no es un flujo zlib");
    // One byte short: the stream is cut before its checksum.
    const uint32_t real = uint32_t(Comprimir(c.bloques[3].inflado).size());
    ExpectRechazo(con(3, {}, real - 1), "bloque 4: el flujo zlib está dañado");
}

TEST_F(NivelPrevio, FlujosQueNoSonZlib) {
    auto c = ArmarContenedor(NivelPequeno());
    auto flujo = Comprimir(c.bloques[0].inflado);
    flujo[flujo.size() / 2] ^= 0x10;
    auto d = c;
    d.bloques[0].flujo = flujo;
    ExpectRechazo(Serializar(d), "bloque 1: el flujo zlib está dañado");

    d = c;
    d.bloques[1].flujo =
        Bytes(64, 0xA5); // an encrypted stream looks like noise from its first byte
    ExpectRechazo(Serializar(d), "bloque 2: no es un flujo zlib");

    // A later game's layout with the same version bytes: block 3 is 786432 bytes and the level
    // data is stored raw.
    d = c;
    d.bloques[2].inflado = Bytes(786432, 0);
    d.bloques[3].flujo = Bytes(200, 0);
    ExpectRechazo(Serializar(d), "Tomb Raider 5");
}

TEST_F(NivelPrevio, DatosDelNivelIlegibles) {
    auto n = NivelPequeno();
    n.texturasObjeto.resize(3);
    auto datos = CodificarDatosNivel(n);
    const uint32_t mentira = 1000;
    std::memcpy(&datos.bytes[datos.filas[45]], &mentira, 4);
    auto c = ArmarContenedor(n);
    c.bloques[3].inflado = datos.bytes;
    ExpectRechazo(Serializar(c), "las texturas de objeto (1000 × 38 bytes");
}
