// A moveable's animations in glTF: every sampled value equals the pose the viewer draws at that
// game frame, the Khronos validator has nothing to say, and what cannot be exported says why.
#include "ExportarGLTF.h"

#include "EscritorNivel.h"
#include "LecturaGLTF.h"
#include "ArmarElegido.h"
#include "NivelAbierto.h"
#include "PoseMovible.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <glm/gtc/type_ptr.hpp>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <filesystem>

namespace fs = std::filesystem;

namespace {

// The animated fixture, its two meshes a small triangle each, so that every node has a mesh.
std::unique_ptr<NivelAbierto> AbrirAnimado(fixture::NivelFixture f = fixture::NivelAnimado()) {
    for (auto& m : f.meshes) {
        m.vertices = {{0, 0, 0}, {50, 0, 0}, {0, 0, 50}};
        m.triangulos = {{{0, 1, 2}, 0}};
    }
    const fixture::Bytes bytes = fixture::EscribirNivel(f);
    std::unique_ptr<NivelAbierto> n;
    Hecho hecho;
    EXPECT_TRUE((hecho = AbrirNivelDeMemoria(bytes.data(), bytes.size(), n))) << hecho.Motivo();
    return n;
}

tinygltf::Model Exportar(const NivelAbierto& n, const OpcionesGLTF& o, Hecho* hecho) {
    std::vector<ArchivoPorEscribir> archivos;
    if (!(*hecho = ExportarGLTFEnMemoria(n, o, "a.glb", archivos)))
        return {};
    return Leer(archivos.back());
}

OpcionesGLTF Animado(int64_t id, const std::string& lista, int64_t meshesDe = -1) {
    OpcionesGLTF o{Elegido::Movible, id};
    o.Escala = 1.0 / 512;
    o.Animadas.MeshesDe = meshesDe;
    EXPECT_TRUE(LeerListaAnimaciones(lista, o.Animadas)) << lista;
    return o;
}

// The sampler's value at sample k of an animation channel of `nodo`, when it has one.
template <int N> bool Muestra(const tinygltf::Model& m, const tinygltf::Animation& a, int nodo,
                              const char* camino, size_t k, float (&valor)[N]) {
    for (const auto& c : a.channels)
        if (c.target_node == nodo && c.target_path == camino) {
            const auto v = Datos<float>(m, a.samplers[size_t(c.sampler)].output);
            for (int i = 0; i < N; ++i)
                valor[i] = v[N * k + size_t(i)];
            return true;
        }
    return false;
}

// The world matrix of every node at sample k: animated nodes take the sampled values.
std::vector<glm::mat4> Mundos(const tinygltf::Model& m, const tinygltf::Animation& a, size_t k) {
    std::vector<glm::mat4> local(m.nodes.size()), mundo(m.nodes.size());
    std::vector<int> padre(m.nodes.size(), -1);
    for (size_t i = 0; i < m.nodes.size(); ++i) {
        tinygltf::Node n = m.nodes[i];
        float t[3], r[4];
        if (Muestra(m, a, int(i), "translation", k, t))
            n.translation = {t[0], t[1], t[2]};
        if (Muestra(m, a, int(i), "rotation", k, r))
            n.rotation = {r[0], r[1], r[2], r[3]};
        local[i] = Local(n);
        for (int h : n.children)
            padre[size_t(h)] = int(i);
    }
    // Parents come before their children in this exporter's node order.
    for (size_t i = 0; i < m.nodes.size(); ++i)
        mundo[i] = padre[i] < 0 ? local[i] : mundo[size_t(padre[i])] * local[i];
    return mundo;
}

// Where the viewer's pose puts a level point of mesh `k`, in the model's axes: (-x, -y, z) of
// the level times the scale.
glm::vec3 EnModelo(const std::vector<glm::mat4>& mundos, size_t k, glm::vec3 p, float escala) {
    const glm::vec3 d = Transformar(mundos[k], p.x, -p.y, p.z);
    return glm::vec3(-d.x, d.y, d.z) * escala;
}

// The world matrix of every node at time t (seconds), as a player reads the channels: each value
// between the two samples round t, translations mixed linearly and rotations spherically between
// the stored quaternions as they are (a player need not look for the shorter way round).
std::vector<glm::mat4> MundosEn(const tinygltf::Model& m, const tinygltf::Animation& a, float t) {
    std::vector<glm::mat4> mundo(m.nodes.size());
    std::vector<int> padre(m.nodes.size(), -1);
    for (size_t i = 0; i < m.nodes.size(); ++i) {
        tinygltf::Node n = m.nodes[i];
        for (const auto& c : a.channels) {
            if (c.target_node != int(i))
                continue;
            const auto& s = a.samplers[size_t(c.sampler)];
            const auto tiempos = Datos<float>(m, s.input);
            const auto v = Datos<float>(m, s.output);
            size_t k = 0;
            while (k + 2 < tiempos.size() && tiempos[k + 1] < t)
                ++k;
            const float f = std::clamp((t - tiempos[k]) / (tiempos[k + 1] - tiempos[k]), 0.f, 1.f);
            if (c.target_path == "translation") {
                const glm::vec3 p = glm::mix(glm::make_vec3(&v[3 * k]), glm::make_vec3(&v[3 * k + 3]), f);
                n.translation = {p.x, p.y, p.z};
            } else {
                const glm::quat a0(v[4 * k + 3], v[4 * k], v[4 * k + 1], v[4 * k + 2]);
                const glm::quat a1(v[4 * k + 7], v[4 * k + 4], v[4 * k + 5], v[4 * k + 6]);
                const glm::quat q = glm::mix(a0, a1, f);
                n.rotation = {q.x, q.y, q.z, q.w};
            }
        }
        const glm::mat4 local = Local(n);
        for (int h : n.children)
            padre[size_t(h)] = int(i);
        mundo[i] = padre[i] < 0 ? local : mundo[size_t(padre[i])] * local;
    }
    return mundo;
}

// A level point of a mesh (its own axes) where a node's world matrix puts it, in model axes.
glm::vec3 PuntoDelNodo(const glm::mat4& mundo, glm::vec3 p, float escala) {
    return glm::vec3(mundo * glm::vec4(p.x * -escala, p.y * -escala, p.z * escala, 1));
}

void ExpectCerca(const glm::vec3& a, const glm::vec3& b) {
    EXPECT_NEAR(a.x, b.x, 1e-4f);
    EXPECT_NEAR(a.y, b.y, 1e-4f);
    EXPECT_NEAR(a.z, b.z, 1e-4f);
}

} // namespace

TEST(AnimacionesGLTF, CadaMuestraEsLaPoseDelVisor) {
    const auto n = AbrirAnimado();
    Hecho hecho;
    const tinygltf::Model m = Exportar(*n, Animado(3, "all"), &hecho);
    ASSERT_EQ(m.animations.size(), 2u) << hecho.Motivo();
    ASSERT_EQ(m.nodes.size(), 3u); // the object's root, then one node per mesh
    const float escala = 1.0f / 512;
    for (uint32_t a = 0; a < 2; ++a) {
        SCOPED_TRACE(a);
        const tinygltf::Animation& anim = m.animations[a];
        EXPECT_EQ(anim.name, "animacion_" + std::to_string(a));
        ASSERT_EQ(anim.channels.size(), 4u); // rotation and translation of both mesh nodes
        for (const auto& s : anim.samplers)
            EXPECT_EQ(s.interpolation, "LINEAR");
        // Keyframes at 0, 2, 4 (every 2); at 0, 3 and the last frame 4 (every 3).
        const auto tiempos = Datos<float>(m, anim.samplers[0].input);
        const std::vector<float> esperados = a == 0 ? std::vector<float>{0, 2, 4}
                                                    : std::vector<float>{0, 3, 4};
        ASSERT_EQ(tiempos.size(), esperados.size());
        for (size_t k = 0; k < tiempos.size(); ++k) {
            SCOPED_TRACE(k);
            EXPECT_NEAR(tiempos[k], esperados[k] / 30, 1e-6f);
            std::vector<glm::mat4> pose;
            ASSERT_TRUE(PosarMovible(*n->Nivel, n->Objetos.Animaciones, n->Objetos.Movibles[0], a,
                                     esperados[k], pose));
            const auto mundo = Mundos(m, anim, k);
            for (size_t mesh = 0; mesh < 2; ++mesh)
                for (glm::vec3 p : {glm::vec3(0), glm::vec3(0, 0, 100), glm::vec3(70, -20, 5)})
                    ExpectCerca(glm::vec3(mundo[1 + mesh] * glm::vec4(p.x * -escala, p.y * -escala,
                                                                       p.z * escala, 1)),
                                EnModelo(pose, mesh, p, escala));
        }
    }
}

// Between samples a player interpolates what was stored: there the model stands where the
// fixture's keyframes put it, worked out by hand from its turns and offsets (4 and 5 below are
// the root's offset, 45 and 135 degrees the halfway turns of its meshes).
TEST(AnimacionesGLTF, EntreMuestrasLaPoseDeLosCuadrosDelArchivo) {
    const auto n = AbrirAnimado();
    Hecho hecho;
    const tinygltf::Model m = Exportar(*n, Animado(3, "all"), &hecho);
    ASSERT_EQ(m.animations.size(), 2u) << hecho.Motivo();
    const float escala = 1.0f / 512, r = std::sqrt(0.5f) * 100;
    // Device axes (the level's y negated) to the model's: x negated too.
    auto modelo = [&](float x, float y, float z) { return glm::vec3(-x, y, z) * escala; };
    const struct {
        uint32_t animacion;
        float cuadro;
        uint32_t mesh;
        glm::vec3 punto, esperado; // a point of the mesh; where it stands, device axes
    } casos[] = {
        // Animation 0, frame 1: root at x 10, mesh 0 an eighth of a turn about y, mesh 1 that
        // and an eighth about x.
        {0, 1, 0, {0, 0, 100}, {10 + r, 0, r}},
        {0, 1, 1, {0, 0, 100}, {60, 100 + r, 50}},
        // Frame 3: root at x 30, mesh 0 three eighths about y, mesh 1 that and an eighth about x:
        // Ry(135) (0, -70.7, 70.7) = (50, -70.7, -50), plus its place (30, -100, 0).
        {0, 3, 0, {0, 0, 100}, {30 + r, 0, -r}},
        {0, 3, 1, {0, 0, 100}, {80, 100 + r, -50}},
        // Animation 1 (keyframes every 3 frames, root 0, 30, 60 down): frames 1 and 3.5.
        {1, 1, 0, {0, 0, 0}, {0, -10, 0}},
        {1, 3.5f, 0, {0, 0, 0}, {0, -35, 0}},
    };
    for (const auto& c : casos) {
        SCOPED_TRACE(testing::Message() << "animation " << c.animacion << " frame " << c.cuadro
                                        << " mesh " << c.mesh);
        const auto mundo = MundosEn(m, m.animations[c.animacion], c.cuadro / 30);
        ExpectCerca(PuntoDelNodo(mundo[1 + c.mesh], c.punto, escala),
                    modelo(c.esperado.x, c.esperado.y, c.esperado.z));
    }
}

// Mesh 0 turning through half a turn and on, 151.875 degrees a keyframe: each rotation sample
// is on the half of the quaternion sphere of the one before, so that a player going from one to
// the next turns the short way, as the game does, not the long way round.
TEST(AnimacionesGLTF, LosGirosSeguidosVanPorElCaminoCorto) {
    fixture::NivelFixture f = fixture::NivelAnimado();
    // Animation 0's three keyframes of 12 words: mesh 0's y turn is word 9, 4096 a turn. One way
    // (0, -151.875, -303.75 degrees) in animation 0, the other in animation 1.
    const uint16_t vueltas[2][3] = {{0, 4096 - 1728, 4096 - 3456}, {0, 1728, 3456}};
    for (size_t a = 0; a < 2; ++a)
        for (size_t k = 0; k < 3; ++k)
            f.cuadros[36 * a + 12 * k + 9] = uint16_t(0x8000 | vueltas[a][k]);
    const auto n = AbrirAnimado(f);
    Hecho hecho;
    const tinygltf::Model m = Exportar(*n, Animado(3, "all"), &hecho);
    ASSERT_EQ(m.animations.size(), 2u) << hecho.Motivo();
    for (const tinygltf::Animation& anim : m.animations)
        for (const auto& c : anim.channels) {
            if (c.target_path != "rotation")
                continue;
            const auto q = Datos<float>(m, anim.samplers[size_t(c.sampler)].output);
            for (size_t k = 4; k + 3 < q.size(); k += 4)
                EXPECT_GE(q[k] * q[k - 4] + q[k + 1] * q[k - 3] + q[k + 2] * q[k - 2] +
                              q[k + 3] * q[k - 1],
                          0)
                    << anim.name << ", node " << c.target_node << ", sample " << k / 4;
        }
    // Played between the samples, mesh 0 turns as the keyframes say: by hand, the angle grows
    // 75.9375 degrees a frame (animation 1: the other way, keyframes every 3 frames).
    const float escala = 1.0f / 512;
    for (float cuadro : {1.f, 2.5f, 3.f}) {
        SCOPED_TRACE(cuadro);
        const float pi = 3.14159265f;
        const float g0 = -151.875f / 2 * cuadro * pi / 180, g1 = 151.875f / 3 * cuadro * pi / 180;
        const glm::vec3 p0(10 * cuadro + 100 * std::sin(g0), 0, 100 * std::cos(g0));
        const glm::vec3 p1(100 * std::sin(g1), -10 * cuadro, 100 * std::cos(g1));
        for (const auto& [a, p] : {std::pair{0, p0}, std::pair{1, p1}}) {
            const auto mundo = MundosEn(m, m.animations[size_t(a)], cuadro / 30);
            ExpectCerca(PuntoDelNodo(mundo[1], {0, 0, 100}, escala),
                        glm::vec3(-p.x, p.y, p.z) * escala);
        }
    }
}

// Lara's joints are skinned to her limbs' nodes: at every sample of her run, each joint vertex a
// player skins stands where the viewer draws it in that pose.
TEST(AnimacionesGLTF, LasArticulacionesDeLaraSiguenCadaMuestra) {
    const std::string real = std::string(TR4_NIVELES_REALES) + "/title-a.tr4";
    if (!fs::exists(real))
        GTEST_SKIP() << "sin " << real;
    std::unique_ptr<NivelAbierto> n;
    ASSERT_TRUE(AbrirNivel(real.c_str(), n));
    ASSERT_TRUE(n->Articulaciones);
    Hecho hecho;
    trMovible lara;
    ASSERT_TRUE((hecho = MovibleElegido(*n, 0, 8, lara))) << hecho.Motivo();
    const uint32_t correr = lara.Animacion;
    const tinygltf::Model m = Exportar(*n, Animado(0, std::to_string(correr), 8), &hecho);
    ASSERT_EQ(m.animations.size(), 1u) << hecho.Motivo();
    ASSERT_EQ(m.skins.size(), 1u);
    const tinygltf::Skin& piel = m.skins[0];
    EXPECT_EQ(piel.joints.size(), 15u);
    const auto inversas = Datos<float>(m, piel.inverseBindMatrices);
    int piel_nodo = -1;
    for (size_t i = 0; i < m.nodes.size(); ++i)
        if (m.nodes[i].skin == 0)
            piel_nodo = int(i);
    ASSERT_GE(piel_nodo, 0);
    const float escala = 1.0f / 512;
    const trAnimacion& a = n->Objetos.Animaciones.Animaciones[correr];
    const auto tiempos = Datos<float>(m, m.animations[0].samplers[0].input);
    for (size_t k = 0; k < tiempos.size(); k += 3) {
        SCOPED_TRACE(k);
        const double cuadro = std::round(double(tiempos[k]) * 30);
        ASSERT_LE(cuadro, a.Duracion());
        std::vector<glm::mat4> pose;
        ASSERT_TRUE(PosarMovible(*n->Nivel, n->Objetos.Animaciones, lara, correr, cuadro, pose));
        const Ensamblaje visor = ArmarMovible(lara, *n->Meshes, pose, n->Articulaciones);
        std::vector<glm::vec3> esperados;
        for (const PiezaObjeto& p : visor.Piezas)
            for (const glm::vec3& v : p.Vertices)
                esperados.push_back(glm::vec3(-v.x, v.y, v.z) * escala);
        ASSERT_FALSE(esperados.empty());
        const auto mundo = Mundos(m, m.animations[0], k);
        size_t vistos = 0;
        for (const auto& prim : m.meshes[size_t(m.nodes[size_t(piel_nodo)].mesh)].primitives) {
            const auto pos = Datos<float>(m, prim.attributes.at("POSITION"));
            const auto huesos = Datos<uint16_t>(m, prim.attributes.at("JOINTS_0"));
            const auto pesos = Datos<float>(m, prim.attributes.at("WEIGHTS_0"));
            for (size_t i = 0; i < pos.size() / 3; ++i, ++vistos) {
                ASSERT_EQ(pesos[4 * i], 1.f);
                const size_t j = huesos[4 * i];
                ASSERT_LT(j, piel.joints.size());
                const glm::vec3 q(mundo[size_t(piel.joints[j])] *
                                  glm::make_mat4(&inversas[16 * j]) *
                                  glm::vec4(glm::make_vec3(&pos[3 * i]), 1));
                float cerca = INFINITY;
                for (const glm::vec3& e : esperados)
                    cerca = std::min(cerca, glm::length(q - e));
                EXPECT_LT(cerca, 1e-4f) << "vertex " << i;
            }
        }
        EXPECT_GT(vistos, 100u);
    }
}

TEST(AnimacionesGLTF, LoQueNoSePuedeExportarDicePorQue) {
    const auto n = AbrirAnimado();
    Hecho hecho;
    // Moveable 4 owns animations 2..7: 3 has no frames, 0 is another's.
    Exportar(*n, Animado(4, "2,3"), &hecho);
    EXPECT_EQ(hecho.Motivo(), "la animación 3 no se puede ver: sus cuadros no están en este nivel");
    Exportar(*n, Animado(4, "0"), &hecho);
    EXPECT_EQ(hecho.Motivo(), "la animación 0 no es del movible 4; las suyas van de 2 a 7");
    Exportar(*n, Animado(3, "0", 77), &hecho);
    EXPECT_NE(hecho.Motivo().find("no hay movible con id 77"), std::string::npos) << hecho.Motivo();
    // "all" takes the ones that play and leaves the rest: 2, and 6 and 7, whose frames are all
    // there though their next link is broken.
    hecho = {};
    EXPECT_EQ(Exportar(*n, Animado(4, "all"), &hecho).animations.size(), 3u) << hecho.Motivo();
    EXPECT_EQ(Exportar(*n, Animado(4, "6,7"), &hecho).animations.size(), 2u) << hecho.Motivo();
    AnimacionesElegidas e;
    for (const char* malo : {"", "1,,2", "a", "1,", "70000", "-1"}) {
        const Hecho h = LeerListaAnimaciones(malo, e);
        EXPECT_EQ(h.Motivo(), "se espera all o índices de la lista del nivel separados por comas")
            << malo;
    }
}

// The Khronos glTF Validator on an animated fixture and on Lara with all her animations.
TEST(AnimacionesGLTF, ElValidadorNoTieneNadaQueDecir) {
    if (!fs::exists(fs::path(TR4_VALIDADOR).parent_path() / "node_modules/gltf-validator"))
        FAIL() << "sin el validador de glTF: scripts/setup lo instala";
    const fs::path dir = fs::temp_directory_path() / ("anim_gltf_" + std::to_string(getpid()));
    fs::create_directories(dir);
    auto validar = [&](const NivelAbierto& n, const OpcionesGLTF& o, const std::string& nombre) {
        const std::string ruta = (dir / nombre).string();
        Hecho hecho;
        ASSERT_TRUE((hecho = ExportarGLTF(n, o, ruta))) << hecho.Motivo();
        FILE* tubo = popen(("node '" TR4_VALIDADOR "' '" + ruta + "' 2>&1").c_str(), "r");
        ASSERT_TRUE(tubo);
        std::string texto;
        char trozo[4096];
        while (size_t leidos = fread(trozo, 1, sizeof trozo, tubo))
            texto.append(trozo, leidos);
        pclose(tubo);
        const auto informe = nlohmann::json::parse(texto, nullptr, false);
        ASSERT_FALSE(informe.is_discarded()) << texto;
        EXPECT_EQ(informe["issues"]["numErrors"], 0) << texto;
        EXPECT_EQ(informe["issues"]["numWarnings"], 0) << texto;
    };
    validar(*AbrirAnimado(), Animado(3, "all"), "animado.glb");
    validar(*AbrirAnimado(), Animado(3, "1"), "animado.gltf");
    const std::string real = std::string(TR4_NIVELES_REALES) + "/title-a.tr4";
    if (fs::exists(real)) {
        std::unique_ptr<NivelAbierto> n;
        ASSERT_TRUE(AbrirNivel(real.c_str(), n));
        validar(*n, Animado(0, "all", 8), "lara.glb");
    }
    fs::remove_all(dir);
}
