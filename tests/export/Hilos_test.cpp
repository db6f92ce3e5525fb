// The work an export shares out between threads, checked for its result here and, in the
// ThreadSanitizer build (ctest --preset tsan), for the way the threads share it.
#include "ExportarGLTF.h"

#include "EscritorNivel.h"
#include "LecturaGLTF.h"
#include "NivelAbierto.h"

#include <gtest/gtest.h>

#include <thread>

using fixture::PIXEL;

// More pages than cores: every thread takes several, and each image must still be its own page's.
TEST(Hilos, CadaPaginaSeCodificaEnSuImagenAunqueLasRepartanVariosHilos) {
    const int paginas = int(std::max(2u, std::thread::hardware_concurrency())) * 3;
    fixture::NivelFixture f = fixture::NivelObjetos();
    f.paginas = fixture::Paginas(paginas, [](int p, int x, int y) {
        return 0xFF000000u | uint32_t(p * 40) << 16 | uint32_t(x) << 8 | uint32_t(y ^ p);
    });
    fixture::MeshFixture m;
    m.vertices = {{0, 0, 0}, {1024, 0, 0}, {1024, 0, 1024}, {0, 0, 1024}};
    m.luces.assign(4, 0);
    for (int p = 0; p < paginas; ++p) {
        fixture::TexturaObjetoFixture t;
        t.tile = uint16_t(p);
        t.esquinas = {{{PIXEL(0), PIXEL(0)}, {PIXEL(255), PIXEL(0)}, {PIXEL(255), PIXEL(255)},
                       {PIXEL(0), PIXEL(255)}}};
        f.texturasObjeto.push_back(t);
        m.rectangulos.push_back({{0, 1, 2, 3}, uint16_t(p)});
    }
    f.meshes = {m, m, m};
    f.punterosMesh.reset();

    const auto bytes = fixture::EscribirNivel(f);
    std::unique_ptr<NivelAbierto> n;
    Hecho hecho;
    ASSERT_TRUE((hecho = AbrirNivelDeMemoria(bytes.data(), bytes.size(), n))) << hecho.Motivo();
    std::vector<ArchivoPorEscribir> archivos;
    ASSERT_TRUE(
        (hecho = ExportarGLTFEnMemoria(*n, {Elegido::Mesh, 0}, "/x/m.glb", archivos)))
        << hecho.Motivo();
    ASSERT_EQ(archivos.size(), 1u);
    const tinygltf::Model modelo = Leer(archivos[0]);
    ASSERT_EQ(modelo.images.size(), size_t(paginas));
    for (const tinygltf::Image& imagen : modelo.images) {
        const int p = std::stoi(imagen.name.substr(imagen.name.find('_') + 1));
        ASSERT_EQ(imagen.image.size(), 256u * 256 * 4) << imagen.name;
        for (int y = 0; y < 256; y += 51)
            for (int x = 0; x < 256; x += 37) {
                const uint8_t* rgba = &imagen.image[size_t(y * 256 + x) * 4];
                EXPECT_EQ(rgba[0], uint8_t(p * 40)) << imagen.name;
                EXPECT_EQ(rgba[1], x) << imagen.name;
                EXPECT_EQ(rgba[2], uint8_t(y ^ p)) << imagen.name;
                EXPECT_EQ(rgba[3], 255) << imagen.name;
            }
    }
}
