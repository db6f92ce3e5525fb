#include "CargarNivel.h"
#include "EscritorNivel.h"
#include "InflarFlujos.h"

#include <gtest/gtest.h>
#include <zlib.h>

#include <cstring>
#include <filesystem>
#include <iterator>
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

long HilosVivos() {
    return std::distance(std::filesystem::directory_iterator("/proc/self/task"),
                         std::filesystem::directory_iterator());
}

// What zlib gets out of a stream before its bytes run out.
uint32_t InfladoHastaElCorte(const Bytes& flujo) {
    z_stream z{};
    inflateInit(&z);
    Bytes salida(1 << 20);
    z.next_in = const_cast<Bytef*>(flujo.data());
    z.avail_in = uInt(flujo.size());
    z.next_out = salida.data();
    z.avail_out = uInt(salida.size());
    inflate(&z, Z_SYNC_FLUSH);
    inflateEnd(&z);
    return uint32_t(z.total_out);
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
    // No thread that inflated a block outlives the refusal.
    void ExpectRechazo(const Bytes& archivo, const std::string& pista) {
        std::string motivo;
        const long hilos = HilosVivos();
        EXPECT_EQ(Cargar(archivo, nivel, motivo), 0);
        EXPECT_NE(motivo.find(pista), std::string::npos) << motivo;
        EXPECT_EQ(HilosVivos(), hilos);
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

// The version word is read first: a level of the first three games is read by its own reader,
// and a fourth-game container under their word is refused naming that game, not for block sizes
// of ours. "TR4c" names no game: such a file is read as ours and, where that fails, told with its
// version.
TEST_F(NivelPrevio, LaVersionNombraElJuego) {
    const struct {
        uint32_t version;
        int juego;
    } tabla[] = {{0x00000020, 1}, {0x0000002D, 2}, {0xFF080038, 3}, {0xFF180038, 3},
                 {0x00345254, 4}, {0x63345254, 0}, {0x00000000, 0}, {0x00355254, 0}};
    for (const auto& [version, juego] : tabla) {
        SCOPED_TRACE(version);
        EXPECT_EQ(JuegoDeVersion(version), juego);
        auto c = ArmarContenedor(NivelPequeno());
        c.version = version;
        if (juego >= 1 && juego <= 3)
            ExpectRechazo(Serializar(c),
                          "nivel de Tomb Raider " + std::to_string(juego) + " dañado: ");
    }
    auto c = ArmarContenedor(NivelPequeno());
    c.version = VERSION_TR4C;
    trNivel leido;
    std::string motivo;
    EXPECT_EQ(Cargar(Serializar(c), leido, motivo), 1) << motivo;
    c.bloques[1].flujo = Bytes(64, 0xA5);
    ExpectRechazo(Serializar(c), "su versión es «TR4c», la de los niveles de demostración y "
                                 "protegidos: bloque 2: no es un flujo zlib");
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

    // Plain pages inflate to far more than their compressed bytes suggest: the first buffer is
    // too small and the block grows, by doubling, to what it really holds.
    c = ArmarContenedor(NivelPequeno());
    c.bloques[0].inflado = Paginas(8, [](int, int, int) { return 0xFF336699u; });
    ASSERT_EQ(Cargar(Serializar(c), nivel, motivo), 1) << motivo;
    EXPECT_EQ(nivel.DatosBloque[0], c.bloques[0].inflado);
    EXPECT_LE(nivel.DatosBloque[0].capacity(), 2 * nivel.DatosBloque[0].size());
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

    // Its checksum cut off, stating one byte less than its data holds: the data goes beyond the
    // stated size before the cut shows, though a decoder that sets the last four bytes aside as
    // the checksum sees the data itself cut.
    const uint32_t real2 = uint32_t(Comprimir(c.bloques[1].inflado).size());
    ExpectRechazo(con(1, 999, real2 - 4), "bloque 2: se descomprime en más de los 999 bytes");

    // Cut inside its data and stating just what the bytes that are there yield: a decoder that
    // pads a cut stream with zeros may see output beyond that size, but the stream is cut.
    Bytes variado(20000);
    for (size_t i = 0; i < variado.size(); ++i)
        variado[i] = (i * 2654435761u >> 13) % 5 ? uint8_t('a' + i / 64 % 4) : uint8_t(i * 7);
    const Bytes flujo = Comprimir(variado);
    for (auto& b : c.bloques) // compressed once, not at every cut
        b.flujo = Comprimir(b.inflado);
    for (size_t corte = 8; corte < flujo.size(); corte += flujo.size() / 50) {
        auto d = c;
        d.bloques[1].flujo = Bytes(flujo.begin(), flujo.begin() + corte);
        d.bloques[1].tamanoInflado = InfladoHastaElCorte(*d.bloques[1].flujo);
        ExpectRechazo(Serializar(d), "bloque 2: el flujo zlib está dañado");
    }
    // Stating half of what it holds, and damaged near its end: it went past its size first.
    auto d = c;
    d.bloques[1].flujo = flujo;
    d.bloques[1].flujo->at(flujo.size() - 10) ^= 0x55;
    d.bloques[1].tamanoInflado = 10000;
    ExpectRechazo(Serializar(d), "bloque 2: se descomprime en más de los 10000 bytes");
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
    ExpectRechazo(Serializar(d), "nivel de Tomb Raider 5 dañado: ");
    // The same longer block 3 before our own compressed level data: a level of ours after all.
    d = c;
    d.bloques[2].inflado = Bytes(786432, 0);
    {
        const Bytes largo = Serializar(d);
        trNivel nivel;
        std::string motivo;
        ASSERT_EQ(CargarNivelDeMemoria(largo.data(), largo.size(), nivel, &motivo), 1) << motivo;
        EXPECT_EQ(nivel.Juego, 4);
    }

    // Several faults: the blocks inflate together, but the one reported is the first in the file.
    auto conSumaMala = [&](int b) {
        Bytes f = Comprimir(c.bloques[b].inflado);
        f.back() ^= 1;
        return f;
    };
    d = c;
    d.bloques[1].flujo = conSumaMala(1);
    d.bloques[3].flujo = conSumaMala(3);
    ExpectRechazo(Serializar(d), "bloque 2: el flujo zlib está dañado");
    d = c;
    d.bloques[0].flujo = conSumaMala(0);
    d.bloques[2].tamanoComprimido = 0xFFFFFFFF;
    ExpectRechazo(Serializar(d), "bloque 1: el flujo zlib está dañado");
    d = c;
    d.bloques[0].tamanoInflado = 1000;
    d.bloques[3].flujo = conSumaMala(3);
    ExpectRechazo(Serializar(d), "bloque 1: se descomprime en más de los 1000 bytes");
}

// However many threads share the blocks out, the result is the one a single thread gives.
TEST(InflarFlujos, ElMismoResultadoConCualquierNumeroDeHilos) {
    const Bytes datos[4] = {Paginas(3, [](int p, int x, int y) { return uint32_t(p + x * y); }),
                            Bytes(1000, 7), Bytes(600000, 3),
                            Paginas(1, [](int, int x, int y) { return uint32_t(x ^ y); })};
    Bytes flujos[4];
    FlujoBloque sanos[4];
    for (int b = 0; b < 4; ++b) {
        flujos[b] = Comprimir(datos[b]);
        sanos[b] = {flujos[b].data(), uint32_t(flujos[b].size()), uint32_t(datos[b].size())};
    }
    FlujoBloque rotos[4] = {sanos[0], sanos[1], sanos[2], sanos[3]};
    rotos[1].declarado = 999;
    rotos[3].comprimido -= 1;
    for (unsigned hilos : {0u, 1u, 2u, 3u, 4u, 16u}) {
        trBytes destinos[4];
        Inflado fallo = Inflado::Bien;
        EXPECT_EQ(InflarFlujos(sanos, 4, destinos, fallo, hilos), 4) << hilos;
        for (int b = 0; b < 4; ++b)
            EXPECT_EQ(destinos[b], datos[b]) << hilos << " " << b;
        EXPECT_EQ(InflarFlujos(rotos, 4, destinos, fallo, hilos), 1) << hilos;
        EXPECT_EQ(fallo, Inflado::Excede) << hilos;
        EXPECT_EQ(destinos[0], datos[0]) << hilos;
        EXPECT_EQ(InflarFlujos(rotos + 2, 2, destinos, fallo, hilos), 1) << hilos;
        EXPECT_EQ(fallo, Inflado::Danado) << hilos;
    }
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
