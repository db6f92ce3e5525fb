#include "LotesPagina.h"

#include "ConvencionesNivel.h"
#include "ModeloGLTF.h"
#include "PaginasNivel.h"

#include <glm/glm.hpp>
#include <glm/gtc/matrix_transform.hpp>
#include <glm/gtc/quaternion.hpp>
#include <glm/gtc/type_ptr.hpp>
#include <nlohmann/json.hpp>

#include <algorithm>
#include <array>
#include <cstring>
#include <limits>
#include <set>

namespace {

struct Lote {
    std::vector<float> posiciones, colores, uv;
    std::vector<uint32_t> indices;
};

struct Nodo {
    std::string nombre;
    glm::vec3 minimo{std::numeric_limits<float>::infinity()}, maximo{-minimo};
    std::vector<std::array<uint32_t, 3>> tramos; // batch, first index, index count
};

glm::mat4 Local(const tinygltf::Node& n) {
    if (n.matrix.size() == 16) {
        glm::mat4 m;
        for (int i = 0; i < 16; ++i)
            glm::value_ptr(m)[i] = float(n.matrix[size_t(i)]);
        return m;
    }
    glm::mat4 m(1.f);
    if (n.translation.size() == 3)
        m[3] = glm::vec4(float(n.translation[0]), float(n.translation[1]), float(n.translation[2]), 1);
    if (n.rotation.size() == 4)
        m = m * glm::mat4_cast(glm::quat(float(n.rotation[3]), float(n.rotation[0]),
                                         float(n.rotation[1]), float(n.rotation[2])));
    if (n.scale.size() == 3)
        m = glm::scale(m, glm::vec3(float(n.scale[0]), float(n.scale[1]), float(n.scale[2])));
    return m;
}

// The accessor's elements, `componentes` each, as floats; empty for one the model lacks.
std::vector<float> Flotantes(const tinygltf::Model& m, int accesor, int componentes) {
    if (accesor < 0 || size_t(accesor) >= m.accessors.size())
        return {};
    const tinygltf::Accessor& a = m.accessors[size_t(accesor)];
    if (a.componentType != TINYGLTF_COMPONENT_TYPE_FLOAT || a.bufferView < 0 ||
        size_t(a.bufferView) >= m.bufferViews.size())
        return {};
    const tinygltf::BufferView& v = m.bufferViews[size_t(a.bufferView)];
    const std::vector<unsigned char>& datos = m.buffers[size_t(v.buffer)].data;
    const size_t inicio = v.byteOffset + a.byteOffset, bytes = a.count * componentes * sizeof(float);
    if (inicio + bytes > datos.size())
        return {};
    std::vector<float> r(a.count * size_t(componentes));
    std::memcpy(r.data(), datos.data() + inicio, bytes);
    return r;
}

std::vector<uint32_t> Indices(const tinygltf::Model& m, int accesor) {
    if (accesor < 0 || size_t(accesor) >= m.accessors.size())
        return {};
    const tinygltf::Accessor& a = m.accessors[size_t(accesor)];
    if (a.bufferView < 0 || size_t(a.bufferView) >= m.bufferViews.size())
        return {};
    const tinygltf::BufferView& v = m.bufferViews[size_t(a.bufferView)];
    const std::vector<unsigned char>& datos = m.buffers[size_t(v.buffer)].data;
    const size_t inicio = v.byteOffset + a.byteOffset;
    const size_t ancho = a.componentType == TINYGLTF_COMPONENT_TYPE_UNSIGNED_SHORT ? 2 : 4;
    if (inicio + a.count * ancho > datos.size())
        return {};
    std::vector<uint32_t> r(a.count);
    for (size_t i = 0; i < a.count; ++i) {
        const unsigned char* p = datos.data() + inicio + i * ancho;
        r[i] = ancho == 2 ? uint32_t(p[0] | p[1] << 8) : uint32_t(p[0] | p[1] << 8 | p[2] << 16 | uint32_t(p[3]) << 24);
    }
    return r;
}

class Reunir {
  public:
    explicit Reunir(const tinygltf::Model& m) : m_(m), lotes_(m.materials.size()) {}

    // The node and what hangs from it, placed by `padre` (its parent's placement).
    void Agregar(int indice, const glm::mat4& padre, Nodo& nodo, int profundidad = 0) {
        if (indice < 0 || size_t(indice) >= m_.nodes.size() || profundidad > 64)
            return;
        const tinygltf::Node& n = m_.nodes[size_t(indice)];
        const glm::mat4 mundo = padre * Local(n);
        if (n.mesh >= 0 && size_t(n.mesh) < m_.meshes.size())
            for (const tinygltf::Primitive& p : m_.meshes[size_t(n.mesh)].primitives)
                Primitiva(p, mundo, nodo);
        for (int h : n.children)
            Agregar(h, mundo, nodo, profundidad + 1);
    }

    std::vector<Lote>& Lotes() { return lotes_; }

  private:
    static int Atributo(const tinygltf::Primitive& p, const char* nombre) {
        const auto i = p.attributes.find(nombre);
        return i == p.attributes.end() ? -1 : i->second;
    }

    void Primitiva(const tinygltf::Primitive& p, const glm::mat4& mundo, Nodo& nodo) {
        if (p.material < 0 || size_t(p.material) >= lotes_.size())
            return;
        const std::vector<float> pos = Flotantes(m_, Atributo(p, "POSITION"), 3);
        const std::vector<float> col = Flotantes(m_, Atributo(p, "COLOR_0"), 3);
        const std::vector<float> uv = Flotantes(m_, Atributo(p, "TEXCOORD_0"), 2);
        const std::vector<uint32_t> ind = Indices(m_, p.indices);
        const size_t n = pos.size() / 3;
        if (n == 0 || ind.empty() ||
            std::any_of(ind.begin(), ind.end(), [n](uint32_t i) { return i >= n; }))
            return;
        Lote& l = lotes_[size_t(p.material)];
        const uint32_t base = uint32_t(l.posiciones.size() / 3);
        for (size_t i = 0; i < n; ++i) {
            const glm::vec3 q(mundo * glm::vec4(pos[3 * i], pos[3 * i + 1], pos[3 * i + 2], 1));
            l.posiciones.insert(l.posiciones.end(), {q.x, q.y, q.z});
            nodo.minimo = glm::min(nodo.minimo, q);
            nodo.maximo = glm::max(nodo.maximo, q);
            // A mesh's faces carry no colour: white, as a reader of the .glb takes them.
            if (col.size() == pos.size())
                l.colores.insert(l.colores.end(), {col[3 * i], col[3 * i + 1], col[3 * i + 2]});
            else
                l.colores.insert(l.colores.end(), {1.f, 1.f, 1.f});
            if (uv.size() == n * 2)
                l.uv.insert(l.uv.end(), {uv[2 * i], uv[2 * i + 1]});
            else
                l.uv.insert(l.uv.end(), {0.f, 0.f});
        }
        const uint32_t primero = uint32_t(l.indices.size());
        for (uint32_t i : ind)
            l.indices.push_back(base + i);
        // A node's triangles in one batch follow one another (nothing else is added while its
        // tree is walked): one range per batch.
        const uint32_t lote = uint32_t(p.material);
        const auto tramo = std::find_if(nodo.tramos.begin(), nodo.tramos.end(), [&](const auto& t) {
            return t[0] == lote && t[1] + t[2] == primero;
        });
        if (tramo != nodo.tramos.end())
            (*tramo)[2] += uint32_t(ind.size());
        else
            nodo.tramos.push_back({lote, primero, uint32_t(ind.size())});
    }

    const tinygltf::Model& m_;
    std::vector<Lote> lotes_;
};

// The blend mode the material stands for: 0 opaque, 1 alpha-tested, 2 additive.
int Mezcla(const tinygltf::Material& m) {
    return m.alphaMode == "MASK" ? 1 : m.alphaMode == "BLEND" ? 2 : 0;
}

} // namespace

std::vector<uint8_t> LotesPagina(ModeloGLTF& modelo, const PaginasNivel* texturas) {
    const tinygltf::Model& m = modelo.Gltf();
    Reunir reunir(m);
    std::vector<Nodo> nodos;
    for (const tinygltf::Scene& escena : m.scenes)
        for (int raiz : escena.nodes) {
            Nodo nodo;
            if (raiz >= 0 && size_t(raiz) < m.nodes.size())
                nodo.nombre = m.nodes[size_t(raiz)].name;
            reunir.Agregar(raiz, glm::mat4(1.f), nodo);
            if (!nodo.tramos.empty())
                nodos.push_back(std::move(nodo));
        }

    // The description, and the data it names, laid one array after another.
    nlohmann::ordered_json j;
    std::vector<std::pair<const void*, size_t>> partes;
    size_t desplazamiento = 0;
    auto agregar = [&](const void* datos, size_t bytes) {
        const size_t aqui = desplazamiento;
        partes.push_back({datos, bytes});
        desplazamiento += (bytes + 3) & ~size_t(3);
        return aqui;
    };
    // Materials by the page each shows: the page itself for an additive material too (drawn
    // added, not through the .glb's stand-in).
    std::set<int32_t> paginas;
    j["materiales"] = nlohmann::json::array();
    for (const tinygltf::Material& mat : m.materials) {
        int32_t pagina = -1;
        const int t = mat.pbrMetallicRoughness.baseColorTexture.index;
        if (t >= 0 && size_t(t) < m.textures.size()) {
            const int imagen = m.textures[size_t(t)].source;
            if (imagen >= 0 && size_t(imagen) < modelo.Imagenes().size())
                pagina = modelo.Imagenes()[size_t(imagen)].Pagina;
        }
        if (pagina >= 0 && !(texturas && texturas->GetTexels(pagina)))
            pagina = -1;
        if (pagina >= 0)
            paginas.insert(pagina);
        j["materiales"].push_back(
            {{"pagina", pagina}, {"doble", mat.doubleSided}, {"mezcla", Mezcla(mat)}});
    }
    j["lotes"] = nlohmann::json::array();
    std::vector<Lote>& lotes = reunir.Lotes();
    std::vector<uint32_t> lotePorMaterial(lotes.size(), UINT32_MAX);
    for (size_t k = 0; k < lotes.size(); ++k) {
        const Lote& l = lotes[k];
        if (l.indices.empty())
            continue;
        lotePorMaterial[k] = uint32_t(j["lotes"].size());
        nlohmann::ordered_json lote;
        lote["material"] = k;
        lote["vertices"] = l.posiciones.size() / 3;
        lote["indices"] = l.indices.size();
        lote["posiciones"] = agregar(l.posiciones.data(), l.posiciones.size() * sizeof(float));
        lote["colores"] = agregar(l.colores.data(), l.colores.size() * sizeof(float));
        lote["uv"] = agregar(l.uv.data(), l.uv.size() * sizeof(float));
        lote["triangulos"] = agregar(l.indices.data(), l.indices.size() * sizeof(uint32_t));
        j["lotes"].push_back(std::move(lote));
    }
    // The pages the materials show, by number: their texels the worker takes from the level as
    // they are (tr4_texels), with no copy made here.
    j["paginas"] = nlohmann::json::array();
    for (int32_t pagina : paginas)
        j["paginas"].push_back(pagina);
    j["lado"] = LADO_PAGINA;
    j["nodos"] = nlohmann::json::array();
    for (const Nodo& n : nodos) {
        nlohmann::json tramos = nlohmann::json::array();
        for (const auto& [lote, inicio, cuantos] : n.tramos)
            tramos.push_back({lotePorMaterial[lote], inicio, cuantos});
        j["nodos"].push_back({{"nombre", n.nombre},
                              {"minimo", {n.minimo.x, n.minimo.y, n.minimo.z}},
                              {"maximo", {n.maximo.x, n.maximo.y, n.maximo.z}},
                              {"tramos", std::move(tramos)}});
    }
    if (desplazamiento > std::numeric_limits<uint32_t>::max())
        return {};

    const std::string texto = j.dump();
    const size_t inicioDatos = (4 + texto.size() + 3) & ~size_t(3);
    std::vector<uint8_t> r(inicioDatos + desplazamiento);
    const uint32_t largo = uint32_t(texto.size());
    for (int b = 0; b < 4; ++b)
        r[size_t(b)] = uint8_t(largo >> (8 * b));
    std::memcpy(r.data() + 4, texto.data(), texto.size());
    size_t p = inicioDatos;
    for (const auto& [datos, bytes] : partes) {
        std::memcpy(r.data() + p, datos, bytes);
        p += (bytes + 3) & ~size_t(3);
    }
    return r;
}
