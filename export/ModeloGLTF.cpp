#include "ModeloGLTF.h"

#include "BufferGLTF.h"
#include "ConvencionesNivel.h"
#include "EjesGLTF.h"
#include "LeerCuartos.h"
#include "NivelAbierto.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>

namespace {

constexpr int NEAREST = 9728, REPEAT = 10497;
constexpr int32_t SIN_TEXTURA = -1;

const char* const UNLIT = "KHR_materials_unlit";

// A face's page as the viewer converts it; past the textures or the pages it is untextured.
int32_t PaginaDeCara(const NivelAbierto& n, uint16_t textura, bool triangulo,
                     const trTexturaObjeto*& t) {
    const uint32_t paginas = n.Texturas ? uint32_t(std::max(n.Texturas->NumPaginas(), 0)) : 0;
    const TexturaCara cara =
        n.Nivel ? TexturaDeCara(*n.Nivel, textura, triangulo, paginas) : TexturaCara{};
    t = cara.Objeto;
    return t ? int32_t(cara.Pagina) : SIN_TEXTURA;
}

// A display value (0..1, what the viewer puts on screen) as the linear light glTF's vertex
// colours hold: the sRGB curve undone. Left as they were, dim rooms came out about twice as
// bright in other programs as in the viewer.
float Lineal(float pantalla) {
    return pantalla <= 0.04045f ? pantalla / 12.92f : std::pow((pantalla + 0.055f) / 1.055f, 2.4f);
}

// A room vertex's channel as the viewer hands it to the device (one byte), in linear light.
float CanalLineal(uint16_t color, int desplazamiento) {
    return Lineal(std::round(LuzCanal(color, desplazamiento) * 255) / 255);
}

// A corner in the level's own integer units, where an area is exactly zero or not.
using Esquina = std::array<int64_t, 3>;

bool ConArea(const Esquina& a, const Esquina& b, const Esquina& c) {
    const Esquina u{b[0] - a[0], b[1] - a[1], b[2] - a[2]};
    const Esquina v{c[0] - a[0], c[1] - a[1], c[2] - a[2]};
    return u[1] * v[2] != u[2] * v[1] || u[2] * v[0] != u[0] * v[2] || u[0] * v[1] != u[1] * v[0];
}

// A face's corners as the model's triangles, cut as the viewer cuts them and wound
// counter-clockwise where the viewer's were clockwise. Triangles without area are left out
// (other programs make points and lines of them); how many corner numbers were put in
// `triangulos`: 0, 3 or 6.
int TriangulosCara(const Esquina* e, int esquinas, int (&triangulos)[6]) {
    const std::array<int, 6> orden = EsquinasTriangulos(esquinas, true);
    int n = 0;
    for (size_t t = 0; t < 3 * size_t(esquinas - 2); t += 3)
        if (ConArea(e[orden[t]], e[orden[t + 1]], e[orden[t + 2]]))
            for (size_t k = t; k < t + 3; ++k)
                triangulos[n++] = orden[k];
    return n;
}

} // namespace

// The faces of one mesh that share a material, unshared vertex by vertex: a level vertex takes a
// different texel on each face that uses it.
struct ModeloGLTF::Grupo {
    std::vector<float> posiciones, normales, uv, colores, pesos;
    std::vector<uint16_t> huesos; // a skinned vertex's four joints, as its four weights
    std::vector<uint32_t> indices;

    // Corner k's place on its page.
    void AgregarUV(const trTexturaObjeto& t, int k) {
        const glm::vec2 p = UVDeEsquina(t, k);
        uv.insert(uv.end(), {p.x, p.y});
    }

    // The triangles of one face: each corner they use added once, by `vertice(k)`, which appends
    // corner k's attributes.
    template <class F> void Agregar(const int* triangulos, int n, F vertice) {
        uint32_t nuevo[4] = {UINT32_MAX, UINT32_MAX, UINT32_MAX, UINT32_MAX};
        for (int i = 0; i < n; ++i) {
            const int k = triangulos[i];
            if (nuevo[k] == UINT32_MAX) {
                nuevo[k] = uint32_t(posiciones.size() / 3);
                vertice(k);
            }
            indices.push_back(nuevo[k]);
        }
    }
};

ModeloGLTF::ModeloGLTF(const NivelAbierto& nivel, float escala) : nivel_(nivel), escala_(escala) {
    m_.asset.version = "2.0";
    m_.asset.generator = "tr4visor";
    m_.buffers.resize(1);
    m_.scenes.resize(1);
    m_.defaultScene = 0;
}

// The object's node tree, its root named `nombre` and moved by `desplazamiento`; the root's
// index. Each piece hangs from its parent piece, turned and placed relative to it.
int ModeloGLTF::Objeto(const Ensamblaje& e, const std::string& nombre,
                       const glm::vec3& desplazamiento, const glm::quat& giro) {
    tinygltf::Node raiz;
    raiz.name = nombre;
    if (desplazamiento != glm::vec3(0))
        raiz.translation = {desplazamiento.x, desplazamiento.y, desplazamiento.z};
    if (giro != glm::quat(1, 0, 0, 0))
        raiz.rotation = {giro.x, giro.y, giro.z, giro.w};
    const int indiceRaiz = int(m_.nodes.size());
    m_.nodes.push_back(raiz);
    std::vector<glm::mat4> mundos;
    std::vector<int> nodos;
    for (const PiezaObjeto& p : e.Piezas) {
        if (p.Junta >= 0)
            break; // the joints come last, and bend: see Articular
        mundos.push_back(EnModelo(p.Mundo, escala_));
        const bool hija = p.Padre >= 0 && size_t(p.Padre) < nodos.size();
        const glm::mat4 local =
            hija ? glm::inverse(mundos[size_t(p.Padre)]) * mundos.back() : mundos.back();
        tinygltf::Node n;
        n.name = "mesh_" + std::to_string(p.Mesh);
        n.mesh = Mesh(p.Mesh);
        const glm::vec3 t(local[3]);
        if (t != glm::vec3(0))
            n.translation = {t.x, t.y, t.z};
        const glm::quat q = glm::normalize(glm::quat_cast(glm::mat3(local)));
        if (std::abs(q.w) < 1 - 1e-7f)
            n.rotation = {q.x, q.y, q.z, q.w};
        nodos.push_back(int(m_.nodes.size()));
        m_.nodes.push_back(n);
        m_.nodes[size_t(hija ? nodos[size_t(p.Padre)] : indiceRaiz)].children.push_back(
            nodos.back());
    }
    m_.scenes[0].nodes.push_back(indiceRaiz);
    Articular(e, nodos, mundos, indiceRaiz, nombre);
    return indiceRaiz;
}

// Lara's joints as one mesh skinned to the object's nodes, each vertex bound whole to the limb
// it follows: players then bend them with the limbs in every pose and animation, with nothing
// baked per frame. The bind pose is the object's as assembled; the joints' vertices and the
// inverse bind matrices are in the frame of the object's root, which the skin's joints all hang
// from, so the root's own place carries them with it. A skinned mesh's node takes no transform
// of its own, and stands at the scene's root.
void ModeloGLTF::Articular(const Ensamblaje& e, const std::vector<int>& nodos,
                           const std::vector<glm::mat4>& mundos, int raiz,
                           const std::string& nombre) {
    if (!e.Articulaciones || nodos.empty())
        return;
    std::map<int32_t, uint16_t> huesoDeNodo; // node of the tree -> joint of the skin
    for (size_t i = 0; i < nodos.size(); ++i)
        if (e.Piezas[i].Nodo >= 0)
            huesoDeNodo.emplace(e.Piezas[i].Nodo, uint16_t(i));
    std::map<ClaveMaterial, Grupo> grupos;
    for (const PiezaObjeto& p : e.Piezas) {
        const trMesh* m = p.Junta >= 0 ? nivel_.Mesh(p.Mesh) : nullptr;
        if (!m || size_t(p.Junta) >= e.Articulaciones->Juntas().size() ||
            p.Vertices.size() != m->Vertices.size())
            continue;
        const auto& junta = e.Articulaciones->Juntas()[size_t(p.Junta)];
        // A vertex whose limb is missing goes with the joint's own limb, or the root's.
        const uint16_t propio =
            p.Padre >= 0 && size_t(p.Padre) < nodos.size() ? uint16_t(p.Padre) : 0;
        auto cara = [&](const uint16_t* vertices, int esquinas, uint16_t textura, uint16_t extra) {
            // Where the bind pose puts the corners, to 1/1024 of a unit: two corners welded to
            // one limb vertex leave a face without area.
            Esquina q[4];
            for (int c = 0; c < esquinas; ++c) {
                const glm::vec3& d = p.Vertices[vertices[c]];
                q[c] = {std::llround(d.x * 1024.0), std::llround(d.y * 1024.0),
                        std::llround(d.z * 1024.0)};
            }
            int triangulos[6];
            const int n = TriangulosCara(q, esquinas, triangulos);
            if (n == 0)
                return;
            const trTexturaObjeto* t = nullptr;
            const int32_t pagina = PaginaDeCara(nivel_, textura, esquinas == 3, t);
            Grupo& g = grupos[Clave(pagina, false, textura, extra)];
            g.Agregar(triangulos, n, [&](int c) {
                const glm::vec3& d = p.Vertices[vertices[c]];
                const glm::vec3 x = PuntoEnModelo({d.x, -d.y, d.z}, escala_);
                g.posiciones.insert(g.posiciones.end(), {x.x, x.y, x.z});
                const auto h = huesoDeNodo.find(junta.Vertices[vertices[c]].Hueso);
                g.huesos.insert(g.huesos.end(),
                                {h != huesoDeNodo.end() ? h->second : propio, 0, 0, 0});
                g.pesos.insert(g.pesos.end(), {1.f, 0.f, 0.f, 0.f});
                if (t)
                    g.AgregarUV(*t, c);
            });
        };
        for (const trRectanguloTex& r : m->Rectangulos)
            if (VerticesValidos(r.Vertices, *m))
                cara(r.Vertices, 4, r.Textura, r.Extra);
        for (const trTrianguloTex& r : m->Triangulos)
            if (VerticesValidos(r.Vertices, *m))
                cara(r.Vertices, 3, r.Textura, r.Extra);
    }
    if (grupos.empty())
        return;
    tinygltf::Skin piel;
    piel.name = nombre + "_articulaciones";
    piel.skeleton = raiz;
    piel.joints = nodos;
    std::vector<float> inversas;
    for (const glm::mat4& w : mundos) {
        const glm::mat4 i = glm::inverse(w);
        inversas.insert(inversas.end(), &i[0][0], &i[0][0] + 16);
    }
    piel.inverseBindMatrices = AgregarAccesor(m_, inversas, TINYGLTF_TYPE_MAT4, 16, false, 0);
    m_.skins.push_back(piel);
    tinygltf::Node n;
    n.name = piel.name;
    n.mesh = Primitivas(grupos, piel.name);
    n.skin = int(m_.skins.size() - 1);
    m_.scenes[0].nodes.push_back(int(m_.nodes.size()));
    m_.nodes.push_back(n);
}

// A room as one node holding its faces where the world has them, lit by its vertex colours;
// a room without faces is left out.
void ModeloGLTF::Cuarto(const trGeometriaCuarto& g, size_t indice) {
    std::map<ClaveMaterial, Grupo> grupos;
    for (const trCaraCuarto& c : g.Caras) {
        Esquina e[4];
        for (int k = 0; k < c.Lados; ++k) {
            const trVerticeCuarto& v = g.Vertices[c.Vertices[k]];
            e[k] = {v.X, v.Y, v.Z};
        }
        int triangulos[6];
        const int n = TriangulosCara(e, c.Lados, triangulos);
        if (n == 0)
            continue;
        const trTexturaObjeto* t = nullptr;
        const int32_t pagina = PaginaDeCara(nivel_, c.Textura, c.Lados == 3, t);
        Grupo& gr = grupos[Clave(pagina, c.DobleCara, c.Textura, 0)];
        gr.Agregar(triangulos, n, [&](int k) {
            const trVerticeCuarto& v = g.Vertices[c.Vertices[k]];
            const glm::vec3 p = PuntoEnModelo({float(v.X), float(v.Y), float(v.Z)}, escala_);
            gr.posiciones.insert(gr.posiciones.end(), {p.x, p.y, p.z});
            gr.colores.insert(gr.colores.end(), {CanalLineal(v.Color, 10), CanalLineal(v.Color, 5),
                                                 CanalLineal(v.Color, 0)});
            if (t)
                gr.AgregarUV(*t, k);
        });
    }
    if (grupos.empty())
        return;
    tinygltf::Node n;
    n.name = "cuarto_" + std::to_string(indice);
    n.mesh = Primitivas(grupos, n.name);
    m_.scenes[0].nodes.push_back(int(m_.nodes.size()));
    m_.nodes.push_back(n);
}

// One mesh alone, where it stands.
void ModeloGLTF::MeshSola(int32_t indice) {
    tinygltf::Node n;
    n.name = "mesh_" + std::to_string(indice);
    n.mesh = Mesh(indice);
    m_.scenes[0].nodes.push_back(int(m_.nodes.size()));
    m_.nodes.push_back(n);
}

// The box that holds the object's vertices in the model's axes; false when it has none.
bool ModeloGLTF::Caja(const Ensamblaje& e, glm::vec3& minimo, glm::vec3& maximo) const {
    minimo = glm::vec3(std::numeric_limits<float>::infinity());
    maximo = -minimo;
    for (const PiezaObjeto& p : e.Piezas) {
        const trMesh* m = nivel_.Mesh(p.Mesh);
        if (!m)
            continue;
        for (const glm::vec3& d : p.Vertices) {
            const glm::vec3 q = PuntoEnModelo({d.x, -d.y, d.z}, escala_);
            minimo = glm::min(minimo, q);
            maximo = glm::max(maximo, q);
        }
        if (p.Junta >= 0)
            continue;
        const glm::mat4 mundo = EnModelo(p.Mundo, escala_);
        for (const trVector16& v : m->Vertices) {
            const glm::vec3 q(mundo * glm::vec4(PuntoEnModelo({v.X, v.Y, v.Z}, escala_), 1));
            minimo = glm::min(minimo, q);
            maximo = glm::max(maximo, q);
        }
    }
    return minimo.x <= maximo.x;
}

// A face's material key; the blend mode by the viewer's one rule.
ModeloGLTF::ClaveMaterial ModeloGLTF::Clave(int32_t pagina, bool doble, uint16_t textura,
                                            uint16_t extra) const {
    if (pagina == SIN_TEXTURA || !nivel_.Nivel)
        return {SIN_TEXTURA, doble, trMezcla::Opaca};
    return {pagina, doble, MezclaCara(*nivel_.Nivel, textura, extra)};
}

// Unlit, as the viewer draws; untextured: plain white, as the viewer draws a face it cannot
// texture. Mesh faces are all one-sided; rooms' may be double-sided.
int ModeloGLTF::Material(const ClaveMaterial& clave) {
    if (auto i = materiales_.find(clave); i != materiales_.end())
        return i->second;
    tinygltf::Material mat;
    mat.doubleSided = clave.Doble;
    mat.pbrMetallicRoughness.metallicFactor = 0;
    mat.pbrMetallicRoughness.roughnessFactor = 1;
    mat.extensions[UNLIT] = tinygltf::Value(tinygltf::Value::Object());
    if (m_.extensionsUsed.empty())
        m_.extensionsUsed.push_back(UNLIT);
    if (clave.Pagina == SIN_TEXTURA) {
        mat.name = "sin_textura";
    } else {
        const bool aditiva = clave.Mezcla == trMezcla::Aditiva;
        mat.name = NombrePagina(clave.Pagina);
        mat.pbrMetallicRoughness.baseColorTexture.index = Textura(clave.Pagina, aditiva);
        if (clave.Mezcla == trMezcla::Recorte) {
            mat.alphaMode = "MASK";
            mat.alphaCutoff = 0.5;
            mat.name += "_recorte";
        } else if (aditiva) {
            mat.alphaMode = "BLEND";
            mat.name += "_aditiva";
        }
    }
    if (mat.doubleSided)
        mat.name += "_doble";
    m_.materials.push_back(mat);
    return materiales_[clave] = int(m_.materials.size() - 1);
}

// The page's texture, made once however many materials use it; an additive page is an image
// of its own (see the header). Its PNG is made with the others once the model is complete.
int ModeloGLTF::Textura(int32_t pagina, bool aditiva) {
    if (auto i = texturas_.find({pagina, aditiva}); i != texturas_.end())
        return i->second;
    tinygltf::Image imagen;
    imagen.name = NombrePagina(pagina) + (aditiva ? "_aditiva" : "");
    imagen.mimeType = "image/png";
    m_.images.push_back(imagen);
    imagenes_.push_back({pagina, aditiva});
    if (m_.samplers.empty()) {
        // Texel by texel, as Direct3D samples by default; a model without pages has none,
        // which a validator would report as unused.
        tinygltf::Sampler s;
        s.magFilter = NEAREST;
        s.minFilter = NEAREST;
        s.wrapS = s.wrapT = REPEAT;
        m_.samplers.push_back(s);
    }
    tinygltf::Texture t;
    t.sampler = 0;
    t.source = int(m_.images.size() - 1);
    m_.textures.push_back(t);
    return texturas_[{pagina, aditiva}] = int(m_.textures.size() - 1);
}

// The level's mesh as a model mesh, made once however many nodes use it; -1 when none of its
// faces is drawn.
int ModeloGLTF::Mesh(int32_t indice) {
    if (auto i = meshes_.find(indice); i != meshes_.end())
        return i->second;
    const trMesh* m = nivel_.Mesh(indice);
    if (!m)
        return meshes_[indice] = -1;
    // Normals only where the mesh stores one per vertex, each of some length.
    bool normales = m->NumNormales > 0 && m->Normales.size() == m->Vertices.size();
    for (size_t i = 0; normales && i < m->Normales.size(); ++i) {
        const trVector16& n = m->Normales[i];
        normales = n.X || n.Y || n.Z;
    }
    std::map<ClaveMaterial, Grupo> grupos;
    auto cara = [&](const uint16_t* vertices, int esquinas, uint16_t textura, uint16_t extra) {
        Esquina e[4];
        for (int c = 0; c < esquinas; ++c) {
            const trVector16& v = m->Vertices[vertices[c]];
            e[c] = {v.X, v.Y, v.Z};
        }
        int triangulos[6];
        const int n = TriangulosCara(e, esquinas, triangulos);
        if (n == 0)
            return;
        const trTexturaObjeto* t = nullptr;
        const int32_t pagina = PaginaDeCara(nivel_, textura, esquinas == 3, t);
        Grupo& g = grupos[Clave(pagina, false, textura, extra)];
        g.Agregar(triangulos, n, [&](int c) {
            const trVector16& v = m->Vertices[vertices[c]];
            const glm::vec3 p = PuntoEnModelo({v.X, v.Y, v.Z}, escala_);
            g.posiciones.insert(g.posiciones.end(), {p.x, p.y, p.z});
            if (normales) {
                const trVector16& n = m->Normales[vertices[c]];
                const glm::vec3 q = glm::normalize(PuntoEnModelo({n.X, n.Y, n.Z}, 1));
                g.normales.insert(g.normales.end(), {q.x, q.y, q.z});
            }
            if (t)
                g.AgregarUV(*t, c);
        });
    };
    for (const trRectanguloTex& r : m->Rectangulos)
        if (VerticesValidos(r.Vertices, *m))
            cara(r.Vertices, 4, r.Textura, r.Extra);
    for (const trTrianguloTex& r : m->Triangulos)
        if (VerticesValidos(r.Vertices, *m))
            cara(r.Vertices, 3, r.Textura, r.Extra);
    return meshes_[indice] = Primitivas(grupos, "mesh_" + std::to_string(indice));
}

// A model mesh of one primitive per material; -1 for none.
int ModeloGLTF::Primitivas(const std::map<ClaveMaterial, Grupo>& grupos,
                           const std::string& nombre) {
    if (grupos.empty())
        return -1;
    tinygltf::Mesh mesh;
    mesh.name = nombre;
    for (const auto& [clave, g] : grupos) {
        tinygltf::Primitive p;
        p.mode = TINYGLTF_MODE_TRIANGLES;
        p.material = Material(clave);
        p.attributes["POSITION"] = AgregarAccesor(m_, g.posiciones, TINYGLTF_TYPE_VEC3, 3, true,
                                                  TINYGLTF_TARGET_ARRAY_BUFFER);
        if (!g.normales.empty())
            p.attributes["NORMAL"] = AgregarAccesor(m_, g.normales, TINYGLTF_TYPE_VEC3, 3, false,
                                                    TINYGLTF_TARGET_ARRAY_BUFFER);
        if (!g.colores.empty())
            p.attributes["COLOR_0"] = AgregarAccesor(m_, g.colores, TINYGLTF_TYPE_VEC3, 3, false,
                                                     TINYGLTF_TARGET_ARRAY_BUFFER);
        if (!g.uv.empty())
            p.attributes["TEXCOORD_0"] = AgregarAccesor(m_, g.uv, TINYGLTF_TYPE_VEC2, 2, false,
                                                        TINYGLTF_TARGET_ARRAY_BUFFER);
        if (!g.huesos.empty()) {
            tinygltf::Accessor a;
            a.bufferView = AgregarVista(m_, g.huesos.data(), g.huesos.size() * sizeof(uint16_t),
                                        TINYGLTF_TARGET_ARRAY_BUFFER);
            a.componentType = TINYGLTF_COMPONENT_TYPE_UNSIGNED_SHORT;
            a.type = TINYGLTF_TYPE_VEC4;
            a.count = g.huesos.size() / 4;
            m_.accessors.push_back(a);
            p.attributes["JOINTS_0"] = int(m_.accessors.size() - 1);
            p.attributes["WEIGHTS_0"] = AgregarAccesor(m_, g.pesos, TINYGLTF_TYPE_VEC4, 4, false,
                                                       TINYGLTF_TARGET_ARRAY_BUFFER);
        }
        p.indices = AgregarIndices(m_, g.indices, g.posiciones.size() / 3);
        mesh.primitives.push_back(std::move(p));
    }
    m_.meshes.push_back(std::move(mesh));
    return int(m_.meshes.size() - 1);
}
