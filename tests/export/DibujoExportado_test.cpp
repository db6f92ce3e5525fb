// An exported object read back by another reader and drawn by our own device must look as the
// viewer draws it: the proof that axes, winding, the tree's transforms and the texels survive.
// TR4_CAPTURA_EXPORTADO=FILE.png keeps the picture of the read-back model
// (docs/exportado-lara.png).
#include "DibujoEnsamblaje.h"
#include "Encuadre.h"
#include "EscenaNivel.h"
#include "ExportarGLTF.h"
#include "LecturaGLTF.h"
#include "LeerCuartos.h"
#include "Lotes8.h"
#include "NivelEnGL.h"
#include "NivelSubido.h"
#include "SuperficieEGL.h"
#include "dxBufferTextura.h"
#include "dxDevice8.h"
#include "dxMain.h"

#include <glm/glm.hpp>
#include <glm/gtc/quaternion.hpp>
#include <gtest/gtest.h>
#include <stb_image_write.h>
#include <tiny_gltf.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>

namespace {

constexpr int LADO = 400;
constexpr float ANGULO = 3.1416f;

struct Liberar {
    void operator()(IDirect3DTexture8* t) const { t->Release(); }
};

// The model as the device's buffers: every triangle in world place, back in the device's axes
// (x negated, units of the level) and wound clockwise again, one buffer per node.
struct Leido {
    std::vector<std::unique_ptr<IDirect3DTexture8, Liberar>> texturas;
    BuffersMesh buffers;
    Ensamblaje objeto;
};

void Cargar(const tinygltf::Model& m, dxDevice8& d, Leido& l) {
    for (const tinygltf::Image& im : m.images) {
        std::vector<uint8_t> bgra(im.image);
        for (size_t i = 0; i + 3 < bgra.size(); i += 4)
            std::swap(bgra[i], bgra[i + 2]);
        l.texturas.emplace_back(d.TexturaDeMemoria(256, 256, D3DFMT_A8R8G8B8, bgra.data()));
    }
    std::vector<glm::mat4> mundo(m.nodes.size(), glm::mat4(1.f));
    std::vector<glm::vec3> puntos;
    for (size_t i = 0; i < m.nodes.size(); ++i) {
        mundo[i] = mundo[i] * Local(m.nodes[i]);
        for (int h : m.nodes[i].children)
            mundo[size_t(h)] = mundo[i];
        if (m.nodes[i].mesh < 0)
            continue;
        auto buffer = std::make_shared<dxBufferTextura>();
        for (const tinygltf::Primitive& p : m.meshes[size_t(m.nodes[i].mesh)].primitives) {
            const std::vector<float> pos = Datos<float>(m, p.attributes.at("POSITION"));
            const std::vector<float> uv = p.attributes.count("TEXCOORD_0")
                                              ? Datos<float>(m, p.attributes.at("TEXCOORD_0"))
                                              : std::vector<float>{};
            const int textura =
                m.materials[size_t(p.material)].pbrMetallicRoughness.baseColorTexture.index;
            IDirect3DTexture8* pagina =
                textura < 0 ? nullptr
                            : l.texturas[size_t(m.textures[size_t(textura)].source)].get();
            const std::vector<uint16_t> indices = Datos<uint16_t>(m, p.indices);
            for (size_t t = 0; t + 2 < m.accessors[size_t(p.indices)].count; t += 3) {
                const uint16_t esquinas[3] = {indices[t], indices[t + 2], indices[t + 1]};
                auto tri = std::make_unique<dxTrianguloTex>(FLAG_CULL_CCW);
                if (!uv.empty() && pagina)
                    (void)tri->SetTextura(pagina, uv[2 * esquinas[0]], uv[2 * esquinas[0] + 1],
                                          uv[2 * esquinas[1]], uv[2 * esquinas[1] + 1],
                                          uv[2 * esquinas[2]], uv[2 * esquinas[2] + 1]);
                for (uint16_t e : esquinas) {
                    const glm::vec3 q(mundo[i] *
                                      glm::vec4(pos[3 * e], pos[3 * e + 1], pos[3 * e + 2], 1));
                    const glm::vec3 v = glm::vec3(-q.x, q.y, q.z) * 512.f;
                    puntos.push_back(v);
                    (void)tri->AgregarVertice(v.x, v.y, v.z);
                }
                (void)tri->Verificar();
                (void)buffer->AgregarPoligono(std::move(tri));
            }
        }
        (void)d.CargarBuffer(buffer.get());
        l.objeto.Piezas.push_back({int32_t(l.buffers.Cantidad()), {}, -1});
        l.objeto.Piezas.back().Mundo = glm::mat4(1.f);
        l.buffers.Agregar(buffer);
    }
    // Framed as the viewer frames an object: the sphere centred in the box of its vertices.
    glm::vec3 minimo(1e30f), maximo(-1e30f);
    for (const glm::vec3& p : puntos)
        minimo = glm::min(minimo, p), maximo = glm::max(maximo, p);
    const glm::vec3 c = (minimo + maximo) / 2.f;
    float r = 0;
    for (const glm::vec3& p : puntos)
        r = std::max(r, glm::length(p - c));
    l.objeto.Centro = {c.x, c.y, c.z};
    l.objeto.Radio = r;
}

std::vector<uint32_t> Dibujar(SuperficieEGL& s, dxDevice8& d, const Ensamblaje& e,
                              const BuffersMesh& buffers) {
    (void)EncuadrarEnsamblaje(d, e, LADO, LADO);
    (void)DibujarEnsamblaje(d, e, buffers, ANGULO, true, false);
    return LeerPixeles(s);
}

// Both compare the viewer's picture of title-a with the picture of its export.
class DibujoExportado : public ::testing::Test {
  protected:
    void SetUp() override {
        if (const std::string falta =
                gl.Abrir(std::string(TR4_NIVELES_REALES) + "/title-a.tr4", LADO, LADO, 0, 0, 0);
            !falta.empty())
            GTEST_SKIP() << falta;
        ASSERT_TRUE(gl.nivel);
    }
    NivelEnGL gl;
};

} // namespace

TEST_F(DibujoExportado, LaraLeidaDelGlbSeVeComoEnElVisor) {
    auto& [superficie, principal, d, nivel] = gl;
    Hecho hecho;

    const trMovible* lara = nullptr;
    for (const trMovible& m : nivel->Objetos.Movibles)
        if (m.Id == 8)
            lara = &m;
    ASSERT_TRUE(lara);
    const std::vector<uint32_t> visor =
        Dibujar(*superficie, *d, ArmarMovible(*lara, *nivel->Meshes, nivel->Articulaciones),
                nivel->Buffers);

    std::vector<ArchivoPorEscribir> archivos;
    ASSERT_TRUE(
        (hecho = ExportarGLTFEnMemoria(*nivel, {Elegido::Movible, 8}, "lara.glb", archivos)))
        << hecho.Motivo();
    const tinygltf::Model modelo = Leer(archivos[0]);
    ASSERT_FALSE(modelo.nodes.empty());
    Leido leido;
    Cargar(modelo, *d, leido);
    const std::vector<uint32_t> exportado = Dibujar(*superficie, *d, leido.objeto, leido.buffers);

    ASSERT_EQ(visor.size(), exportado.size());
    size_t distintos = 0, figura = 0;
    for (size_t i = 0; i < visor.size(); ++i) {
        distintos += visor[i] != exportado[i];
        figura += (visor[i] & 0xFFFFFF) != 0;
    }
    // Only edge pixels may differ: a rectangle drawn as a strip against two triangles, and
    // positions that went through floats and the scale and back.
    EXPECT_GT(figura, 10000u);
    EXPECT_LT(distintos, figura / 100) << distintos << " of " << figura;
    RecordProperty("pixeles_distintos", int(distintos));
    RecordProperty("pixeles_de_la_figura", int(figura));

    if (const char* captura = std::getenv("TR4_CAPTURA_EXPORTADO")) {
        std::vector<uint8_t> rgba;
        for (uint32_t p : exportado)
            rgba.insert(rgba.end(),
                        {uint8_t(p >> 16), uint8_t(p >> 8), uint8_t(p), uint8_t(p >> 24)});
        EXPECT_TRUE(stbi_write_png(captura, LADO, LADO, 4, rgba.data(), LADO * 4));
    }
}

namespace {

// Linear light as a display value, the sRGB curve applied: what a glTF viewer puts on screen.
float Pantalla(float lineal) {
    return lineal <= 0.0031308f ? lineal * 12.92f : 1.055f * std::pow(lineal, 1 / 2.4f) - 0.055f;
}

// The mean of a picture's channels, 0 to 255.
double Brillo(const std::vector<uint32_t>& pixeles) {
    double suma = 0;
    for (uint32_t p : pixeles)
        suma += ((p >> 16 & 255) + (p >> 8 & 255) + (p & 255)) / 3.0;
    return suma / double(pixeles.size());
}

// The rooms of an exported level (`cuarto_N` nodes) as the batch drawer's vertices, back in the
// device's axes and winding, their pages the model's images; `color` makes a vertex's colour
// from the COLOR_0 a reader finds.
template <class F>
std::vector<VerticeLote> CuartosLeidos(const tinygltf::Model& m, std::vector<TramoLote>& tramos,
                                       F color) {
    std::vector<VerticeLote> v;
    for (const tinygltf::Node& n : m.nodes) {
        if (n.name.rfind("cuarto_", 0) != 0 || n.mesh < 0)
            continue;
        for (const tinygltf::Primitive& p : m.meshes[size_t(n.mesh)].primitives) {
            const auto pos = Datos<float>(m, p.attributes.at("POSITION"));
            const auto col = Datos<float>(m, p.attributes.at("COLOR_0"));
            const auto uv = p.attributes.count("TEXCOORD_0")
                                ? Datos<float>(m, p.attributes.at("TEXCOORD_0"))
                                : std::vector<float>{};
            const tinygltf::Material& mat = m.materials[size_t(p.material)];
            const int t = mat.pbrMetallicRoughness.baseColorTexture.index;
            const uint32_t pagina = t < 0 ? SIN_PAGINA : uint32_t(m.textures[size_t(t)].source);
            const auto c16 = Datos<uint16_t>(m, p.indices);
            const auto c32 = m.accessors[size_t(p.indices)].componentType == 5125
                                 ? Datos<uint32_t>(m, p.indices)
                                 : std::vector<uint32_t>(c16.begin(), c16.end());
            const UINT inicio = UINT(v.size());
            for (size_t k = 0; k + 2 < c32.size(); k += 3)
                for (uint32_t e : {c32[k], c32[k + 2], c32[k + 1]}) {
                    VerticeLote x;
                    x.X = -pos[3 * e] * 512;
                    x.Y = pos[3 * e + 1] * 512;
                    x.Z = pos[3 * e + 2] * 512;
                    if (!uv.empty()) {
                        x.U = uv[2 * e];
                        x.V = uv[2 * e + 1];
                    }
                    x.Pagina = pagina;
                    x.Color = 0xFF000000u | color(col[3 * e]) << 16 | color(col[3 * e + 1]) << 8 |
                              color(col[3 * e + 2]);
                    v.push_back(x);
                }
            tramos.push_back({inicio, UINT(v.size()) - inicio, mat.doubleSided});
        }
    }
    return v;
}

} // namespace

// The dimmest large room of a real level as the viewer draws it, and the same level exported,
// read back and drawn with its linear COLOR_0 brought back to display values (what a glTF viewer
// puts on screen), from the same camera: the same mean brightness. Taken as display values, as
// the export once wrote them, the room comes out far brighter in other programs.
TEST_F(DibujoExportado, UnCuartoOscuroBrillaComoEnElVisor) {
    auto& [superficie, principal, d, nivel] = gl;
    Hecho hecho;

    const std::vector<trGeometriaCuarto> cuartos = LeerCuartos(*nivel->Nivel);
    int32_t elegido = -1;
    double menor = 1e9;
    for (size_t r = 0; r < cuartos.size(); ++r) {
        if (cuartos[r].Caras.size() < 100)
            continue;
        double luz = 0;
        for (const trVerticeCuarto& v : cuartos[r].Vertices)
            luz += LuzCanal(v.Color, 10) + LuzCanal(v.Color, 5) + LuzCanal(v.Color, 0);
        luz /= 3.0 * double(cuartos[r].Vertices.size());
        if (luz > 0.05 && luz < menor)
            menor = luz, elegido = int32_t(r);
    }
    ASSERT_GE(elegido, 0);
    const EscenaNivel* escena = nivel->Escena.get();
    ASSERT_TRUE(escena && nivel->Dibujo);
    // From above at an angle, outside the room: its floor and far walls face the camera.
    const Esfera e = escena->EsferaCuarto(elegido);
    const glm::vec3 centro(e.X, e.Y, e.Z), ojo = centro + glm::vec3(0, 0.8f, -0.6f) * e.Radio * 2.f;
    ASSERT_EQ(d->SetProyeccion(e.Radio * 0.5f, e.Radio * 4, 1, CAMPO_VISION), D3D_OK);
    ASSERT_EQ(d->SetOjo(ojo.x, ojo.y, ojo.z), D3D_OK);
    ASSERT_EQ(d->SetObjetivo(centro.x, centro.y, centro.z), D3D_OK);
    OpcionesNivel opciones;
    opciones.Estaticos = opciones.Items = false;
    ASSERT_EQ(d->Limpiar(1), D3D_OK);
    ASSERT_EQ(nivel->Dibujo->Dibujar(*d, opciones), D3D_OK);
    ASSERT_EQ(d->Presentar(), D3D_OK);
    const double visor = Brillo(LeerPixeles(*superficie));

    std::vector<ArchivoPorEscribir> archivos;
    ASSERT_TRUE((hecho = ExportarGLTFEnMemoria(*nivel, {Elegido::Nivel}, "nivel.glb", archivos)))
        << hecho.Motivo();
    const tinygltf::Model modelo = Leer(archivos[0]);
    std::vector<uint8_t> paginas;
    for (const tinygltf::Image& im : modelo.images)
        for (size_t i = 0; i + 3 < im.image.size(); i += 4)
            paginas.insert(paginas.end(),
                           {im.image[i + 2], im.image[i + 1], im.image[i], im.image[i + 3]});
    auto lotes = CrearLotes8(d->GetDispositivo());
    ASSERT_TRUE(lotes);
    ASSERT_EQ(lotes->CargarPaginas(UINT(modelo.images.size()), paginas.data()), D3D_OK);
    auto dibujar = [&](auto color) {
        std::vector<TramoLote> tramos;
        const std::vector<VerticeLote> v = CuartosLeidos(modelo, tramos, color);
        EXPECT_EQ(lotes->CargarVertices(v.data(), UINT(v.size())), D3D_OK);
        EXPECT_EQ(d->Limpiar(1), D3D_OK);
        EXPECT_EQ(lotes->Dibujar(d->GetVista(), d->GetProyeccion(), tramos.data(),
                                 UINT(tramos.size()), LOTE_TEXTURIZADO, false),
                  D3D_OK);
        EXPECT_EQ(d->Presentar(), D3D_OK);
        return Brillo(LeerPixeles(*superficie));
    };
    auto byte = [](float x) { return uint32_t(std::lround(std::clamp(x, 0.f, 1.f) * 255)); };
    const double exportado = dibujar([&](float c) { return byte(Pantalla(c)); });
    // As the colours were written before: display values, which a reader takes for linear light.
    const double comoAntes = dibujar([&](float c) { return byte(Pantalla(Pantalla(c))); });

    EXPECT_GT(visor, 2.0);
    EXPECT_LT(visor, 128.0) << "a dim room";
    EXPECT_NEAR(exportado / visor, 1.0, 0.05) << visor << " " << exportado;
    EXPECT_GT(comoAntes / visor, 1.2);
    RecordProperty("cuarto", elegido);
    RecordProperty("brillo_visor_x1000", int(std::lround(visor * 1000)));
    RecordProperty("brillo_exportado_x1000", int(std::lround(exportado * 1000)));
    RecordProperty("brillo_como_antes_x1000", int(std::lround(comoAntes * 1000)));
}
