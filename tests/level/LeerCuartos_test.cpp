// Room geometry and placements read from fixture levels and a real one: what is kept, what a
// damaged face or placement costs.
#include "LeerCuartos.h"
#include "NivelLeido.h"

#include <gtest/gtest.h>

namespace {

fixture::CuartoFixture CuartoConCaras() {
    fixture::CuartoFixture c;
    c.info = {1024, uint32_t(-2048), 0, uint32_t(-1024)};
    c.alterno = 1;
    c.vertices = {{0, -512, 0, 0, 0, 0x7C00}, {1024, -512, 0}, {1024, 0, 1024}, {0, 0, 1024}};
    c.rectangulos = {
        {{0, 1, 2, 3}, 1},
        {{0, 1, 2, 4}, 0},            // vertex 4 is past the room's four: dropped
        {{3, 2, 1, 0}, 0x8000 | 200}, // double-sided, a texture past the level's
    };
    c.triangulos = {{{0, 1, 2}, 0}, {{0, 9, 2}, 0}};
    return c;
}

} // namespace

TEST(LeerCuartos, CarasDentroDelCuartoYColocacionesQueExisten) {
    auto n = fixture::NivelObjetos();
    n.texturasObjeto.resize(2);
    n.cuartos[1] = CuartoConCaras();
    n.cuartos[1].estaticos = {{0, 0, 0, 0, 0, 0, 77}}; // no static has id 77
    n.items.push_back({5, 99});                         // no room 99
    const auto l = LeerNivelYObjetos(fixture::EscribirNivel(n));
    const auto cuartos = LeerCuartos(l->nivel);
    ASSERT_EQ(cuartos.size(), 2u);
    EXPECT_TRUE(cuartos[0].Caras.empty());

    const trGeometriaCuarto& g = cuartos[1];
    EXPECT_EQ(g.X, 1024);
    EXPECT_EQ(g.Z, -2048);
    EXPECT_EQ(g.YArriba, -1024);
    EXPECT_EQ(g.Alterno, 1);
    ASSERT_EQ(g.Vertices.size(), 4u);
    // The room's origin is added to x and z, not to y.
    EXPECT_EQ(g.Vertices[0].X, 1024);
    EXPECT_EQ(g.Vertices[0].Y, -512);
    EXPECT_EQ(g.Vertices[2].Z, -1024);
    EXPECT_EQ(g.Vertices[0].Color, 0x7C00);
    EXPECT_EQ(g.Rectangulos, 2u);
    EXPECT_EQ(g.Triangulos, 1u);
    EXPECT_EQ(g.Descartadas, 2u);
    EXPECT_EQ(g.SinTextura, 1u);
    ASSERT_EQ(g.Caras.size(), 3u);
    EXPECT_FALSE(g.Caras[0].DobleCara);
    EXPECT_EQ(g.Caras[0].Textura, 1);
    EXPECT_TRUE(g.Caras[1].DobleCara);
    EXPECT_EQ(g.Caras[1].Textura, 200);
    EXPECT_EQ(g.Caras[2].Lados, 3);

    const trColocacionesCuartos c = ContarColocaciones(l->objetos, cuartos.size());
    EXPECT_EQ(c.Estaticos, 2u); // room 0's two of static 38
    EXPECT_EQ(c.EstaticosOmitidos, 1u);
    EXPECT_EQ(c.Items, 3u);
    EXPECT_EQ(c.ItemsOmitidos, 2u); // object id -1, and room 99
}

TEST(LeerCuartos, NivelRealTitleA) {
    const auto archivo = fixture::LeerArchivo(std::string(TR4_NIVELES_REALES) + "/title-a.tr4");
    if (archivo.empty())
        GTEST_SKIP() << "no real level title-a.tr4";
    const auto l = LeerNivelYObjetos(archivo);
    const auto cuartos = LeerCuartos(l->nivel);
    uint32_t rectangulos = 0, triangulos = 0, perdidas = 0;
    for (const auto& g : cuartos) {
        rectangulos += g.Rectangulos;
        triangulos += g.Triangulos;
        perdidas += g.Descartadas + g.SinTextura;
    }
    EXPECT_EQ(cuartos.size(), 42u);
    EXPECT_EQ(rectangulos, 4022u);
    EXPECT_EQ(triangulos, 159u);
    EXPECT_EQ(perdidas, 0u);
    const trColocacionesCuartos c = ContarColocaciones(l->objetos, cuartos.size());
    EXPECT_EQ(c.Items, 30u);
    EXPECT_EQ(c.ItemsOmitidos + c.EstaticosOmitidos, 0u);
}
