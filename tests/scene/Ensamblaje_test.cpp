// Objects put together from their records: where every vertex lands, the sphere the framing fits,
// the turn, and the objects of the real levels standing as they should.
#include "Ensamblaje.h"
#include "NivelLeido.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <set>

namespace {

std::unique_ptr<NivelLeido> Leer(const fixture::Bytes& archivo) {
    return LeerNivelYObjetos(archivo);
}

// Every converted vertex of the object where its world matrix puts it (device axes).
std::vector<glm::vec3> Vertices(const Ensamblaje& e, const Lista_Mesh& lista, int pieza = -1) {
    std::vector<glm::vec3> v;
    for (size_t i = 0; i < e.Piezas.size(); ++i) {
        if (pieza >= 0 && size_t(pieza) != i)
            continue;
        trMesh* m = nullptr;
        (void)lista.ObtenerMesh(e.Piezas[i].Mesh, m);
        for (const trVector16& p : m->Vertices)
            v.push_back(Transformar(e.Piezas[i].Mundo, p.X, -float(p.Y), p.Z));
    }
    return v;
}

void ExpectCerca(const glm::vec3& a, const glm::vec3& b, float tolerancia = 1e-3f) {
    EXPECT_NEAR(a.x, b.x, tolerancia);
    EXPECT_NEAR(a.y, b.y, tolerancia);
    EXPECT_NEAR(a.z, b.z, tolerancia);
}

float Distancia(const glm::vec3& a, const glm::vec3& b) {
    return std::hypot(a.x - b.x, a.y - b.y, a.z - b.z);
}

} // namespace

TEST(Ensamblaje, CadaVerticeDondeLoPonenArbolYCuadro) {
    const auto l = Leer(fixture::EscribirNivel(fixture::NivelObjetos()));
    const Ensamblaje e = ArmarMovible(l->objetos.Movibles[0], *l->lista);
    ASSERT_EQ(e.Piezas.size(), 3u);
    // Worked by hand in the level's axes from the vertex (1, 2, 3) of each mesh:
    //   mesh 0: Ry(1/4) (1, 2, 3) = (3, 2, -1), plus the root (10, 20, 30);
    //   mesh 1: Ry Rx(1/2) (1, 2, 3) = (-3, -2, -1), plus Ry (100, 0, 0) + root = (10, 20, -70);
    //   mesh 2 (popped back to mesh 0): Ry Rz(1/4) (1, 2, 3) = (3, 1, 2), plus Ry (0, 200, 0) +
    //   root = (10, 220, 30). Then y negated for the device.
    const glm::vec3 esperado[] = {{13, -22, 29}, {7, -18, -71}, {13, -221, 32}};
    for (int k = 0; k < 3; ++k) {
        SCOPED_TRACE(k);
        EXPECT_EQ(e.Piezas[k].Mesh, k);
        EXPECT_EQ(e.Piezas[k].Padre, k == 0 ? -1 : 0); // mesh 2 popped back to mesh 0
        const auto v = Vertices(e, *l->lista, k);
        ASSERT_EQ(v.size(), 1u);
        ExpectCerca(v[0], esperado[k]);
    }
    // The sphere: centred in the box of the three points, through the farthest.
    ExpectCerca(e.Centro, {10, -119.5f, -19.5f});
    EXPECT_NEAR(e.Radio, Distancia(e.Centro, esperado[2]), 1e-3f);

    // A moveable without animation stands at its tree offsets, unturned; a static is its mesh.
    const Ensamblaje sin = ArmarMovible(l->objetos.Movibles[5], *l->lista);
    ASSERT_EQ(sin.Piezas.size(), 1u);
    ExpectCerca(Vertices(sin, *l->lista)[0], {1, -2, 3});
    const Ensamblaje estatico = ArmarEstatico(l->objetos.Estaticos[0], *l->lista);
    ASSERT_EQ(estatico.Piezas.size(), 1u);
    EXPECT_EQ(estatico.Piezas[0].Mesh, 2);
    // A mesh that names no record is left out; nothing at all gives an empty sphere.
    EXPECT_TRUE(ArmarMovible(l->objetos.Movibles[1], *l->lista).Piezas.empty());
    const Ensamblaje nada = ArmarEstatico(l->objetos.Estaticos[1], *l->lista);
    EXPECT_TRUE(nada.Piezas.empty());
    EXPECT_EQ(nada.Radio, 0);
}

// A root turned about all three axes at once, and a tree node that both pops and pushes.
TEST(Ensamblaje, GiroDeTresEjesYNodoQueSacaYMete) {
    fixture::NivelFixture n;
    fixture::MeshFixture m;
    m.vertices = {{1, 2, 3}};
    n.meshes = {m};
    n.punterosMesh = std::vector<uint32_t>(5, 0);
    // Mesh 1 from 0; mesh 2 pushes 1 and hangs from it; mesh 3 pops 1 and pushes it again,
    // hanging from 1; mesh 4 pops that 1 back. Walked with the wrong order or a flag missed,
    // mesh 3 hangs from 2, or mesh 4 from 3.
    n.arbolesMesh = {0, 100, 0, 0, 2, 0, 100, 0, 3, 0, 0, 100, 1, 0, 0, 200};
    // Root at (10, 20, 30) turned x 90 degrees, y 180, z 90 (256, 512, 256 of 1024) in two words;
    // the others unturned (x alone, 0).
    n.cuadros = {0, 0, 0, 0, 0, 0, 10, 20, 30, 0x1008, 0x0100, 0x4000, 0x4000, 0x4000, 0x4000};
    n.movibles = {{1, 5, 0, 0, 0, 0}};
    const auto l = Leer(fixture::EscribirNivel(n));
    ASSERT_EQ(l->objetos.Movibles.size(), 1u);
    EXPECT_TRUE(l->objetos.Movibles[0].Completo);
    const Ensamblaje e = ArmarMovible(l->objetos.Movibles[0], *l->lista);
    ASSERT_EQ(e.Piezas.size(), 5u);
    // By hand, R = Ry(180) Rx(90) Rz(90) in the level's axes: (1, 2, 3) -> Rz (-2, 1, 3) ->
    // Rx (-2, -3, 1) -> Ry (2, -3, -1). Offsets: R (100, 0, 0) = (0, 0, -100),
    // R (0, 100, 0) = (100, 0, 0), R (0, 0, 100) = (0, -100, 0). So the meshes sit at
    //   0: (10, 20, 30);  1: (10, 20, -70);  2: 1 + (100, 0, 0) = (110, 20, -70);
    //   3: 1 + (0, -100, 0) = (10, -80, -70);  4: 1 + (0, -200, 0) = (10, -180, -70),
    // each vertex (2, -3, -1) from there, then y negated for the device.
    const glm::vec3 esperado[] = {{12, -17, 29}, {12, -17, -71}, {112, -17, -71}, {12, 83, -71},
                                    {12, 183, -71}};
    const int32_t padres[] = {-1, 0, 1, 1, 1};
    for (int k = 0; k < 5; ++k) {
        SCOPED_TRACE(k);
        EXPECT_EQ(e.Piezas[k].Padre, padres[k]);
        const auto v = Vertices(e, *l->lista, k);
        ASSERT_EQ(v.size(), 1u);
        ExpectCerca(v[0], esperado[k]);
    }
}

TEST(Ensamblaje, ElGiroDejaCadaVerticeDentroDeLaEsfera) {
    const auto l = Leer(fixture::EscribirNivel(fixture::NivelObjetos()));
    const Ensamblaje e = ArmarMovible(l->objetos.Movibles[0], *l->lista);
    for (float angulo : {0.f, 0.7f, 1.5708f, 3.1f, 5.0f}) {
        for (size_t k = 0; k < e.Piezas.size(); ++k) {
            const glm::mat4 girado = MundoGirado(e.Piezas[k], e, angulo);
            const glm::vec3 p = Transformar(girado, 1, -2, 3);
            EXPECT_LE(Distancia(p, e.Centro), e.Radio + 1e-3f) << angulo;
            // Turned about the vertical: the height never changes.
            EXPECT_NEAR(p.y, Transformar(e.Piezas[k].Mundo, 1, -2, 3).y, 1e-3f);
        }
    }
    // Angle 0 is the rest pose itself.
    const glm::mat4 cero = MundoGirado(e.Piezas[1], e, 0);
    ExpectCerca(Transformar(cero, 1, -2, 3), {7, -18, -71});
}

TEST(Ensamblaje, UnMovibleQueRepiteUnaMeshGrandeSeRecorta) {
    // 2000 times one mesh of 300 faces: far past any real object; the pick stays quick.
    fixture::NivelFixture n;
    fixture::MeshFixture m;
    m.vertices = {{0, 0, 0}, {100, 0, 0}, {0, 100, 0}};
    m.triangulos.assign(300, {{0, 1, 2}, 0, 0});
    n.meshes = {m};
    n.punterosMesh = std::vector<uint32_t>(2000, 0);
    n.arbolesMesh.assign(4 * 1999, 0);
    n.movibles = {{1, 2000, 0, 0, 0, 0xFFFF}};
    const auto l = Leer(fixture::EscribirNivel(n));
    ASSERT_EQ(l->objetos.Movibles.size(), 1u);
    EXPECT_TRUE(l->objetos.Movibles[0].Completo);
    const Ensamblaje e = ArmarMovible(l->objetos.Movibles[0], *l->lista);
    EXPECT_EQ(e.Piezas.size(), size_t((1 << 18) / 300));
    EXPECT_EQ(e.Caras, int32_t(e.Piezas.size() * 300));
    EXPECT_GT(e.Radio, 0);
}

namespace {

struct Real {
    const char* archivo;
    size_t movibles, estaticos;
};

void PrintTo(const Real& r, std::ostream* os) {
    *os << r.archivo;
}

class NivelRealObjetos : public ::testing::TestWithParam<Real> {};

} // namespace

TEST_P(NivelRealObjetos, TodosLosObjetosYLaraDePie) {
    const std::string ruta = std::string(TR4_NIVELES_REALES) + "/" + GetParam().archivo;
    if (!std::filesystem::exists(ruta))
        GTEST_SKIP() << "no real level at " << ruta;
    const auto l = Leer(fixture::LeerArchivo(ruta));
    EXPECT_EQ(l->objetos.Movibles.size(), GetParam().movibles);
    EXPECT_EQ(l->objetos.Estaticos.size(), GetParam().estaticos);

    std::set<int32_t> usadas;
    for (const trMovible& m : l->objetos.Movibles) {
        EXPECT_TRUE(m.Completo) << "moveable " << m.Id;
        usadas.insert(m.Meshes.begin(), m.Meshes.end());
    }
    for (const trEstatico& e : l->objetos.Estaticos)
        usadas.insert(e.Mesh);
    EXPECT_EQ(usadas.count(-1), 0u) << "every pointer names a record";
    EXPECT_EQ(usadas.size(), size_t(l->lista->Cantidad())) << "every mesh belongs to an object";

    // Lara's body: 15 meshes hips first, the legs 1-6, standing upright (device y is up).
    const auto lara = std::find_if(l->objetos.Movibles.begin(), l->objetos.Movibles.end(),
                                   [](const trMovible& m) { return m.Id == 8; });
    ASSERT_NE(lara, l->objetos.Movibles.end());
    const Ensamblaje e = ArmarMovible(*lara, *l->lista);
    ASSERT_EQ(e.Piezas.size(), 15u);
    const auto todos = Vertices(e, *l->lista);
    auto [xMin, xMax] =
        std::minmax_element(todos.begin(), todos.end(), [](auto& a, auto& b) { return a.x < b.x; });
    auto [yMin, yMax] =
        std::minmax_element(todos.begin(), todos.end(), [](auto& a, auto& b) { return a.y < b.y; });
    auto [zMin, zMax] =
        std::minmax_element(todos.begin(), todos.end(), [](auto& a, auto& b) { return a.z < b.z; });
    const float alto = yMax->y - yMin->y;
    EXPECT_GT(alto, 1.5f * (xMax->x - xMin->x));
    EXPECT_GT(alto, 1.5f * (zMax->z - zMin->z));
    auto alturaMedia = [&](int pieza) {
        const auto v = Vertices(e, *l->lista, pieza);
        float y = 0;
        for (const auto& p : v)
            y += p.y;
        return y / float(v.size());
    };
    for (int pierna = 1; pierna <= 6; ++pierna)
        EXPECT_LT(alturaMedia(pierna), alturaMedia(0)) << "leg mesh " << pierna;
    EXPECT_GT(alturaMedia(14), alturaMedia(7)) << "the head above the chest";
    // One figure: every mesh within a joint's gap of the one it hangs from.
    for (size_t k = 1; k < e.Piezas.size(); ++k) {
        const auto hijo = Vertices(e, *l->lista, int(k));
        const auto padre = Vertices(e, *l->lista, lara->Nodos[k].Padre);
        float cerca = INFINITY;
        for (const auto& a : hijo)
            for (const auto& b : padre)
                cerca = std::min(cerca, Distancia(a, b));
        EXPECT_LT(cerca, 120.f) << "mesh " << k;
    }
}

INSTANTIATE_TEST_SUITE_P(Niveles, NivelRealObjetos,
                         ::testing::Values(Real{"title-a.tr4", 49, 23},
                                           Real{"title-b.tr4", 70, 2}));
