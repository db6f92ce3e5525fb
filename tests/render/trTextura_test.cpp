#include "CargarNivel.h"
#include "EscritorNivel.h"
#include "Grabacion.h"
#include "trTextura.h"

#include <gtest/gtest.h>

using namespace fixture;

namespace {

constexpr size_t PAGINA = 262144;

// A level whose block 1 holds `bytes` bytes, each byte telling its page and place.
trNivel NivelConBloque1(size_t bytes) {
    NivelFixture n;
    n.paginas.resize(bytes);
    for (size_t i = 0; i < bytes; ++i)
        n.paginas[i] = uint8_t(i / PAGINA * 50 + i % 251);
    Bytes archivo = EscribirNivel(n);
    trNivel nivel;
    std::string motivo;
    EXPECT_EQ(CargarNivelDeMemoria(archivo.data(), archivo.size(), nivel, &motivo), 1) << motivo;
    return nivel;
}

int Creadas(const RegistroGrabador& r) {
    int n = 0;
    for (const auto& l : r.Llamadas)
        n += l.rfind("CreateTexture(256, 256", 0) == 0;
    return n;
}

} // namespace

TEST(trTextura, SoloLasPaginasEnterasDelBloqueUnoSeVuelvenTexturas) {
    struct Caso {
        size_t bytes;
        int paginas;
    } casos[] = {{4 * PAGINA, 4}, {4 * PAGINA - 1, 3}, {5 * PAGINA / 2, 2}, {PAGINA - 1, 0}};
    for (const Caso& c : casos) {
        trNivel nivel = NivelConBloque1(c.bytes);
        trTextura paginas(&nivel);
        EXPECT_EQ(paginas.NumPaginas(), c.paginas) << c.bytes;
        DispositivoGrabado d;
        EXPECT_EQ(paginas.CrearTexturas(&d.dispositivo), D3D_OK);
        EXPECT_EQ(Creadas(*d.registro), c.paginas) << c.bytes;
        for (int i = 0; i < c.paginas; ++i)
            EXPECT_NE(paginas.GetTextura(i), nullptr);
        EXPECT_EQ(paginas.GetTextura(c.paginas), nullptr);
        EXPECT_EQ(paginas.GetTextura(-1), nullptr);
        // The texels handed out for viewing and saving: whole pages only.
        EXPECT_EQ(paginas.GetTexels(c.paginas), nullptr) << c.bytes;
        EXPECT_EQ(paginas.GetTexels(-1), nullptr);
    }
}

TEST(trTextura, LaPaginaDosSaleDeLosBytesQueEmpiezanEnDosPaginas) {
    trNivel nivel = NivelConBloque1(4 * PAGINA);
    trTextura paginas(&nivel);
    DispositivoGrabado d;
    ASSERT_EQ(paginas.CrearTexturas(&d.dispositivo), D3D_OK);
    const Bytes& bloque = nivel.DatosBloque[0];
    EXPECT_EQ(d.registro->Contenido["tex3"],
              Bytes(bloque.begin() + 2 * PAGINA, bloque.begin() + 3 * PAGINA));
    EXPECT_NE(d.registro->Contenido["tex3"], d.registro->Contenido["tex2"]);
    // What the pages dock shows and saves is what was uploaded.
    EXPECT_EQ(d.registro->Contenido["tex3"],
              Bytes(paginas.GetTexels(2), paginas.GetTexels(2) + PAGINA));
}

TEST(trTextura, SinDispositivoOAntesDeCrearNoHayTexturas) {
    trNivel nivel = NivelConBloque1(2 * PAGINA);
    trTextura paginas(&nivel);
    EXPECT_EQ(paginas.GetTextura(0), nullptr);
    EXPECT_EQ(paginas.CrearTexturas(nullptr), E_FAIL);
    EXPECT_EQ(paginas.GetTextura(0), nullptr);
}

TEST(trTextura, UnaPaginaRechazadaQuedaNulaYLasDemasSiguen) {
    trNivel nivel = NivelConBloque1(3 * PAGINA);
    DispositivoGrabado d;
    d.registro->Fallar = {"LockRect"};
    {
        trTextura paginas(&nivel);
        // Every page refused is said, and none of them kept.
        EXPECT_EQ(paginas.CrearTexturas(&d.dispositivo), E_FAIL);
        EXPECT_EQ(paginas.GetTextura(1), nullptr);
        d.registro->Fallar.clear();
        // A second creation replaces the first set instead of leaking it.
        EXPECT_EQ(paginas.CrearTexturas(&d.dispositivo), D3D_OK);
        EXPECT_EQ(paginas.CrearTexturas(&d.dispositivo), D3D_OK);
        EXPECT_NE(paginas.GetTextura(1), nullptr);
        EXPECT_EQ(d.registro->Vivos, 1 + 3);
    }
    EXPECT_EQ(d.registro->Vivos, 1); // the pages went with their owner
}

TEST(trTextura, UnTamanoQueMienteNoLeeFueraDelBloque) {
    trNivel nivel = NivelConBloque1(2 * PAGINA);
    nivel.Bloques[0].TamanoInflado = 40 * PAGINA;
    trTextura paginas(&nivel);
    EXPECT_EQ(paginas.NumPaginas(), 2);
    trTextura nada(nullptr);
    EXPECT_EQ(nada.NumPaginas(), 0);
}
