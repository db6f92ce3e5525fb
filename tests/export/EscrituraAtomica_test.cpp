#include "EscrituraAtomica.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>

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
    std::string motivo;
    EXPECT_FALSE(EscribirAtomico({{destino, Bytes("nuevo")}, {(dir / "no/hay/b.bin").string(), Bytes("x")}},
                                 &motivo));
    EXPECT_NE(motivo.find("no/hay/b.bin"), std::string::npos) << motivo;
    EXPECT_EQ(Leer(destino), "bueno");
    EXPECT_EQ(Entradas(), 1u);
    // A folder where the file should go: its rename fails, and nothing is left behind.
    fs::create_directory(dir / "c.glb");
    EXPECT_FALSE(EscribirAtomico((dir / "c.glb").string(), Bytes("x"), &motivo));
    EXPECT_EQ(Entradas(), 2u);
    // A file system nobody may write, even root.
    EXPECT_FALSE(EscribirAtomico("/proc/tr4_export.glb", Bytes("x"), &motivo));
}
