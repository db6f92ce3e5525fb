#include "EscrituraAtomica.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>

namespace fs = std::filesystem;

namespace {

struct Carpeta : ::testing::Test {
    fs::path dir;
    void SetUp() override {
        dir = fs::temp_directory_path() /
              ("tr4_atomico_" + std::to_string(::getpid()) + "_" +
               ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(dir);
        fs::create_directories(dir);
    }
    void TearDown() override { fs::remove_all(dir); }
    std::string Leer(const fs::path& p) {
        std::ifstream f(p, std::ios::binary);
        return {std::istreambuf_iterator<char>(f), {}};
    }
    size_t Entradas() { return std::distance(fs::directory_iterator(dir), fs::directory_iterator()); }
    // Every file in the folder, hidden ones included, with what it holds.
    std::map<std::string, std::string> Contenido() {
        std::map<std::string, std::string> c;
        for (const auto& e : fs::directory_iterator(dir))
            c[e.path().filename().string()] = Leer(e.path());
        return c;
    }
};

// The real calls, each one written down, the one numbered `fallarEn` failing with EIO instead;
// `sinEnlaces` answers hard links as a FAT disk does.
struct Grabadora : LlamadasArchivo {
    LlamadasArchivo& real = LlamadasArchivo::DelSistema();
    std::vector<std::string> vistas;
    int fallarEn = -1;
    bool sinEnlaces = false;

    bool Falla(const char* llamada) {
        vistas.push_back(llamada);
        if (int(vistas.size()) - 1 != fallarEn)
            return false;
        errno = EIO;
        return true;
    }
    int CrearTemporal(std::string& p) override { return Falla("crear") ? -1 : real.CrearTemporal(p); }
    ssize_t Escribir(int fd, const uint8_t* d, size_t n) override {
        return Falla("escribir") ? -1 : real.Escribir(fd, d, n);
    }
    int Sincronizar(int fd) override { return Falla("fsync") ? -1 : real.Sincronizar(fd); }
    int Cerrar(int fd) override {
        const int r = real.Cerrar(fd); // a failed close has closed the file all the same
        return Falla("cerrar") ? -1 : r;
    }
    int Enlazar(const std::string& de, const std::string& a) override {
        if (Falla("enlazar"))
            return -1;
        if (sinEnlaces) {
            errno = EPERM;
            return -1;
        }
        return real.Enlazar(de, a);
    }
    int Renombrar(const std::string& de, const std::string& a) override {
        return Falla("renombrar") ? -1 : real.Renombrar(de, a);
    }
    int Borrar(const std::string& ruta) override { return Falla("borrar") ? -1 : real.Borrar(ruta); }
    int SincronizarCarpeta(const std::string& c) override {
        return Falla("fsync carpeta") ? -1 : real.SincronizarCarpeta(c);
    }
};

std::vector<uint8_t> Bytes(const std::string& s) { return {s.begin(), s.end()}; }

} // namespace

TEST_F(Carpeta, EscribeYReemplazaSinDejarTemporales) {
    const auto destino = (dir / "a.bin").string();
    ASSERT_TRUE(EscribirAtomico(destino, Bytes("uno")));
    ASSERT_TRUE(EscribirAtomico({{destino, Bytes("dos")}, {(dir / "b.png").string(), Bytes("tres")}}));
    EXPECT_EQ(Leer(destino), "dos");
    EXPECT_EQ(Leer(dir / "b.png"), "tres");
    EXPECT_EQ(Entradas(), 2u);
}

TEST_F(Carpeta, UnFalloNoTocaNadaYNoDejaRastro) {
    const auto destino = (dir / "a.gltf").string();
    ASSERT_TRUE(EscribirAtomico(destino, Bytes("bueno")));
    // The second file's folder is missing: the first must not be replaced either.
    Hecho hecho;
    EXPECT_FALSE((hecho = EscribirAtomico(
                      {{destino, Bytes("nuevo")}, {(dir / "no/hay/b.bin").string(), Bytes("x")}})));
    EXPECT_NE(
        hecho.Motivo().find("no/hay/b.bin: no existe la carpeta " + (dir / "no/hay").string()),
        std::string::npos)
        << hecho.Motivo();
    EXPECT_EQ(Leer(destino), "bueno");
    EXPECT_EQ(Entradas(), 1u);
    // A file where a folder should be, at any depth, is named as what stands in the way.
    for (const char* bajo : {"/x.bin", "/b/c/x.bin"}) {
        EXPECT_FALSE((hecho = EscribirAtomico(destino + bajo, Bytes("x"))));
        EXPECT_EQ(hecho.Motivo(), "no se pudo escribir " + destino + bajo + ": " + destino +
                                      " es un archivo, no una carpeta");
    }
    EXPECT_EQ(Leer(destino), "bueno");
    EXPECT_EQ(Entradas(), 1u);
    // A folder where the file should go: its rename fails, and nothing is left behind.
    fs::create_directory(dir / "c.glb");
    EXPECT_FALSE((hecho = EscribirAtomico((dir / "c.glb").string(), Bytes("x"))));
    EXPECT_EQ(Entradas(), 2u);
    // A file system nobody may write, even root.
    // A file system nobody may write, even root: the folder is named as the fault, not as missing.
    EXPECT_FALSE((hecho = EscribirAtomico("/proc/tr4_export.glb", Bytes("x"))));
    EXPECT_EQ(hecho.Motivo(),
              "no se pudo escribir /proc/tr4_export.glb: no se puede escribir en la carpeta /proc");
}

TEST_F(Carpeta, CadaArchivoSeSincronizaAntesDeRenombrarYLaCarpetaDespues) {
    ASSERT_TRUE(EscribirAtomico((dir / "a.gltf").string(), Bytes("viejo")));
    Grabadora g;
    ASSERT_TRUE(EscribirAtomico({{(dir / "a.gltf").string(), Bytes("nuevo")},
                                 {(dir / "b.bin").string(), Bytes("datos")}},
                                g));
    // a.gltf stood there: it gets a second name before anything is renamed, dropped at the end.
    EXPECT_EQ(g.vistas, (std::vector<std::string>{"crear", "escribir", "fsync", "cerrar", "crear",
                                                  "escribir", "fsync", "cerrar", "enlazar",
                                                  "enlazar", "renombrar", "renombrar",
                                                  "fsync carpeta", "borrar"}));
    EXPECT_EQ(Contenido(), (std::map<std::string, std::string>{{"a.gltf", "nuevo"}, {"b.bin", "datos"}}));
}

TEST_F(Carpeta, CualquierLlamadaQueFallaDejaLaCarpetaComoEstaba) {
    // A model replacing an older one beside a new buffer file, with hard links and without.
    for (const bool sinEnlaces : {false, true}) {
        for (int k = 0;; ++k) {
            fs::remove_all(dir);
            fs::create_directories(dir);
            ASSERT_TRUE(EscribirAtomico((dir / "a.gltf").string(), Bytes("viejo")));
            const auto antes = Contenido();
            Grabadora g;
            g.sinEnlaces = sinEnlaces;
            g.fallarEn = k;
            Hecho hecho;
            const bool bien =
                bool(hecho = EscribirAtomico({{(dir / "b.bin").string(), Bytes("datos")},
                                              {(dir / "a.gltf").string(), Bytes("nuevo")}},
                                             g));
            if (k >= int(g.vistas.size())) {
                // Past the last call: nothing failed.
                ASSERT_TRUE(bien) << hecho.Motivo();
                EXPECT_EQ(Contenido(), (std::map<std::string, std::string>{{"a.gltf", "nuevo"},
                                                                           {"b.bin", "datos"}}));
                break;
            }
            const std::string fallo = g.vistas[size_t(k)];
            if (fallo == "borrar") {
                // Only the old file's second name was left: the write itself is done.
                EXPECT_TRUE(bien) << k;
                EXPECT_EQ(Leer(dir / "a.gltf"), "nuevo");
                continue;
            }
            EXPECT_FALSE(bien) << "call " << k << " (" << fallo << ") failed unseen";
            EXPECT_NE(hecho.Motivo().find("Input/output error"), std::string::npos)
                << k << ": " << hecho.Motivo();
            EXPECT_EQ(Contenido(), antes) << "call " << k << " (" << fallo << ")";
        }
    }
}
