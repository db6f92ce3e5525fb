#include "ArticulacionesLara.h"

#include "ConvencionesNivel.h"
#include "Lista_Mesh.h"

#include <glm/gtc/type_ptr.hpp>

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

// Vertex pairs compared in all: a real body and its joints need about a hundred thousand. A
// damaged level whose meshes hold tens of thousands of vertices each gets no joints rather than
// a pairing that takes minutes.
constexpr int64_t MAXIMO_COMPARACIONES = int64_t{1} << 24;

const trMesh* MeshDe(const Lista_Mesh& lista, int32_t indice) {
    trMesh* m = nullptr;
    return lista.ObtenerMesh(indice, m) ? m : nullptr;
}

// Each node's origin in the rest pose (every turn zero), level axes: its offsets summed up the
// tree. A node whose parent is not before it is a root, as ColgarMeshes takes it.
std::vector<glm::vec3> OrigenesEnReposo(const trMovible& m) {
    std::vector<glm::vec3> o(m.Nodos.size(), glm::vec3(0));
    for (size_t k = 1; k < o.size(); ++k) {
        const trMovible::Nodo& n = m.Nodos[k];
        if (n.Padre >= 0 && size_t(n.Padre) < k)
            o[k] = o[size_t(n.Padre)] + glm::vec3(float(n.X), float(n.Y), float(n.Z));
    }
    return o;
}

bool MismoArbol(const trMovible& a, const trMovible& b) {
    if (a.Nodos.size() != b.Nodos.size() || a.Meshes.size() != b.Meshes.size())
        return false;
    for (size_t k = 0; k < a.Nodos.size(); ++k) {
        const trMovible::Nodo &x = a.Nodos[k], &y = b.Nodos[k];
        if (x.Padre != y.Padre || x.X != y.X || x.Y != y.Y || x.Z != y.Z)
            return false;
    }
    return true;
}

glm::vec3 Nivel(const trVector16& v) {
    return {float(v.X), float(v.Y), float(v.Z)};
}

// The vertex of `m`, placed at `origen`, nearest to `p`: its index and squared distance.
std::pair<int32_t, float> MasCercano(const trMesh* m, const glm::vec3& origen, const glm::vec3& p) {
    std::pair<int32_t, float> r{-1, std::numeric_limits<float>::infinity()};
    if (!m)
        return r;
    for (size_t i = 0; i < m->Vertices.size(); ++i) {
        const glm::vec3 d = origen + Nivel(m->Vertices[i]) - p;
        const float d2 = glm::dot(d, d);
        if (d2 < r.second)
            r = {int32_t(i), d2};
    }
    return r;
}

} // namespace

std::shared_ptr<const ArticulacionesLara> ArticulacionesLara::Hallar(const trObjetos& objetos,
                                                                     const Lista_Mesh& lista) {
    const trMovible *cuerpo = nullptr, *juntas = nullptr;
    for (const trMovible& m : objetos.Movibles) {
        if (m.Id == ID_CUERPO_LARA && !cuerpo)
            cuerpo = &m;
        if (m.Id == ID_JUNTAS_LARA && !juntas)
            juntas = &m;
    }
    if (!cuerpo || !juntas)
        return nullptr;
    return Emparejar(*cuerpo, *juntas, lista);
}

std::shared_ptr<const ArticulacionesLara> ArticulacionesLara::Emparejar(const trMovible& cuerpo,
                                                                        const trMovible& juntas,
                                                                        const Lista_Mesh& lista) {
    if (!MismoArbol(cuerpo, juntas) || cuerpo.Meshes.empty())
        return nullptr;
    const size_t n = cuerpo.Meshes.size();
    int64_t trabajo = 0;
    for (size_t k = 0; k < n; ++k) {
        const trMesh* junta = MeshDe(lista, juntas.Meshes[k]);
        if (!junta)
            continue;
        const int32_t p = cuerpo.Nodos[k].Padre;
        int64_t limbos = 0;
        if (const trMesh* propio = MeshDe(lista, cuerpo.Meshes[k]))
            limbos += int64_t(propio->Vertices.size());
        if (p >= 0 && size_t(p) < k)
            if (const trMesh* padre = MeshDe(lista, cuerpo.Meshes[size_t(p)]))
                limbos += int64_t(padre->Vertices.size());
        trabajo += int64_t(junta->Vertices.size()) * limbos;
    }
    if (trabajo > MAXIMO_COMPARACIONES)
        return nullptr;

    auto r = std::make_shared<ArticulacionesLara>();
    r->cuerpo_ = cuerpo.Meshes;
    const std::vector<glm::vec3> origen = OrigenesEnReposo(cuerpo);
    for (size_t k = 0; k < n; ++k) {
        const trMesh* junta = MeshDe(lista, juntas.Meshes[k]);
        // A joint that is its limb's own mesh would only draw it twice.
        if (!junta || juntas.Meshes[k] == cuerpo.Meshes[k])
            continue;
        const trMesh* propio = MeshDe(lista, cuerpo.Meshes[k]);
        const int32_t p = cuerpo.Nodos[k].Padre;
        const bool hija = p >= 0 && size_t(p) < k;
        const trMesh* padre = hija ? MeshDe(lista, cuerpo.Meshes[size_t(p)]) : nullptr;
        Junta j;
        j.Nodo = int32_t(k);
        j.Mesh = juntas.Meshes[k];
        Cuentas c;
        int32_t soldados = 0;
        for (const trVector16& v : junta->Vertices) {
            const glm::vec3 aqui = origen[k] + Nivel(v);
            const auto [iPropio, dPropio] = MasCercano(propio, origen[k], aqui);
            const auto [iPadre, dPadre] =
                hija ? MasCercano(padre, origen[size_t(p)], aqui)
                     : std::pair<int32_t, float>{-1, std::numeric_limits<float>::infinity()};
            const bool alPadre = iPadre >= 0 && dPadre < dPropio;
            const int32_t hueso = alPadre ? p : int32_t(k);
            const float d = std::sqrt(alPadre ? dPadre : dPropio);
            Vertice x{hueso, EnDispositivo(v)};
            if (alPadre || iPropio >= 0) {
                const trMesh* limbo = alPadre ? padre : propio;
                const trVector16& u = limbo->Vertices[size_t(alPadre ? iPadre : iPropio)];
                if (d <= SOLDADURA) {
                    x.Local = EnDispositivo(u);
                    ++soldados;
                    ++(d == 0 ? c.Exactos : c.Soldados);
                } else {
                    // Beside the limb, not on it: where it lies from that limb's origin.
                    x.Local = EnDispositivo(aqui - origen[size_t(hueso)]);
                    ++c.Libres;
                    c.MayorLibre = std::max(c.MayorLibre, d);
                }
            } else {
                ++c.Libres; // no limb to follow but its own bone
            }
            c.Padre += alPadre;
            j.Vertices.push_back(x);
        }
        if (soldados == 0) {
            ++r->cuentas_.JuntasOmitidas;
            continue;
        }
        Cuentas& t = r->cuentas_;
        t.Exactos += c.Exactos;
        t.Soldados += c.Soldados;
        t.Libres += c.Libres;
        t.Padre += c.Padre;
        t.MayorLibre = std::max(t.MayorLibre, c.MayorLibre);
        r->juntas_.push_back(std::move(j));
    }
    if (r->juntas_.empty())
        return nullptr;
    return r;
}

bool ArticulacionesLara::Viste(const trMovible& m) const {
    return m.Meshes == cuerpo_;
}

void ArticulacionesLara::Posar(size_t junta, const std::vector<glm::mat4>& mundos,
                               std::vector<glm::vec3>& posiciones) const {
    posiciones.clear();
    if (junta >= juntas_.size())
        return;
    const Junta& j = juntas_[junta];
    posiciones.resize(j.Vertices.size(), glm::vec3(0));
    for (size_t i = 0; i < j.Vertices.size(); ++i) {
        const Vertice& v = j.Vertices[i];
        if (v.Hueso < 0 || size_t(v.Hueso) >= mundos.size())
            continue;
        posiciones[i] = glm::vec3(mundos[size_t(v.Hueso)] * glm::vec4(v.Local, 1));
    }
}
