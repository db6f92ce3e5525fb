// Batched drawing beside the device: each vertex takes its texels from the page it names, a page
// past those loaded leaves the vertex colour, vertices sent again in place draw as sent, and a
// run past the vertices is refused.
#include "EntornoGL.h"
#include "Grabador.h"
#include "Lotes8.h"

TEST_F(PruebaGL, LotesTomanLaPaginaDeCadaVerticeYNoLeenFueraDeSusVertices) {
    auto lotes = CrearLotes8(dev_);
    ASSERT_NE(lotes, nullptr);
    // Page 0 red, page 1 blue, as A8R8G8B8 words.
    std::vector<uint32_t> paginas(2 * 256 * 256, kRojo);
    std::fill(paginas.begin() + 256 * 256, paginas.end(), kAzul);
    ASSERT_EQ(lotes->CargarPaginas(2, reinterpret_cast<const BYTE*>(paginas.data())), D3D_OK);

    // Left half page 1 lit white, right half a page never loaded lit green; clockwise.
    auto mitad = [](float x0, float x1, uint32_t pagina, D3DCOLOR k) {
        const VerticeLote a{x0, 1, .5f, 0, 0, pagina, k}, b{x1, 1, .5f, 1, 0, pagina, k},
            c{x1, -1, .5f, 1, 1, pagina, k}, d{x0, -1, .5f, 0, 1, pagina, k};
        return std::vector<VerticeLote>{a, b, d, d, b, c};
    };
    auto vertices = mitad(-1, 0, 1, kBlanco);
    for (const VerticeLote& v : mitad(0, 1, 7, kVerde))
        vertices.push_back(v);
    ASSERT_EQ(lotes->CargarVertices(vertices.data(), UINT(vertices.size())), D3D_OK);

    const D3DMATRIX id = Identidad();
    const TramoLote todo{0, 12, false};
    ASSERT_EQ(lotes->Dibujar(id, id, &todo, 1, LOTE_TEXTURIZADO, false), D3D_OK);
    EXPECT_EQ(lotes->LlamadasDibujo(), 1u);
    EXPECT_EQ(lotes->TriangulosDibujados(), 4u);
    EXPECT_EQ(Pixel(kLado / 4, kLado / 2), kAzul);
    EXPECT_EQ(Pixel(3 * kLado / 4, kLado / 2), kVerde);

    const TramoLote fuera{6, 7, false};
    EXPECT_EQ(lotes->Dibujar(id, id, &fuera, 1, LOTE_TEXTURIZADO, false), D3DERR_INVALIDCALL);

    // The left half sent again in place, lit green on a page never loaded.
    const auto verde = mitad(-1, 0, 7, kVerde);
    ASSERT_EQ(lotes->ActualizarVertices(0, verde.data(), 6), D3D_OK);
    ASSERT_EQ(lotes->Dibujar(id, id, &todo, 1, LOTE_TEXTURIZADO, false), D3D_OK);
    EXPECT_EQ(lotes->TriangulosDibujados(), 4u);
    EXPECT_EQ(Pixel(kLado / 4, kLado / 2), kVerde);
    EXPECT_EQ(lotes->ActualizarVertices(7, vertices.data(), 6), D3DERR_INVALIDCALL);
    EXPECT_EQ(lotes->ActualizarVertices(0, nullptr, 1), D3DERR_INVALIDCALL);
    EXPECT_EQ(lotes->CargarVertices(nullptr, 3), D3DERR_INVALIDCALL);

    // The recorder draws no batches.
    IDirect3DDevice8* grabador = CrearDispositivoGrabador(std::make_shared<RegistroGrabador>());
    EXPECT_EQ(CrearLotes8(grabador), nullptr);
    grabador->Release();
}
