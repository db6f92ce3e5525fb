#include "ExportarGLTF.h"

#include "BufferGLTF.h"
#include "EjesGLTF.h"
#include "Ensamblaje.h"
#include "EscritorNivel.h"
#include "LecturaGLTF.h"
#include "MatrizDispositivo.h"
#include "NivelAbierto.h"
#include "PaginasPNG.h"
#include "trTextura.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>
#include <tiny_gltf.h>

#include <glm/glm.hpp>
#include <glm/gtc/quaternion.hpp>
#include <glm/gtc/type_ptr.hpp>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <set>

namespace fs = std::filesystem;
using fixture::PIXEL;

namespace {

// The objects' fixture with faces: mesh 0 a floor square (stored normals) alpha-tested on a page
// with see-through texels, plus a triangle whose texture is past the level's and one of no area;
// mesh 1 an additive triangle (its extra word says so) on the page through a triangle's flagged
// tile, plus one naming a vertex it lacks; mesh 2 one untextured, one-sided triangle the viewer
// shows from above.
fixture::NivelFixture NivelConCaras() {
    fixture::NivelFixture n = fixture::NivelObjetos();
    fixture::MeshFixture suelo;
    suelo.vertices = {{0, 0, 0}, {1024, 0, 0}, {1024, 0, 1024}, {0, 0, 1024}};
    suelo.normales.assign(4, {0, -16384, 0});
    suelo.rectangulos = {{{0, 1, 2, 3}, 0}};
    suelo.triangulos = {{{0, 1, 2}, 99}, {{0, 2, 2}, 0}};
    fixture::MeshFixture pico;
    pico.vertices = {{0, -512, 0}, {256, 0, 0}, {0, 0, 256}};
    pico.luces = {1, 2, 3};
    pico.triangulos = {{{0, 1, 2}, 1, 1}, {{0, 1, 7}, 1}};
    fixture::MeshFixture cara;
    cara.vertices = {{0, 0, 0}, {0, 0, 1024}, {1024, 0, 0}};
    cara.luces = {0, 0, 0};
    cara.triangulos = {{{0, 1, 2}, 500}};
    n.meshes = {suelo, pico, cara};
    const uint32_t a = uint32_t(fixture::CodificarMeshes({suelo}).size());
    const uint32_t b = uint32_t(fixture::CodificarMeshes({pico}).size());
    n.punterosMesh = std::vector<uint32_t>{0, a, a + b, 2};
    n.paginas = fixture::PaginaCuadrantes(0xFFFF0000, 0x00000000, 0xFF804000, 0xFF0000FF);
    fixture::TexturaObjetoFixture t;
    t.esquinas = {{{PIXEL(0), PIXEL(0)}, {PIXEL(255), PIXEL(0)}, {PIXEL(255), PIXEL(255)},
                   {PIXEL(0), PIXEL(255)}}};
    n.texturasObjeto = {t, t};
    n.texturasObjeto[0].atributo = 1;
    n.texturasObjeto[1].tile = 0x8000;
    return n;
}

std::unique_ptr<NivelAbierto> Abrir(const fixture::Bytes& bytes) {
    std::unique_ptr<NivelAbierto> n;
    Hecho hecho;
    EXPECT_TRUE((hecho = AbrirNivelDeMemoria(bytes.data(), bytes.size(), n))) << hecho.Motivo();
    return n;
}

std::unique_ptr<NivelAbierto> AbrirReal(const char* nombre) {
    const std::string ruta = std::string(TR4_NIVELES_REALES) + "/" + nombre;
    std::unique_ptr<NivelAbierto> n;
    if (fs::exists(ruta)) {
        EXPECT_TRUE(AbrirNivel(ruta.c_str(), n));
    }
    return n;
}

tinygltf::Model Exportar(const NivelAbierto& n, OpcionesGLTF o) {
    std::vector<ArchivoPorEscribir> archivos;
    Hecho hecho;
    EXPECT_TRUE((hecho = ExportarGLTFEnMemoria(n, o, "/x/modelo.glb", archivos))) << hecho.Motivo();
    EXPECT_EQ(archivos.size(), 1u);
    return archivos.empty() ? tinygltf::Model{} : Leer(archivos[0]);
}

// What every export must hold, whatever it exports: each node's world matrix (parents before
// children, as the exporter writes them), the triangle count, every texel inside its page.
struct Recorrido {
    std::vector<glm::mat4> mundo;
    std::vector<int> padre;
    size_t triangulos = 0;
};
Recorrido Recorrer(const tinygltf::Model& m) {
    Recorrido r;
    r.mundo.assign(m.nodes.size(), glm::mat4(1.f));
    r.padre.assign(m.nodes.size(), -1);
    for (size_t i = 0; i < m.nodes.size(); ++i) {
        for (int h : m.nodes[i].children) {
            EXPECT_GT(size_t(h), i);
            r.padre[size_t(h)] = int(i);
        }
        r.mundo[i] = (r.padre[i] >= 0 ? r.mundo[size_t(r.padre[i])] : glm::mat4(1.f)) *
                     Local(m.nodes[i]);
        if (m.nodes[i].mesh < 0)
            continue;
        for (const tinygltf::Primitive& p : m.meshes[size_t(m.nodes[i].mesh)].primitives) {
            r.triangulos += m.accessors[size_t(p.indices)].count / 3;
            // No triangle without area: other programs make points and lines of them.
            const auto v = Datos<float>(m, p.attributes.at("POSITION"));
            const auto ix = m.accessors[size_t(p.indices)].componentType == 5123
                                ? [&] {
                                      const auto c = Datos<uint16_t>(m, p.indices);
                                      return std::vector<uint32_t>(c.begin(), c.end());
                                  }()
                                : Datos<uint32_t>(m, p.indices);
            auto punto = [&](uint32_t k) { return glm::make_vec3(&v[3 * size_t(k)]); };
            for (size_t t = 0; t + 2 < ix.size(); t += 3)
                EXPECT_NE(glm::cross(punto(ix[t + 1]) - punto(ix[t]), punto(ix[t + 2]) - punto(ix[t])),
                          glm::vec3(0))
                    << m.meshes[size_t(m.nodes[i].mesh)].name;
            if (auto uv = p.attributes.find("TEXCOORD_0"); uv != p.attributes.end()) {
                for (float c : Datos<float>(m, uv->second))
                    EXPECT_TRUE(c >= 0 && c <= 1) << c;
            }
        }
    }
    return r;
}

} // namespace

// The level's axes as the model's: a half turn about z, so a placement turned about the level's
// y turns the other way about the model's +y, and a device matrix has only x to negate.
TEST(ExportarGLTF, EjesDelModeloPorCasos) {
    EXPECT_EQ(PuntoEnModelo({1, 2, 3}, 0.5f), glm::vec3(-0.5f, -1, 1.5f));
    const struct {
        uint16_t angulo;
        glm::vec3 nivel; // where the level's turn takes (1, 2, 3), worked by hand
    } casos[] = {{0, {1, 2, 3}}, {16384, {3, 2, -1}}, {32768, {-1, 2, -3}}, {49152, {-3, 2, 1}}};
    for (const auto& c : casos) {
        SCOPED_TRACE(c.angulo);
        const glm::vec3 girado = GiroEnModelo(c.angulo) * PuntoEnModelo({1, 2, 3}, 1);
        const glm::vec3 esperado = PuntoEnModelo(c.nivel, 1);
        EXPECT_NEAR(girado.x, esperado.x, 1e-5f);
        EXPECT_NEAR(girado.y, esperado.y, 1e-5f);
        EXPECT_NEAR(girado.z, esperado.z, 1e-5f);
    }
    // A device matrix turning 90 degrees about y and moving to (10, -20, 30): the level's
    // (1, 2, 3), on the device (1, -2, 3), goes to (13, -22, 29), the level's (13, 22, 29).
    D3DXMATRIX d;
    D3DXMatrixRotationY(&d, float(M_PI / 2));
    d.m[3][0] = 10, d.m[3][1] = -20, d.m[3][2] = 30;
    const glm::vec3 q(EnModelo(MatrizGLM(d), 1) * glm::vec4(PuntoEnModelo({1, 2, 3}, 1), 1));
    const glm::vec3 esperado = PuntoEnModelo({13, 22, 29}, 1);
    EXPECT_NEAR(q.x, esperado.x, 1e-4f);
    EXPECT_NEAR(q.y, esperado.y, 1e-4f);
    EXPECT_NEAR(q.z, esperado.z, 1e-4f);
    // The scale moves the place, not the turn.
    EXPECT_EQ(glm::vec3(EnModelo(MatrizGLM(d), 2)[3]), PuntoEnModelo({10, 20, 30}, 2));
}

// The model's one buffer: every view starts on a 4-byte boundary, however long the one before,
// and indices are unsigned shorts exactly while every vertex number fits in one.
TEST(ExportarGLTF, VistasAlineadasEIndicesCortosHasta65535) {
    tinygltf::Model m;
    m.buffers.resize(1);
    const struct {
        size_t vertices;
        int tipo;
        size_t inicio; // where its view starts, after the views before it
    } casos[] = {
        {3, TINYGLTF_COMPONENT_TYPE_UNSIGNED_SHORT, 0},     // 3 x 2 bytes
        {65535, TINYGLTF_COMPONENT_TYPE_UNSIGNED_SHORT, 8}, // 6 rounded up
        {65536, TINYGLTF_COMPONENT_TYPE_UNSIGNED_INT, 16},
    };
    for (const auto& c : casos) {
        SCOPED_TRACE(c.vertices);
        const int a = AgregarIndices(m, {0, 1, uint32_t(c.vertices - 1)}, c.vertices);
        EXPECT_EQ(m.accessors[size_t(a)].componentType, c.tipo);
        EXPECT_EQ(m.accessors[size_t(a)].count, 3u);
        const tinygltf::BufferView& v = m.bufferViews[size_t(m.accessors[size_t(a)].bufferView)];
        EXPECT_EQ(v.byteOffset, c.inicio);
        EXPECT_EQ(v.target, TINYGLTF_TARGET_ELEMENT_ARRAY_BUFFER);
    }
    // Floats with their bounds, per component.
    const int a = AgregarAccesor(m, {1, -2, 3, -4, 5, 6}, TINYGLTF_TYPE_VEC3, 3, true, 0);
    EXPECT_EQ(m.bufferViews[size_t(m.accessors[size_t(a)].bufferView)].byteOffset, 28u);
    EXPECT_EQ(m.accessors[size_t(a)].minValues, (std::vector<double>{-4, -2, 3}));
    EXPECT_EQ(m.accessors[size_t(a)].maxValues, (std::vector<double>{1, 5, 6}));
    EXPECT_EQ(m.buffers[0].data.size(), 28u + 24);

    // Pages are only made from a level's textures: none there, none asked for.
    std::vector<std::vector<uint8_t>> pngs(1);
    EXPECT_TRUE(CodificarPaginas(nullptr, {}, pngs));
    EXPECT_TRUE(pngs.empty());
    const Hecho sinPaginas = CodificarPaginas(nullptr, {{0, false}}, pngs);
    EXPECT_EQ(sinPaginas.Motivo(), "no hay memoria suficiente para comprimir las páginas");
}

TEST(ExportarGLTF, UnMovibleEsUnArbolDeNodosComoLoArmaElVisor) {
    const auto n = Abrir(fixture::EscribirNivel(NivelConCaras()));
    const tinygltf::Model m = Exportar(*n, {Elegido::Movible, 5});
    ASSERT_EQ(m.nodes.size(), 4u);
    EXPECT_EQ(m.nodes[0].name, "movible_5");
    EXPECT_EQ(m.scenes[0].nodes, std::vector<int>{0});
    const Recorrido r = Recorrer(m);
    // Mesh 1 hangs from mesh 0, and mesh 2 too (its tree pops back to it).
    EXPECT_EQ(r.padre, (std::vector<int>{-1, 0, 1, 1}));
    EXPECT_EQ(m.nodes[3].name, "mesh_2");
    // Rectangle 2 + triangle 1, one triangle (the other names a missing vertex), one triangle.
    EXPECT_EQ(r.triangulos, 5u);
    // Each node lands where the viewer places its mesh: (x, y, z) on the device is (-x, y, z) m.
    const Ensamblaje e = ArmarMovible(n->Objetos.Movibles[0], *n->Meshes);
    for (size_t k = 0; k < 3; ++k) {
        const glm::vec3 d = Transformar(e.Piezas[k].Mundo, 0, 512, 256);
        const glm::vec4 g = r.mundo[k + 1] * glm::vec4(0, 1, 0.5f, 1);
        EXPECT_NEAR(g.x, -d.x / 512, 1e-4f) << k;
        EXPECT_NEAR(g.y, d.y / 512, 1e-4f) << k;
        EXPECT_NEAR(g.z, d.z / 512, 1e-4f) << k;
    }
    // Materials by blend mode, unlit, texel by texel: the alpha-tested square as MASK, the
    // additive triangle as BLEND, the untextured faces plain.
    std::map<std::string, const tinygltf::Material*> materiales;
    for (const tinygltf::Material& x : m.materials)
        materiales[x.name] = &x;
    ASSERT_EQ(materiales.size(), 3u);
    ASSERT_TRUE(materiales.count("pagina_00_recorte") && materiales.count("pagina_00_aditiva") &&
                materiales.count("sin_textura"));
    EXPECT_EQ(materiales["pagina_00_recorte"]->alphaMode, "MASK");
    EXPECT_EQ(materiales["pagina_00_aditiva"]->alphaMode, "BLEND");
    EXPECT_EQ(materiales["sin_textura"]->alphaMode, "OPAQUE");
    EXPECT_EQ(materiales["sin_textura"]->pbrMetallicRoughness.baseColorTexture.index, -1);
    EXPECT_EQ(m.extensionsUsed, std::vector<std::string>{"KHR_materials_unlit"});
    auto imagen = [&](const tinygltf::Material* x) -> const tinygltf::Image& {
        const int t = x->pbrMetallicRoughness.baseColorTexture.index;
        return m.images[size_t(m.textures[size_t(t)].source)];
    };
    ASSERT_EQ(m.images.size(), 2u);
    // The page's PNG decodes to its texels: red top-left, see-through top-right.
    const auto& pagina = imagen(materiales["pagina_00_recorte"]);
    EXPECT_EQ(pagina.name, "pagina_00");
    ASSERT_EQ(pagina.image.size(), 256u * 256 * 4);
    EXPECT_EQ(std::vector<uint8_t>(pagina.image.begin(), pagina.image.begin() + 4),
              (std::vector<uint8_t>{255, 0, 0, 255}));
    EXPECT_EQ(pagina.image[4 * 200 + 3], 0);
    // The additive one: the texel's brightness as alpha, its colour at full, so that over black
    // colour x alpha is the texel; a see-through texel adds nothing.
    const auto& aditiva = imagen(materiales["pagina_00_aditiva"]);
    ASSERT_EQ(aditiva.image.size(), 256u * 256 * 4);
    auto texel = [](const tinygltf::Image& i, int x, int y) {
        const auto p = i.image.begin() + 4 * (y * 256 + x);
        return std::vector<int>(p, p + 4);
    };
    EXPECT_EQ(texel(aditiva, 0, 0), (std::vector<int>{255, 0, 0, 255}));
    EXPECT_EQ(texel(aditiva, 200, 0), (std::vector<int>{0, 0, 0, 0}));
    EXPECT_EQ(texel(aditiva, 0, 200), (std::vector<int>{255, 128, 0, 128}));
    EXPECT_EQ(m.samplers[0].magFilter, 9728);
    EXPECT_EQ(m.samplers[0].minFilter, 9728);
    // Normals where the mesh stores them: the floor's face up.
    const auto& suelo = m.meshes[size_t(m.nodes[1].mesh)].primitives[0];
    ASSERT_TRUE(suelo.attributes.count("NORMAL"));
    EXPECT_NEAR(Datos<float>(m, suelo.attributes.at("NORMAL"))[1], 1, 1e-6f);
    EXPECT_FALSE(m.meshes[size_t(m.nodes[3].mesh)].primitives[0].attributes.count("NORMAL"));
}

// Area is judged triangle by triangle: a rectangle split along 1-3 into a degenerate triangle
// and a real one keeps the real one (Recorrer finds no triangle without area in the model).
TEST(ExportarGLTF, DeUnRectanguloSoloSeOmiteElTrianguloSinArea) {
    const struct {
        std::array<uint16_t, 4> esquinas; // of the floor's vertices (0, 0), (1, 0), (1, 1), (0, 1)
        size_t quedan;
        const char* porque;
    } casos[] = {
        {{0, 1, 2, 3}, 2, "a square"},
        {{0, 1, 2, 0}, 1, "0 3 1 without area, 1 3 2 a triangle"},
        {{0, 1, 1, 3}, 1, "0 3 1 a triangle, 1 3 2 without area"},
        {{0, 0, 2, 2}, 0, "two corners twice: neither"},
    };
    for (const auto& c : casos) {
        SCOPED_TRACE(c.porque);
        fixture::NivelFixture f = NivelConCaras();
        f.meshes[0].rectangulos[0].v = c.esquinas;
        const auto n = Abrir(fixture::EscribirNivel(f));
        // Besides the rectangle: a triangle of mesh 0, one of mesh 1, one of mesh 2.
        EXPECT_EQ(Recorrer(Exportar(*n, {Elegido::Movible, 5})).triangulos, 3 + c.quedan);
    }
}

TEST(ExportarGLTF, LaCaraQueElVisorMuestraDeFrenteGiraAlRevesDelReloj) {
    const auto n = Abrir(fixture::EscribirNivel(NivelConCaras()));
    const tinygltf::Model m = Exportar(*n, {Elegido::Mesh, 2, 1});
    ASSERT_EQ(m.nodes.size(), 1u);
    EXPECT_EQ(m.nodes[0].name, "mesh_2");
    const auto& p = m.meshes[0].primitives[0];
    const auto v = Datos<float>(m, p.attributes.at("POSITION"));
    const auto i = Datos<uint16_t>(m, p.indices);
    ASSERT_EQ(i.size(), 3u);
    auto punto = [&](int k) { return glm::make_vec3(&v[3 * size_t(i[size_t(k)])]); };
    // Counter-clockwise seen from its front: the face's normal points up, where the viewer sees it.
    const glm::vec3 normal = glm::cross(punto(1) - punto(0), punto(2) - punto(0));
    EXPECT_GT(normal.y, 0);
    EXPECT_NEAR(std::abs(normal.y), glm::length(normal), 1e-6f);
}

// A page with no see-through texel, whose quadrants hold a zero in each of the other bytes
// (red, green, blue, black), is drawn opaque; and each corner of a triangle samples, in the
// exported image, the texel its object texture names.
TEST(ExportarGLTF, UnaPaginaOpacaNoRecortaYCadaEsquinaTomaSuTexel) {
    fixture::NivelFixture f = fixture::NivelObjetos();
    fixture::MeshFixture m;
    m.vertices = {{0, 0, 0}, {1024, 0, 0}, {0, 0, 1024}};
    m.luces = {0, 0, 0};
    m.triangulos = {{{0, 1, 2}, 0}};
    f.meshes = {m};
    f.punterosMesh = std::vector<uint32_t>{0};
    f.paginas = fixture::PaginaCuadrantes(0xFFFF0000, 0xFF00FF00, 0xFF0000FF, 0xFF000000);
    fixture::TexturaObjetoFixture t;
    t.tile = 0x8000; // a triangle's: the flag over page 0
    t.esquinas = {{{PIXEL(10), PIXEL(10)}, {PIXEL(200), PIXEL(20)}, {PIXEL(30), PIXEL(220)}, {}}};
    f.texturasObjeto = {t};
    const auto n = Abrir(fixture::EscribirNivel(f));
    const tinygltf::Model g = Exportar(*n, {Elegido::Mesh, 0, 1});
    ASSERT_EQ(g.meshes.size(), 1u);
    ASSERT_EQ(g.meshes[0].primitives.size(), 1u);
    const tinygltf::Primitive& p = g.meshes[0].primitives[0];
    const tinygltf::Material& material = g.materials.at(size_t(p.material));
    EXPECT_EQ(material.alphaMode, "OPAQUE");
    const int textura = material.pbrMetallicRoughness.baseColorTexture.index;
    ASSERT_GE(textura, 0);
    const tinygltf::Image& imagen = g.images.at(size_t(g.textures.at(size_t(textura)).source));
    ASSERT_EQ(imagen.image.size(), 256u * 256 * 4);

    const std::vector<float> posiciones = Datos<float>(g, p.attributes.at("POSITION"));
    const std::vector<float> uv = Datos<float>(g, p.attributes.at("TEXCOORD_0"));
    ASSERT_EQ(posiciones.size(), 9u);
    ASSERT_EQ(uv.size(), 6u);
    // Corner k by where it lands: the level's (0, 0, 0), (1024, 0, 0) at x < 0, (0, 0, 1024) at z > 0.
    const struct {
        int x, y;
        std::array<uint8_t, 4> rgba;
    } esquinas[] = {{10, 10, {255, 0, 0, 255}}, {200, 20, {0, 255, 0, 255}}, {30, 220, {0, 0, 255, 255}}};
    std::set<int> vistas;
    for (size_t i = 0; i < 3; ++i) {
        const int k = posiciones[3 * i] < -0.5f ? 1 : posiciones[3 * i + 2] > 0.5f ? 2 : 0;
        vistas.insert(k);
        SCOPED_TRACE(k);
        const int x = int(std::floor(uv[2 * i] * 256)), y = int(std::floor(uv[2 * i + 1] * 256));
        EXPECT_EQ(x, esquinas[k].x);
        EXPECT_EQ(y, esquinas[k].y);
        const uint8_t* texel = &imagen.image[size_t(std::clamp(y, 0, 255) * 256 + std::clamp(x, 0, 255)) * 4];
        EXPECT_EQ((std::array<uint8_t, 4>{texel[0], texel[1], texel[2], texel[3]}), esquinas[k].rgba);
    }
    EXPECT_EQ(vistas.size(), 3u);
}

TEST(ExportarGLTF, TodoQuedaEnElSueloSinSolaparse) {
    const auto n = Abrir(fixture::EscribirNivel(NivelConCaras()));
    const tinygltf::Model m = Exportar(*n, {Elegido::Todo});
    std::vector<std::string> raices;
    for (int i : m.scenes[0].nodes)
        raices.push_back(m.nodes[size_t(i)].name);
    // Objects none of whose meshes can be read are left out (6, and statics 39 and 40).
    EXPECT_EQ(raices, (std::vector<std::string>{"movible_5", "movible_7", "movible_9",
                                                "movible_10", "movible_11", "estatico_38"}));
    const Recorrido r = Recorrer(m);
    std::vector<glm::vec3> minimo(m.nodes.size(), glm::vec3(1e9f)), maximo(m.nodes.size(), glm::vec3(-1e9f));
    for (size_t k = 0; k < m.nodes.size(); ++k) {
        if (m.nodes[k].mesh < 0)
            continue;
        size_t raiz = k;
        while (r.padre[raiz] >= 0)
            raiz = size_t(r.padre[raiz]);
        for (const auto& p : m.meshes[size_t(m.nodes[k].mesh)].primitives) {
            const auto v = Datos<float>(m, p.attributes.at("POSITION"));
            for (size_t j = 0; j < v.size(); j += 3) {
                const glm::vec3 q(r.mundo[k] * glm::vec4(glm::make_vec3(&v[j]), 1));
                minimo[raiz] = glm::min(minimo[raiz], q);
                maximo[raiz] = glm::max(maximo[raiz], q);
            }
        }
    }
    for (int a : m.scenes[0].nodes) {
        EXPECT_NEAR(minimo[size_t(a)].y, 0, 1e-5f) << m.nodes[size_t(a)].name;
        for (int b : m.scenes[0].nodes) {
            if (a >= b)
                continue;
            EXPECT_TRUE(maximo[size_t(a)].x <= minimo[size_t(b)].x ||
                            maximo[size_t(b)].x <= minimo[size_t(a)].x ||
                            maximo[size_t(a)].z <= minimo[size_t(b)].z ||
                            maximo[size_t(b)].z <= minimo[size_t(a)].z)
                    << m.nodes[size_t(a)].name << " " << m.nodes[size_t(b)].name;
        }
    }
}

// Room 0: a red-lit floor square textured from the page and a double-sided untextured triangle,
// at x = 2048; room 1, its flipped version, is left out with its placements. Static 38 placed
// twice in room 0 (once more in room 1); moveable 5 twice, the second at x = 1024 turned a
// quarter; a missing id and a moveable without meshes skipped.
TEST(ExportarGLTF, ElNivelSonSusCuartosConSusObjetosColocados) {
    fixture::NivelFixture f = NivelConCaras();
    fixture::CuartoFixture& c = f.cuartos[0];
    c.info = {2048, 0, 0, 0};
    c.alterno = 1;
    // Full red, and half of the texel in every channel: 128 of 255 on screen.
    constexpr uint16_t MEDIA = 8 << 10 | 8 << 5 | 8;
    c.vertices = {{0, 0, 0, 0, 0, 0x7C00}, {1024, 0, 0}, {1024, 0, 1024}, {0, 0, 1024, 0, 0, MEDIA}};
    c.rectangulos = {{{0, 1, 2, 3}, 0}};
    c.triangulos = {{{0, 1, 2}, 0x8000 | 99}};
    f.cuartos[1].vertices = c.vertices;
    f.cuartos[1].triangulos = c.triangulos;
    f.items[2] = {5, 0, 1024, 0, 0, 16384};
    const auto n = Abrir(fixture::EscribirNivel(f));
    const tinygltf::Model m = Exportar(*n, {Elegido::Nivel});
    std::vector<std::string> raices;
    for (int i : m.scenes[0].nodes)
        raices.push_back(m.nodes[size_t(i)].name);
    EXPECT_EQ(raices, (std::vector<std::string>{"cuarto_0", "estatico_38", "estatico_38",
                                                "movible_5", "movible_5"}));
    const Recorrido r = Recorrer(m);
    EXPECT_EQ(r.triangulos, 3u + 2 * 1 + 5 * 2);
    const tinygltf::Mesh& cuarto = m.meshes[size_t(m.nodes[0].mesh)];
    ASSERT_EQ(cuarto.primitives.size(), 2u);
    int medias = 0;
    for (const auto& p : cuarto.primitives) {
        const auto color = Datos<float>(m, p.attributes.at("COLOR_0"));
        const auto pos = Datos<float>(m, p.attributes.at("POSITION"));
        EXPECT_EQ(std::vector<float>(color.begin(), color.begin() + 3), (std::vector<float>{1, 0, 0}));
        EXPECT_EQ(std::vector<float>(pos.begin(), pos.begin() + 3), (std::vector<float>{-4, 0, 0}));
        // The viewer's 128/255 on screen is 0.2159 in linear light, as glTF's colours are.
        for (size_t v = 0; v < color.size(); v += 3)
            if (pos[v] == -4 && pos[v + 2] == 2) {
                ++medias;
                for (int k = 0; k < 3; ++k)
                    EXPECT_NEAR(color[v + size_t(k)], 0.21586f, 1e-4f);
            }
        const bool textura = p.attributes.count("TEXCOORD_0");
        EXPECT_EQ(m.materials[size_t(p.material)].doubleSided, !textura);
    }
    EXPECT_EQ(medias, 1);
    // A point 100 units along the moveable's x, turned a quarter about the level's y as a
    // frame's turn would (x goes to -z), at the item's place.
    const int item = m.scenes[0].nodes[4];
    const glm::vec4 q = r.mundo[size_t(item)] * glm::vec4(-100.f / 512, 0, 0, 1);
    EXPECT_NEAR(q.x, -2, 1e-5f);
    EXPECT_NEAR(q.y, 0, 1e-5f);
    EXPECT_NEAR(q.z, -100.f / 512, 1e-5f);

    // Its alternate group (0) shown flipped: room 1 in place of room 0, and nothing else moves
    // for another group.
    OpcionesGLTF volteado{Elegido::Nivel};
    volteado.GruposVolteados[1] = true;
    EXPECT_EQ(Exportar(*n, volteado).nodes[size_t(m.scenes[0].nodes[0])].name, "cuarto_0");
    volteado.GruposVolteados[0] = true;
    const tinygltf::Model v = Exportar(*n, volteado);
    std::set<std::string> cuartos;
    for (int i : v.scenes[0].nodes)
        if (v.nodes[size_t(i)].name.starts_with("cuarto_"))
            cuartos.insert(v.nodes[size_t(i)].name);
    EXPECT_EQ(cuartos, (std::set<std::string>{"cuarto_1"}));
}

// export --level --logic: the level's triggers, cameras, flyby cameras and sound sources as empty
// nodes under "logica", where the level puts them, their fields as extras; not asked, none.
TEST(ExportarGLTF, LaLogicaDelNivelSonNodosConSusDatos) {
    const auto n = Abrir(fixture::EscribirNivel(fixture::NivelLogica()));
    OpcionesGLTF o{Elegido::Nivel};
    auto raiz = [](const tinygltf::Model& m) -> const tinygltf::Node* {
        for (int i : m.scenes.at(0).nodes)
            if (m.nodes[size_t(i)].name == "logica")
                return &m.nodes[size_t(i)];
        return nullptr;
    };
    EXPECT_EQ(raiz(Exportar(*n, o)), nullptr);
    o.Logica = true;
    const tinygltf::Model m = Exportar(*n, o);
    const tinygltf::Node* logica = raiz(m);
    ASSERT_NE(logica, nullptr);
    EXPECT_EQ(logica->children.size(), 13u + 2 + 3 + 1);
    std::map<std::string, const tinygltf::Node*> nodos;
    for (int i : logica->children)
        nodos[m.nodes[size_t(i)].name] = &m.nodes[size_t(i)];
    // The switch's sector, x 1, z 2 of room 0 (origin -1024, 2048): its centre (512, 0, 4608).
    ASSERT_TRUE(nodos.count("disparador_0_1_2"));
    const tinygltf::Node& interruptor = *nodos["disparador_0_1_2"];
    ASSERT_EQ(interruptor.translation.size(), 3u);
    EXPECT_NEAR(interruptor.translation[0], -1, 1e-6);
    EXPECT_NEAR(interruptor.translation[1], 0, 1e-6);
    EXPECT_NEAR(interruptor.translation[2], 9, 1e-6);
    EXPECT_EQ(interruptor.extras.Get("type").Get<std::string>(), "switch");
    EXPECT_EQ(interruptor.extras.Get("mask").Get<int>(), 0);
    const tinygltf::Value& acciones = interruptor.extras.Get("actions");
    ASSERT_EQ(acciones.ArrayLen(), 2u);
    EXPECT_EQ(acciones.Get(0).Get("action").Get<std::string>(), "object");
    EXPECT_EQ(acciones.Get(1).Get("action").Get<std::string>(), "flipmap");
    EXPECT_EQ(acciones.Get(1).Get("parameter").Get<int>(), 1);
    EXPECT_EQ(nodos["disparador_0_1_0"]->extras.Get("timer").Get<int>(), -5);
    EXPECT_TRUE(nodos["disparador_0_1_0"]->extras.Get("one_shot").Get<bool>());
    ASSERT_TRUE(nodos.count("sonido_0"));
    EXPECT_NEAR(nodos["sonido_0"]->translation[1], 0.5, 1e-6); // y -256 is 0.5 m up
    EXPECT_EQ(nodos["sonido_0"]->extras.Get("sound").Get<int>(), 7);
    EXPECT_TRUE(nodos.count("camara_1") && nodos.count("vuelo_2_0") && nodos.count("vuelo_0_0"));
}

struct CarpetaGLTF : ::testing::Test {
    fs::path dir;
    void SetUp() override {
        dir = fs::temp_directory_path() /
              ("tr4_gltf_" + std::to_string(::getpid()) + "_" +
               ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(dir);
        fs::create_directories(dir);
    }
    void TearDown() override { fs::remove_all(dir); }
};

std::vector<uint8_t> Bytes(const fs::path& ruta) {
    std::ifstream f(ruta, std::ios::binary);
    return {std::istreambuf_iterator<char>(f), std::istreambuf_iterator<char>()};
}

// The pages beside a .gltf are `tr4tool pages`' own files, byte for byte; a page file of other
// texels already there (another level's, one painted over) is never overwritten.
TEST_F(CarpetaGLTF, ElGltfLlevaSuBinYSusPaginasAlLado) {
    const auto n = Abrir(fixture::EscribirNivel(NivelConCaras()));
    const std::string ruta = (dir / "con espacio.gltf").string();
    Hecho hecho;
    ASSERT_TRUE((hecho = ExportarGLTF(*n, {Elegido::Movible, 5}, ruta)))
        << hecho.Motivo();
    EXPECT_TRUE(fs::exists(dir / "con espacio.bin"));
    EXPECT_TRUE(fs::exists(dir / "pagina_00_aditiva.png"));
    const auto paginas = PaginasPNG(*n->Texturas, dir.string());
    ASSERT_EQ(paginas.size(), 1u);
    EXPECT_EQ(paginas[0].Ruta, (dir / "pagina_00.png").string());
    EXPECT_EQ(Bytes(dir / "pagina_00.png"), paginas[0].Bytes);
    tinygltf::TinyGLTF lector;
    tinygltf::Model m;
    std::string error, aviso;
    ASSERT_TRUE(lector.LoadASCIIFromFile(&m, &error, &aviso, ruta)) << error;
    EXPECT_EQ(Recorrer(m).triangulos, 5u);

    // Again, and another object beside it: the same pages serve both.
    ASSERT_TRUE((hecho = ExportarGLTF(*n, {Elegido::Movible, 5}, ruta)))
        << hecho.Motivo();
    ASSERT_TRUE(
        (hecho = ExportarGLTF(*n, {Elegido::Mesh, 0}, (dir / "m.gltf").string())))
        << hecho.Motivo();
    const std::vector<uint8_t> retocada = {1, 2, 3};
    ASSERT_TRUE(EscribirAtomico((dir / "pagina_00.png").string(), retocada));
    EXPECT_FALSE(
        (hecho = ExportarGLTF(*n, {Elegido::Mesh, 0}, (dir / "m.gltf").string())));
    EXPECT_NE(hecho.Motivo().find("pagina_00.png ya existe"), std::string::npos) << hecho.Motivo();
    EXPECT_EQ(Bytes(dir / "pagina_00.png"), retocada);
}

TEST_F(CarpetaGLTF, UnaExportacionFallidaDiceQuePasaYNoDejaNada) {
    const auto n = Abrir(fixture::EscribirNivel(NivelConCaras()));
    Hecho hecho;
    const std::string glb = (dir / "a.glb").string();
    EXPECT_FALSE((hecho = ExportarGLTF(*n, {Elegido::Movible, 9999}, glb)));
    EXPECT_EQ(hecho.Motivo(), "no hay movible con id 9999; los hay con id 5 6 7 9 10 11");
    EXPECT_FALSE((hecho = ExportarGLTF(*n, {Elegido::Mesh, 3}, glb)));
    EXPECT_EQ(hecho.Motivo(), "no hay mesh 3; los índices válidos van de 0 a 2");
    EXPECT_FALSE((hecho = ExportarGLTF(*n, {Elegido::Mesh, 0, 0}, glb)));
    EXPECT_FALSE((hecho = ExportarGLTF(*n, {}, (dir / "a.obj").string())));
    EXPECT_NE(hecho.Motivo().find(".glb o .gltf"), std::string::npos) << hecho.Motivo();
    EXPECT_FALSE((hecho = ExportarGLTF(*n, {}, (dir / "no/hay/a.gltf").string())));
    EXPECT_NE(hecho.Motivo().find("/no/hay/"), std::string::npos) << hecho.Motivo();
    EXPECT_FALSE((hecho = ExportarGLTF(*n, {}, "/proc/tr4_export.glb")));
    EXPECT_TRUE(fs::is_empty(dir));
    // A good file stays as it was when the next export over it fails part way (its page
    // cannot land where a folder stands).
    ASSERT_TRUE(
        (hecho = ExportarGLTF(*n, {Elegido::Mesh, 2}, (dir / "b.gltf").string())))
        << hecho.Motivo();
    const auto antes = fs::file_size(dir / "b.gltf");
    fs::create_directory(dir / "pagina_00_aditiva.png");
    EXPECT_FALSE(
        (hecho = ExportarGLTF(*n, {Elegido::Movible, 5}, (dir / "b.gltf").string())));
    EXPECT_EQ(fs::file_size(dir / "b.gltf"), antes);
}

// Lara's body on a real level: 15 nodes under the object's and her joints' skinned mesh, as
// many triangles as their faces.
TEST(ExportarGLTF, NivelesReales) {
    const auto n = AbrirReal("title-a.tr4");
    if (!n)
        GTEST_SKIP() << "sin " << TR4_NIVELES_REALES << "/title-a.tr4";
    const tinygltf::Model m = Exportar(*n, {Elegido::Movible, 8});
    EXPECT_EQ(m.nodes.size(), 17u);
    size_t esperados = 0;
    std::vector<int32_t> meshes;
    for (const trMovible& mv : n->Objetos.Movibles)
        if (mv.Id == 8)
            meshes = mv.Meshes;
    ASSERT_TRUE(n->Articulaciones);
    for (const auto& junta : n->Articulaciones->Juntas())
        meshes.push_back(junta.Mesh);
    for (int32_t k : meshes)
        if (const trMesh* t = n->Mesh(k))
            esperados += 2 * t->Rectangulos.size() + t->Triangulos.size();
    EXPECT_EQ(Recorrer(m).triangulos, esperados);
    // At the default scale Lara stands about 1.5 m tall, her body posed by its own first frame.
    const Recorrido r = Recorrer(m);
    float bajo = INFINITY, alto = -INFINITY;
    for (size_t k = 0; k < m.nodes.size(); ++k)
        if (m.nodes[k].mesh >= 0)
            for (const auto& p : m.meshes[size_t(m.nodes[k].mesh)].primitives) {
                const auto v = Datos<float>(m, p.attributes.at("POSITION"));
                for (size_t j = 0; j < v.size(); j += 3) {
                    const float y = (r.mundo[k] * glm::vec4(glm::make_vec3(&v[j]), 1)).y;
                    bajo = std::min(bajo, y);
                    alto = std::max(alto, y);
                }
            }
    EXPECT_GT(alto - bajo, 1.4f);
    EXPECT_LT(alto - bajo, 1.7f);
    RecordProperty("altura_lara_mm", int(std::lround((alto - bajo) * 1000)));
    EXPECT_GT(Recorrer(Exportar(*n, {Elegido::Todo})).triangulos, esperados);

    // The whole level: each page one image, however many materials use it.
    const tinygltf::Model nivel = Exportar(*n, {Elegido::Nivel});
    std::set<std::string> imagenes;
    for (const tinygltf::Image& i : nivel.images)
        EXPECT_TRUE(imagenes.insert(i.name).second) << i.name;
    EXPECT_LE(nivel.images.size(), 2u * size_t(n->Texturas->NumPaginas()));
    EXPECT_GT(nivel.materials.size(), nivel.images.size());
}

// The Khronos glTF Validator (tools/validador, installed by scripts/setup) on fixture and real
// exports: nothing to report.
struct Validador : CarpetaGLTF {
    void Validar(const NivelAbierto& n, OpcionesGLTF o, const std::string& nombre,
                 const std::string& aceptada = "") {
        const std::string ruta = (dir / nombre).string();
        Hecho hecho;
        ASSERT_TRUE((hecho = ExportarGLTF(n, o, ruta))) << hecho.Motivo();
        const std::string orden = "node '" TR4_VALIDADOR "' '" + ruta + "' 2>&1";
        FILE* tubo = popen(orden.c_str(), "r");
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
        // Not an info nor a hint either, but the one a case names.
        for (const auto& mensaje : informe["issues"]["messages"])
            EXPECT_EQ(mensaje["code"], aceptada) << texto;
    }
    void SetUp() override {
        CarpetaGLTF::SetUp();
        // A failure, not a skip: an export nobody validated must not pass for a validated one.
        ASSERT_TRUE(fs::exists(fs::path(TR4_VALIDADOR).parent_path() / "node_modules/gltf-validator"))
            << "sin el validador de glTF: scripts/setup lo instala";
    }
};

TEST_F(Validador, Fixture) {
    const auto n = Abrir(fixture::EscribirNivel(NivelConCaras()));
    Validar(*n, {Elegido::Movible, 5}, "movible.glb");
    Validar(*n, {Elegido::Movible, 5}, "movible.gltf");
    Validar(*n, {Elegido::Todo}, "todo.glb");
    Validar(*n, {Elegido::Nivel}, "nivel.glb");
    Validar(*n, {Elegido::Mesh, 2}, "sin_texturas.gltf");
    // A static none of whose meshes can be read is its node alone, which still says what was
    // asked for; the validator mentions the empty node.
    Validar(*n, {Elegido::Estatico, 40}, "sin_meshes.glb", "NODE_EMPTY");
    // A level with no rooms and nothing placed is an empty scene, not a null one.
    const auto sinCuartos = Abrir(fixture::EscribirNivel(fixture::NivelSonoro()));
    Validar(*sinCuartos, {Elegido::Nivel}, "sin_cuartos.glb", "SCENE_EMPTY");
}

// The first three games' levels: Lara with every animation she can play, and the whole level.
TEST_F(Validador, NivelesClasicosReales) {
    for (const char* nombre : {"classic/tr1-b.phd", "classic/tr2-b.tr2", "classic/tr3-b.tr2",
                               "classic/tr5-b.trc"}) {
        SCOPED_TRACE(nombre);
        const auto n = AbrirReal(nombre);
        if (!n)
            GTEST_SKIP() << "sin " << TR4_NIVELES_REALES << "/" << nombre;
        OpcionesGLTF lara{Elegido::Movible, 0};
        lara.Animadas.Todas = true;
        if (n->Objetos.CuerpoLara != ID_LARA)
            lara.Animadas.MeshesDe = n->Objetos.CuerpoLara;
        Validar(*n, lara, "lara.glb");
        // Asked for by name, she is the same model.
        OpcionesGLTF porNombre{Elegido::Lara};
        porNombre.Animadas.Todas = true;
        std::vector<ArchivoPorEscribir> pedida, nombrada;
        ASSERT_TRUE(ExportarGLTFEnMemoria(*n, lara, "lara.glb", pedida));
        ASSERT_TRUE(ExportarGLTFEnMemoria(*n, porNombre, "lara.glb", nombrada));
        EXPECT_EQ(pedida.back().Bytes, nombrada.back().Bytes);
        EXPECT_EQ(NombreExportacion(porNombre), "lara.glb");
        Validar(*n, {Elegido::Nivel}, "nivel.glb");
        // The game's table names the nodes; the fifth game has none here.
        const tinygltf::Model m = Exportar(*n, {Elegido::Nivel});
        const std::string nodoLara = n->Nivel->Juego < 4 ? "movible_0 Lara" : "movible_0";
        EXPECT_TRUE(std::any_of(m.nodes.begin(), m.nodes.end(),
                                [&](const tinygltf::Node& d) { return d.name == nodoLara; }));
    }
}

TEST_F(Validador, NivelesReales) {
    for (const char* nombre : {"title-a.tr4", "title-b.tr4"}) {
        SCOPED_TRACE(nombre);
        const auto n = AbrirReal(nombre);
        if (!n)
            GTEST_SKIP() << "sin " << TR4_NIVELES_REALES << "/" << nombre;
        Validar(*n, {Elegido::Mesh, 0}, "mesh.glb");
        Validar(*n, {Elegido::Movible, 8}, "lara.glb");
        // A folder of its own: the other level's pages are not this one's.
        const std::string carpeta = std::string(nombre) + "/";
        fs::create_directories(dir / carpeta);
        Validar(*n, {Elegido::Estatico, n->Objetos.Estaticos.at(0).Id}, carpeta + "estatico.gltf");
        Validar(*n, {Elegido::Todo}, "todo.glb");
        Validar(*n, {Elegido::Nivel}, carpeta + "nivel.gltf");
    }
}
