// The format's rules, each worked by hand: a face's page and texels, a rectangle's triangles, the
// axes, sectors, the turns of a frame and of a placement, room light and a step down a mesh tree.
// Every reader of faces and placements goes through these, so a slip here shows in the viewer, the
// counts and the export alike.
#include "ConvencionesNivel.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <numbers>

namespace {

constexpr float CUARTO = std::numbers::pi_v<float> / 2; // 90 degrees

void ExpectCerca(const glm::vec3& a, const glm::vec3& b) {
    EXPECT_NEAR(a.x, b.x, 1e-5f);
    EXPECT_NEAR(a.y, b.y, 1e-5f);
    EXPECT_NEAR(a.z, b.z, 1e-5f);
}

} // namespace

TEST(ConvencionesNivel, PaginaYCoordenadasDeUnaTexturaObjeto) {
    trNivel nivel;
    trTexturaObjeto t;
    t.Tile = 0x8003; // top bit set, as on the textures triangles use
    t.Esquinas[0] = {0x0000, 0x00FF}; // the low byte is never a texel
    t.Esquinas[1] = {0xFF00, 0x8000};
    t.Esquinas[2] = {0x4080, 0xFFFF};
    t.Esquinas[3] = {0x01FF, 0x0100};
    nivel.TexturasObjeto = {t};
    ASSERT_EQ(TexturaObjeto(nivel, 0), &nivel.TexturasObjeto[0]);
    EXPECT_EQ(TexturaObjeto(nivel, 1), nullptr);
    EXPECT_EQ(PaginaDeTextura(t, true), 3u);
    EXPECT_EQ(PaginaDeTextura(t, false), 0x8003u); // a rectangle keeps the whole field
    // A page the level lacks, or an object texture past the last, draws untextured.
    const struct {
        uint32_t textura;
        bool triangulo;
        uint32_t paginas;
        bool texturizada;
    } caras[] = {{0, true, 4, true},
                 {0, true, 3, false},
                 {0, false, 0x8003, false},
                 {0, false, 0x8004, true},
                 {1, true, 4, false}};
    for (const auto& c : caras) {
        SCOPED_TRACE(testing::Message() << c.triangulo << " " << c.paginas);
        const TexturaCara tc = TexturaDeCara(nivel, c.textura, c.triangulo, c.paginas);
        EXPECT_EQ(tc.Objeto != nullptr, c.texturizada);
        if (tc.Objeto) {
            EXPECT_EQ(tc.Pagina, PaginaDeTextura(t, c.triangulo));
        }
    }

    const struct {
        int esquina;
        int32_t texelX, texelY;
        float u, v;
    } casos[] = {
        {0, 0, 0, 0.f, 0.f},
        {1, 255, 128, 255.f / 256, 0.5f},
        {2, 64, 255, 0.25f, 255.f / 256},
        {3, 1, 1, 1.f / 256, 1.f / 256},
    };
    for (const auto& c : casos) {
        SCOPED_TRACE(c.esquina);
        const auto& e = t.Esquinas[c.esquina];
        EXPECT_EQ(TexelEsquina(e.X), c.texelX);
        EXPECT_EQ(TexelEsquina(e.Y), c.texelY);
        EXPECT_EQ(UVEsquina(e.X), c.u);
        EXPECT_EQ(UVEsquina(e.Y), c.v);
        EXPECT_EQ(UVDeEsquina(t, c.esquina), glm::vec2(c.u, c.v));
    }
}

// A rectangle that is not flat: corner 3 raised. Cut along 1-3 as the game cuts it, both triangles
// hold that diagonal; cut along 0-2 the surface would fold the other way. Both of a face's
// triangles turn the same way seen from above, the device's one way and the other winding's the
// other: a slip shows as half of every rectangle culled.
TEST(ConvencionesNivel, TriangulosDeUnaCara) {
    const glm::vec3 esquinas[4] = {{0, 0, 0}, {1, 0, 0}, {1, 0, 1}, {0, -1, 1}};
    auto giro = [&](const int* t) { // its sign is the way it turns, seen along y
        const glm::vec3 a = esquinas[t[0]], b = esquinas[t[1]], c = esquinas[t[2]];
        return (b.x - a.x) * (c.z - a.z) - (b.z - a.z) * (c.x - a.x);
    };
    const struct {
        int lados;
        bool contrario;
        std::array<int, 6> esperadas; // as the scene, the picking and the export take them
    } casos[] = {
        {4, false, {0, 1, 3, 3, 1, 2}},
        {4, true, {0, 3, 1, 1, 3, 2}},
        {3, false, {0, 1, 2, 0, 0, 0}},
        {3, true, {0, 2, 1, 0, 0, 0}},
    };
    for (const auto& c : casos) {
        SCOPED_TRACE(testing::Message() << c.lados << " " << c.contrario);
        const std::array<int, 6> t = EsquinasTriangulos(c.lados, c.contrario);
        EXPECT_EQ(t, c.esperadas);
        for (int k = 0; k < 3 * (c.lados - 2); k += 3) {
            const int* tri = &t[size_t(k)];
            EXPECT_EQ(giro(tri) > 0, !c.contrario) << k;
            if (c.lados == 4) {
                const auto fin = tri + 3;
                EXPECT_NE(std::find(tri, fin, 1), fin) << k;
                EXPECT_NE(std::find(tri, fin, 3), fin) << k;
            }
        }
    }
    // The strip takes the same cut: its middle two corners are the diagonal's.
    EXPECT_EQ(TIRA_RECTANGULO[1], 1);
    EXPECT_EQ(TIRA_RECTANGULO[2], 3);
}

TEST(ConvencionesNivel, EjesDelDispositivo) {
    // y negated as an integer: -32768 survives, 0 stays +0.
    EXPECT_EQ(EnDispositivo(trVector16{1, -32768, 3}), glm::vec3(1, 32768, 3));
    EXPECT_FALSE(std::signbit(EnDispositivo(trVector16{0, 0, 0}).y));
    EXPECT_EQ(YEnDispositivo(-2147483648LL), 2147483648LL);
    EXPECT_EQ(EnDispositivo(glm::vec3(1, 2, 3)), glm::vec3(1, -2, 3));
}

// A room's grid from its corner: a point on a sector's near edge is in it, one just short is in
// the one before (negative before the corner, not rounded towards it).
TEST(ConvencionesNivel, SectoresDeLaRejilla) {
    const struct {
        double posicion, origen, celda;
    } casos[] = {{0, 0, 0},         {1023.5, 0, 0},  {1024, 0, 1},   {-1, 0, -1},
                 {-4096, -8192, 4}, {3072, 1024, 2}, {-0.001, 0, -1}};
    for (const auto& c : casos) {
        SCOPED_TRACE(c.posicion);
        EXPECT_EQ(CeldaSector(c.posicion, c.origen), c.celda);
    }
    EXPECT_EQ(PosicionSector(-2048, 3), 1024.f);
    EXPECT_EQ(PosicionSector(1024, 0.5f), 1536.f); // the middle of the first sector
}

// Each turn right-handed in the level's axes; a frame's about z first, then x, then y.
TEST(ConvencionesNivel, GirosDeCuadroEnOrdenYXZ) {
    const struct {
        trGiro giro;
        glm::vec3 antes, despues;
    } casos[] = {
        {{CUARTO, 0, 0}, {0, 1, 0}, {0, 0, 1}},
        {{0, CUARTO, 0}, {0, 0, 1}, {1, 0, 0}},
        {{0, 0, CUARTO}, {1, 0, 0}, {0, 1, 0}},
        // Rz (1, 2, 3) = (-2, 1, 3); Rx = (-2, -3, 1); Ry(180) = (2, -3, -1). Turned z, y, x
        // (or any other order) it would end elsewhere.
        {{CUARTO, 2 * CUARTO, CUARTO}, {1, 2, 3}, {2, -3, -1}},
        // Rz (-2, 1, 3); Rx (-2, -3, 1); Ry(90) (x, y, z) -> (z, y, -x) = (1, -3, 2).
        {{CUARTO, CUARTO, CUARTO}, {1, 2, 3}, {1, -3, 2}},
    };
    for (const auto& c : casos) {
        SCOPED_TRACE(testing::Message() << c.giro.X << " " << c.giro.Y << " " << c.giro.Z);
        ExpectCerca(CuaternionGiro(c.giro) * c.antes, c.despues);
    }
}

// A placement's angle: 65536 a full turn about the level's y, the same way as a frame's.
TEST(ConvencionesNivel, ColocacionGirada) {
    const struct {
        uint16_t angulo;
        glm::vec3 despues; // of (1, 2, 3)
    } casos[] = {{0, {1, 2, 3}}, {16384, {3, 2, -1}}, {32768, {-1, 2, -3}}, {49152, {-3, 2, 1}}};
    for (const auto& c : casos) {
        SCOPED_TRACE(c.angulo);
        ExpectCerca(GiroY(c.angulo) * glm::vec3(1, 2, 3), c.despues);
        EXPECT_FLOAT_EQ(RadianesGiro<float>(c.angulo), float(c.angulo) / 16384 * CUARTO);
        EXPECT_DOUBLE_EQ(GradosGiro<double>(c.angulo), c.angulo / 16384 * 90.0);
    }
    EXPECT_DOUBLE_EQ(GradosGiro<double>(65535), 360 - 360.0 / 65536);
    // Turned 90 degrees and placed at (10, 20, 30): (1, 2, 3) lands at (13, 22, 29) in the
    // level, (13, -22, 29) on the device, reached from the device's own point (1, -2, 3).
    const glm::mat4 m = EnDispositivo(GiroY(16384), {10, 20, 30});
    ExpectCerca(glm::vec3(m * glm::vec4(1, -2, 3, 1)), {13, -22, 29});
}

// Pop (bit 0) before push (bit 1): a node with both takes its parent back from the stack and
// leaves it there for the next.
TEST(ConvencionesNivel, PasoDelArbol) {
    const struct {
        int32_t banderas;
        std::vector<int32_t> pila;
        bool bien;
        int32_t padre; // the parent was 7 before the step
        std::vector<int32_t> pilaDespues;
    } casos[] = {
        {0, {4}, true, 7, {4}},          {1, {4}, true, 4, {}},
        {2, {4}, true, 7, {4, 7}},       {3, {4}, true, 4, {4}},
        {3, {2, 4}, true, 4, {2, 4}},    {1, {}, false, 7, {}},
        {3, {}, false, 7, {7}},          {4, {4}, true, 7, {4}}, // other bits mean nothing here
    };
    for (const auto& c : casos) {
        SCOPED_TRACE(c.banderas);
        std::vector<int32_t> pila = c.pila;
        int32_t padre = 7;
        EXPECT_EQ(PasoArbol(c.banderas, pila, padre), c.bien);
        EXPECT_EQ(padre, c.padre);
        EXPECT_EQ(pila, c.pilaDespues);
    }
}

// Any of the fifteen colour bits lights a room; the sixteenth is no colour. A room without
// vertices has no light either.
TEST(ConvencionesNivel, LuzDeUnCuarto) {
    const struct {
        std::vector<uint16_t> colores;
        bool luz;
    } casos[] = {
        {{}, false},      {{0x0000}, false},        {{0x8000}, false},
        {{0x0001}, true}, {{0x0000, 0x4000}, true}, {{0x8000, 0x0020, 0x0000}, true},
    };
    for (const auto& c : casos) {
        SCOPED_TRACE(c.colores.size());
        trGeometriaCuarto g;
        for (uint16_t color : c.colores)
            g.Vertices.push_back({0, 0, 0, color});
        EXPECT_EQ(CuartoConLuz(g), c.luz);
    }
}

TEST(ConvencionesNivel, CaraConVerticesDeSuMesh) {
    trMesh m;
    m.Vertices.resize(3);
    const uint16_t dentro[3] = {0, 1, 2}, fuera[4] = {0, 1, 2, 3};
    EXPECT_TRUE(VerticesValidos(dentro, m));
    EXPECT_FALSE(VerticesValidos(fuera, m));
}
