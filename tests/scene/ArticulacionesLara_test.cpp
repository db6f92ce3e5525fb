// Lara's joints: which limb each joint vertex follows, found once in the rest pose, and the
// joints closing the seams wherever she is posed: assembled, in the level's items, and drawn.
#include "ArbolMovible.h"
#include "ArmarElegido.h"
#include "ArticulacionesLara.h"
#include "DibujoEnsamblaje.h"
#include "Ensamblaje.h"
#include "MatrizDispositivo.h"
#include "NivelEnGL.h"
#include "NivelLeido.h"
#include "NivelSubido.h"
#include "PoseMovible.h"
#include "SuperficieEGL.h"
#include "dxDevice8.h"
#include "dxMain.h"

#include <glm/gtc/type_ptr.hpp>
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <filesystem>

namespace {

const trMovible* Movible(const trObjetos& o, uint32_t id) {
    for (const trMovible& m : o.Movibles)
        if (m.Id == id)
            return &m;
    return nullptr;
}

glm::vec3 Donde(const glm::mat4& mundo, const glm::vec3& p) {
    return glm::vec3(mundo * glm::vec4(p, 1));
}

void ExpectCerca(const glm::vec3& a, const glm::vec3& b) {
    EXPECT_NEAR(a.x, b.x, 1e-3f);
    EXPECT_NEAR(a.y, b.y, 1e-3f);
    EXPECT_NEAR(a.z, b.z, 1e-3f);
}

std::string Real(const char* archivo) {
    return std::string(TR4_NIVELES_REALES) + "/" + archivo;
}

} // namespace

TEST(ArticulacionesLara, CadaVerticeSigueAlMiembroDelVerticeMasCercano) {
    const auto l = LeerNivelYObjetos(fixture::EscribirNivel(fixture::NivelArticulado()));
    const auto juntas = ArticulacionesLara::Hallar(l->objetos, *l->lista);
    ASSERT_TRUE(juntas);
    // The root's stand-in lies on no limb: left out. The hip joint: one vertex on the thigh's,
    // one a unit from the hips' (welded to it), one beside the thigh.
    const auto n = juntas->Contar();
    EXPECT_EQ(n.JuntasOmitidas, 1);
    EXPECT_EQ(n.Exactos, 1);
    EXPECT_EQ(n.Soldados, 1);
    EXPECT_EQ(n.Libres, 1);
    EXPECT_EQ(n.Padre, 1);
    EXPECT_NEAR(n.MayorLibre, std::sqrt(25.f + 1600.f), 1e-3f);
    ASSERT_EQ(juntas->Juntas().size(), 1u);
    const auto& junta = juntas->Juntas()[0];
    EXPECT_EQ(junta.Nodo, 1);
    EXPECT_EQ(junta.Mesh, 3);
    ASSERT_EQ(junta.Vertices.size(), 3u);
    EXPECT_EQ(junta.Vertices[0].Hueso, 1);
    EXPECT_EQ(junta.Vertices[1].Hueso, 0);
    EXPECT_EQ(junta.Vertices[2].Hueso, 1);

    // Any pose: the hips turned a quarter about y and moved, the thigh half a turn about x.
    const trMovible& cuerpo = *Movible(l->objetos, ID_CUERPO_LARA);
    std::vector<glm::mat4> m;
    ColgarMeshes(
        cuerpo,
        {glm::angleAxis(1.5708f, glm::vec3(0, 1, 0)), glm::angleAxis(3.1416f, glm::vec3(1, 0, 0))},
        glm::vec3(7, -20, 3), m);
    const std::vector<glm::mat4> mundos = m;
    std::vector<glm::vec3> v;
    juntas->Posar(0, mundos, v);
    ASSERT_EQ(v.size(), 3u);
    ExpectCerca(v[0], Donde(mundos[1], {10, 0, 0})); // where the thigh's vertex goes
    ExpectCerca(v[1], Donde(mundos[0], {10, 0, 0})); // exactly on the hips' vertex
    ExpectCerca(v[2], Donde(mundos[1], {5, 40, 0})); // its own place beside the thigh
    juntas->Posar(7, mundos, v);
    EXPECT_TRUE(v.empty());
    // Too few matrices: what has none stays at the origin rather than reading past them.
    juntas->Posar(0, std::vector<glm::mat4>{mundos[0]}, v);
    ExpectCerca(v[0], glm::vec3(0));
    ExpectCerca(v[1], Donde(mundos[0], {10, 0, 0}));
}

TEST(ArticulacionesLara, SoloParaElCuerpoConSuMismoArbol) {
    const auto l = LeerNivelYObjetos(fixture::EscribirNivel(fixture::NivelArticulado()));
    const trMovible& cuerpo = *Movible(l->objetos, ID_CUERPO_LARA);
    const trMovible& juntas = *Movible(l->objetos, ID_JUNTAS_LARA);
    const auto a = ArticulacionesLara::Emparejar(cuerpo, juntas, *l->lista);
    ASSERT_TRUE(a);
    EXPECT_TRUE(a->Viste(cuerpo));
    EXPECT_FALSE(a->Viste(juntas));
    // Lara's skeleton wearing the body takes them, as the game draws her.
    trMovible lara = juntas;
    lara.Id = ID_LARA;
    EXPECT_TRUE(a->Viste(ConMeshesDe(lara, cuerpo)));

    trMovible otro = juntas;
    otro.Nodos[1].Y += 1;
    EXPECT_FALSE(ArticulacionesLara::Emparejar(cuerpo, otro, *l->lista)) << "another tree";
    otro = juntas;
    otro.Nodos.pop_back();
    otro.Meshes.pop_back();
    EXPECT_FALSE(ArticulacionesLara::Emparejar(cuerpo, otro, *l->lista)) << "fewer meshes";
    otro = juntas;
    otro.Meshes = {-1, 99};
    EXPECT_FALSE(ArticulacionesLara::Emparejar(cuerpo, otro, *l->lista)) << "no mesh to read";
    EXPECT_FALSE(ArticulacionesLara::Emparejar(cuerpo, cuerpo, *l->lista)) << "its own meshes";

    trObjetos sinJuntas = l->objetos;
    sinJuntas.Movibles.pop_back();
    EXPECT_FALSE(ArticulacionesLara::Hallar(sinJuntas, *l->lista));
}

TEST(ArticulacionesLara, ElEnsamblajeLasLlevaYLasPosa) {
    const auto l = LeerNivelYObjetos(fixture::EscribirNivel(fixture::NivelArticulado()));
    const auto juntas = ArticulacionesLara::Hallar(l->objetos, *l->lista);
    const trMovible& cuerpo = *Movible(l->objetos, ID_CUERPO_LARA);
    EXPECT_EQ(ArmarMovible(cuerpo, *l->lista).Piezas.size(), 2u) << "as before, without them";
    EXPECT_EQ(ArmarMovible(*Movible(l->objetos, ID_JUNTAS_LARA), *l->lista, juntas).Piezas.size(),
              2u)
        << "the joints' own moveable is drawn as any other";

    Ensamblaje e = ArmarMovible(cuerpo, *l->lista, juntas);
    ASSERT_EQ(e.Piezas.size(), 3u);
    const PiezaObjeto& p = e.Piezas[2];
    EXPECT_EQ(p.Junta, 0);
    EXPECT_EQ(p.Mesh, 3);
    EXPECT_EQ(p.Padre, 1);
    ASSERT_EQ(p.Vertices.size(), 3u);
    // At rest, the welded vertex has moved onto the hips' (10, 0, 0): device y is up.
    ExpectCerca(p.Vertices[1], glm::vec3(10, 0, 0));
    ExpectCerca(p.Vertices[0], glm::vec3(10, -100, 0));
    // The sphere holds the joints too: the free vertex is inside it.
    const glm::vec3 c(e.Centro.x, e.Centro.y, e.Centro.z);
    EXPECT_LE(glm::length(glm::vec3(5, -60, 0) - c), e.Radio + 1e-3f);
    // Picking sees the joint where it is drawn.
    const GeometriaElegible g = GeometriaDeEnsamblaje(e, *l->lista, 0);
    ASSERT_EQ(g.Triangulos.size(), 3u);
    EXPECT_FLOAT_EQ(g.Triangulos[2].P[1][1], 0.f);

    // A pose moves the joint with both limbs.
    std::vector<glm::mat4> mundos(2, glm::mat4(1.f));
    mundos[1][3][1] = -300; // the thigh moved down, unturned
    AplicarPose(e, mundos);
    ExpectCerca(e.Piezas[2].Vertices[0], glm::vec3(10, -300, 0));
    ExpectCerca(e.Piezas[2].Vertices[1], glm::vec3(10, 0, 0));
    ExpectCerca(e.Piezas[2].Vertices[2], glm::vec3(5, -260, 0));
}

// The rule measured on the real levels: per level, joint vertices exactly on a limb's vertex,
// within a rounding step of one, farther off; how many follow the parent limb; the farthest.
struct Medida {
    const char* archivo;
    int32_t exactos, soldados, libres, padre;
};

class ArticulacionesReales : public ::testing::TestWithParam<Medida> {};

TEST_P(ArticulacionesReales, LaReglaCubreCadaVertice) {
    const Medida& m = GetParam();
    if (!std::filesystem::exists(Real(m.archivo)))
        GTEST_SKIP() << "no real level at " << Real(m.archivo);
    const auto l = LeerNivelYObjetos(fixture::LeerArchivo(Real(m.archivo)));
    const auto juntas = ArticulacionesLara::Hallar(l->objetos, *l->lista);
    ASSERT_TRUE(juntas);
    const auto n = juntas->Contar();
    EXPECT_EQ(juntas->Juntas().size(), 14u);
    EXPECT_EQ(n.JuntasOmitidas, 1) << "the root's stand-in";
    EXPECT_EQ(n.Exactos, m.exactos);
    EXPECT_EQ(n.Soldados, m.soldados);
    EXPECT_EQ(n.Libres, m.libres);
    EXPECT_EQ(n.Padre, m.padre);
    EXPECT_LT(n.MayorLibre, 20.f) << "every joint vertex lies close to the limb it follows";
}

INSTANTIATE_TEST_SUITE_P(Niveles, ArticulacionesReales,
                         ::testing::Values(Medida{"title-a.tr4", 103, 45, 20, 86},
                                           Medida{"title-b.tr4", 123, 111, 4, 124}),
                         [](const auto& i) {
                             return std::string(i.param.archivo).substr(0, 7) == "title-a"
                                        ? std::string("TitleA")
                                        : std::string("TitleB");
                         });

namespace {

constexpr int ANCHO = 300, ALTO = 600;
constexpr uint32_t FONDO = 0xFFFF00FF; // magenta: nothing of Lara's is

// Background pixels in the middle half of the box where the waist's joint of `conJuntas` stands
// on the picture: the gap between her hips and her chest, when it is open.
int FondoEnLaCintura(const std::vector<uint32_t>& pixeles, const dxDevice8& d,
                     const Ensamblaje& conJuntas) {
    const D3DXMATRIX proyeccion = d.GetProyeccion(), vista = d.GetVista();
    const glm::mat4 vp = glm::make_mat4(&proyeccion.m[0][0]) * glm::make_mat4(&vista.m[0][0]);
    float x0 = ANCHO, x1 = 0, y0 = ALTO, y1 = 0;
    for (const PiezaObjeto& p : conJuntas.Piezas) {
        if (p.Junta < 0 || conJuntas.Articulaciones->Juntas()[size_t(p.Junta)].Nodo != 7)
            continue; // the chest's joint, over the hips
        for (const glm::vec3& v : p.Vertices) {
            const glm::vec4 q = vp * glm::vec4(v, 1);
            const float x = (q.x / q.w + 1) / 2 * ANCHO, y = (1 - q.y / q.w) / 2 * ALTO;
            x0 = std::min(x0, x), x1 = std::max(x1, x);
            y0 = std::min(y0, y), y1 = std::max(y1, y);
        }
    }
    EXPECT_LT(x0, x1) << "the waist's joint is on the picture";
    int fondo = 0;
    for (int y = std::max(0, int(y0)); y <= std::min(ALTO - 1, int(y1)); ++y)
        for (int x = int(x0 + (x1 - x0) / 4); x <= int(x1 - (x1 - x0) / 4); ++x)
            fondo += x >= 0 && x < ANCHO && pixeles[size_t(y * ANCHO + x)] == FONDO;
    return fondo;
}

} // namespace

TEST(ArticulacionesLara, SinFondoPorLaCinturaDePieNiCorriendo) {
    NivelEnGL gl;
    if (const std::string falta = gl.Abrir(Real("title-a.tr4"), ANCHO, ALTO, 255, 0, 255);
        !falta.empty())
        GTEST_SKIP() << falta;
    ASSERT_TRUE(gl.nivel);
    auto& [superficie, principal, d, nivel] = gl;
    ASSERT_TRUE(nivel->Articulaciones);
    const Lista_Mesh& lista = *nivel->Meshes;

    // Standing: her body by its own first frame. Running: Lara's first animation, mid-stride.
    const trMovible& cuerpo = *Movible(nivel->Objetos, ID_CUERPO_LARA);
    trMovible lara;
    const Hecho elegido = MovibleElegido(*nivel, ID_LARA, ID_CUERPO_LARA, lara);
    ASSERT_TRUE(elegido) << elegido.Motivo();
    std::vector<glm::mat4> corriendo;
    ASSERT_TRUE(PosarMovible(*nivel->Nivel, nivel->Objetos.Animaciones, lara, lara.Animacion, 10,
                             corriendo));
    struct Pose {
        const char* nombre;
        Ensamblaje con, sin;
    };
    const Pose poses[] = {
        {"de pie", ArmarMovible(cuerpo, lista, nivel->Articulaciones), ArmarMovible(cuerpo, lista)},
        {"corriendo", ArmarMovible(lara, lista, corriendo, nivel->Articulaciones),
         ArmarMovible(lara, lista, corriendo)},
    };
    for (const Pose& p : poses) {
        SCOPED_TRACE(p.nombre);
        ASSERT_EQ(EncuadrarEnsamblaje(*d, p.con, ANCHO, ALTO), D3D_OK);
        ASSERT_EQ(DibujarEnsamblaje(*d, p.con, nivel->Buffers, 0, true, false), D3D_OK);
        EXPECT_EQ(FondoEnLaCintura(LeerPixeles(*superficie), *d, p.con), 0);
        // The same framing without the joints shows the gap they close: the area is the seam.
        ASSERT_EQ(DibujarEnsamblaje(*d, p.sin, nivel->Buffers, 0, true, false), D3D_OK);
        EXPECT_GT(FondoEnLaCintura(LeerPixeles(*superficie), *d, p.con), 50);
    }
}

// The level's Lara item, animated: every joint vertex is where the assembly of that pose puts
// it, carried to her place, so the joints follow her limbs in the level view too.
TEST(ArticulacionesLara, EnElNivelSiguenALaraAnimada) {
    const std::string ruta = Real("title-a.tr4");
    if (!std::filesystem::exists(ruta))
        GTEST_SKIP() << "no real level at " << ruta;
    std::unique_ptr<NivelAbierto> nivel;
    Hecho abierto;
    ASSERT_TRUE((abierto = AbrirNivel(ruta.c_str(), nivel))) << abierto.Motivo();
    ASSERT_TRUE(nivel->Escena && nivel->Articulaciones);
    const trItem* item = nullptr;
    for (const trItem& i : nivel->Objetos.Items)
        if (i.Objeto == int16_t(ID_LARA))
            item = &i;
    ASSERT_TRUE(item);
    trMovible lara;
    const Hecho elegido = MovibleElegido(*nivel, ID_LARA, ID_CUERPO_LARA, lara);
    ASSERT_TRUE(elegido) << elegido.Motivo();
    constexpr double CUADRO = 10;
    ASSERT_TRUE(nivel->Escena->Animar(*nivel, CUADRO));
    std::vector<glm::mat4> pose;
    ASSERT_TRUE(PosarMovible(*nivel->Nivel, nivel->Objetos.Animaciones, lara, lara.Animacion,
                             CUADRO, pose));
    const Ensamblaje e = ArmarMovible(lara, *nivel->Meshes, pose, nivel->Articulaciones);
    const glm::mat3 giro = GiroY(uint16_t(item->Angulo));
    const glm::vec3 lugar(float(item->X), float(item->Y), float(item->Z));
    const auto& hay = nivel->Escena->VerticesItems();
    size_t juntas = 0;
    for (const PiezaObjeto& p : e.Piezas)
        for (const glm::vec3& v : p.Vertices) {
            const glm::vec3 q = EnDispositivo(giro * EnDispositivo(v) + lugar);
            float cerca = INFINITY;
            for (const VerticeEscena& h : hay)
                cerca = std::min(cerca, glm::length(glm::vec3(h.X, h.Y, h.Z) - q));
            EXPECT_LT(cerca, 0.05f) << "joint vertex " << juntas;
            ++juntas;
        }
    EXPECT_GT(juntas, 100u);
    (void)nivel->Escena->Detener();
}
