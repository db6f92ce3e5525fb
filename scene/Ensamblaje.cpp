#include "Ensamblaje.h"

#include "ArbolMovible.h"
#include "ArticulacionesLara.h"
#include "ConvencionesNivel.h"
#include "Lista_Mesh.h"

#include <glm/glm.hpp>
#include <glm/gtc/matrix_transform.hpp>
#include <glm/gtc/type_ptr.hpp>

#include <algorithm>
#include <cstring>
#include <limits>

namespace {

// Scratch room reused from call to call: a pose a frame for every item must not allocate.
template <class T> std::vector<T>& Local(size_t n) {
    thread_local std::vector<T> v;
    v.resize(n);
    return v;
}

// What one object may hold: far beyond any real one (Lara's body is 15 meshes, under 2000 faces),
// so that a damaged level whose moveable names one big mesh 65535 times cannot make a pick, or
// every frame after it, take minutes. Meshes past either ceiling are left out.
constexpr int64_t MAXIMO_VERTICES_OBJETO = int64_t{1} << 20;
constexpr int64_t MAXIMO_CARAS_OBJETO = int64_t{1} << 18;

// The meshes that fit within the ceilings, counted into the object's faces.
void Recortar(Ensamblaje& e, const Lista_Mesh& lista) {
    int64_t vertices = 0, caras = 0;
    size_t quedan = 0;
    // Where each piece went; a piece left out hands its children to its own parent.
    std::vector<int32_t> nueva(e.Piezas.size(), -1);
    for (size_t i = 0; i < e.Piezas.size(); ++i) {
        PiezaObjeto p = e.Piezas[i];
        p.Padre = p.Padre >= 0 && size_t(p.Padre) < i ? nueva[size_t(p.Padre)] : -1;
        nueva[i] = p.Padre;
        trMesh* m = nullptr;
        if (!lista.ObtenerMesh(p.Mesh, m))
            continue;
        const int64_t c = int64_t(m->Rectangulos.size() + m->Triangulos.size());
        if (vertices + int64_t(m->Vertices.size()) > MAXIMO_VERTICES_OBJETO ||
            caras + c > MAXIMO_CARAS_OBJETO)
            break;
        vertices += int64_t(m->Vertices.size());
        caras += c;
        nueva[i] = int32_t(quedan);
        e.Piezas[quedan++] = p;
    }
    e.Piezas.resize(quedan);
    e.Caras = int32_t(caras);
}

// Calls ver(point) for every vertex of the object where its world matrix puts it.
template <class Ver> void CadaVertice(const Ensamblaje& e, const Lista_Mesh& lista, Ver ver) {
    for (const PiezaObjeto& p : e.Piezas) {
        trMesh* m = nullptr;
        if (!lista.ObtenerMesh(p.Mesh, m))
            continue;
        if (p.Junta >= 0) {
            for (const glm::vec3& v : p.Vertices)
                ver(v);
            continue;
        }
        const glm::mat4 mundo = p.Mundo;
        for (const trVector16& v : m->Vertices)
            ver(glm::vec3(mundo * glm::vec4(EnDispositivo(v), 1)));
    }
}

// The joints' pieces after the body's, posed by `mundos`; each hangs from its limb's piece.
void Articular(Ensamblaje& e, const trMovible& movible,
               const std::shared_ptr<const ArticulacionesLara>& juntas,
               const std::vector<glm::mat4>& mundos) {
    if (!juntas || !juntas->Viste(movible))
        return;
    e.Articulaciones = juntas;
    std::vector<int32_t> pieza(movible.Meshes.size(), -1);
    for (size_t i = 0; i < e.Piezas.size(); ++i)
        if (e.Piezas[i].Nodo >= 0 && size_t(e.Piezas[i].Nodo) < pieza.size())
            pieza[size_t(e.Piezas[i].Nodo)] = int32_t(i);
    for (size_t j = 0; j < juntas->Juntas().size(); ++j) {
        const ArticulacionesLara::Junta& junta = juntas->Juntas()[j];
        PiezaObjeto p{junta.Mesh, glm::mat4(1.f)};
        p.Padre = size_t(junta.Nodo) < pieza.size() ? pieza[size_t(junta.Nodo)] : -1;
        p.Junta = int32_t(j);
        juntas->Posar(j, mundos, p.Vertices);
        e.Piezas.push_back(std::move(p));
    }
}

// The sphere round every vertex: centred in their bounding box, as far out as the farthest.
void HallarEsfera(Ensamblaje& e, const Lista_Mesh& lista) {
    Recortar(e, lista);
    constexpr float INF = std::numeric_limits<float>::infinity();
    glm::vec3 minimo(INF), maximo(-INF);
    CadaVertice(e, lista, [&](const glm::vec3& q) {
        minimo = glm::min(minimo, q);
        maximo = glm::max(maximo, q);
    });
    if (minimo.x > maximo.x)
        return; // no vertex at all
    const glm::vec3 c = (minimo + maximo) / 2.f;
    float r2 = 0;
    CadaVertice(e, lista, [&](const glm::vec3& q) { r2 = std::max(r2, glm::dot(q - c, q - c)); });
    e.Centro = {c.x, c.y, c.z};
    e.Radio = std::sqrt(r2);
}

Ensamblaje Sola(int32_t mesh, const Lista_Mesh& lista) {
    Ensamblaje e;
    if (mesh >= 0 && mesh < lista.Cantidad())
        e.Piezas.push_back({mesh, glm::mat4(1.f)});
    HallarEsfera(e, lista);
    return e;
}

} // namespace

trMovible VestirMovible(const trObjetos& objetos, size_t indice) {
    const trMovible& m = objetos.Movibles.at(indice);
    if (m.Id != ID_LARA || objetos.CuerpoLara == ID_LARA)
        return m;
    for (const trMovible& cuerpo : objetos.Movibles)
        if (cuerpo.Id == objetos.CuerpoLara)
            return ConMeshesDe(m, cuerpo);
    return m;
}

static Ensamblaje ArmarConMundos(const trMovible& movible, const Lista_Mesh& lista,
                                 const std::vector<glm::mat4>& mundos,
                                 const std::shared_ptr<const ArticulacionesLara>& juntas);

void ColgarMeshes(const trMovible& movible, const std::vector<glm::quat>& giros,
                  const glm::vec3& raiz, std::vector<glm::mat4>& mundos) {
    const size_t n = movible.Meshes.size();
    // Each mesh's turn and position in the level's axes, parents before children.
    std::vector<glm::mat3>& giro = Local<glm::mat3>(n);
    std::vector<glm::vec3>& posicion = Local<glm::vec3>(n);
    mundos.resize(n);
    for (size_t k = 0; k < n; ++k) {
        const trMovible::Nodo nodo =
            k < movible.Nodos.size() ? movible.Nodos[k] : trMovible::Nodo{};
        const glm::mat3 propio = k < giros.size() ? glm::mat3_cast(giros[k]) : glm::mat3(1.f);
        if (k == 0 || nodo.Padre < 0 || size_t(nodo.Padre) >= k) {
            giro[k] = propio;
            posicion[k] = raiz;
        } else {
            const size_t p = size_t(nodo.Padre);
            giro[k] = giro[p] * propio;
            posicion[k] =
                giro[p] * glm::vec3(float(nodo.X), float(nodo.Y), float(nodo.Z)) + posicion[p];
        }
        mundos[k] = EnDispositivo(giro[k], posicion[k]);
    }
}

Ensamblaje ArmarMovible(const trMovible& movible, const Lista_Mesh& lista,
                        std::shared_ptr<const ArticulacionesLara> juntas) {
    std::vector<glm::quat> giros;
    for (const trGiro& g : movible.Giros)
        giros.push_back(CuaternionGiro(g));
    std::vector<glm::mat4> mundos;
    ColgarMeshes(movible, giros, glm::vec3(movible.RaizX, movible.RaizY, movible.RaizZ), mundos);
    return ArmarConMundos(movible, lista, mundos, juntas);
}

static Ensamblaje ArmarConMundos(const trMovible& movible, const Lista_Mesh& lista,
                                 const std::vector<glm::mat4>& mundos,
                                 const std::shared_ptr<const ArticulacionesLara>& juntas) {
    const size_t n = std::min(movible.Meshes.size(), mundos.size());
    Ensamblaje e;
    // The piece each mesh became, or the nearest ancestor's when it names no record.
    std::vector<int32_t> pieza(n, -1);
    for (size_t k = 0; k < n; ++k) {
        const trMovible::Nodo nodo =
            k < movible.Nodos.size() ? movible.Nodos[k] : trMovible::Nodo{};
        const bool raiz = k == 0 || nodo.Padre < 0 || size_t(nodo.Padre) >= k;
        const int32_t padre = raiz ? -1 : pieza[size_t(nodo.Padre)];
        pieza[k] = padre;
        if (movible.Meshes[k] >= 0 && movible.Meshes[k] < lista.Cantidad()) {
            pieza[k] = int32_t(e.Piezas.size());
            e.Piezas.push_back({movible.Meshes[k], mundos[k], padre, int32_t(k)});
        }
    }
    if (juntas)
        Articular(e, movible, juntas, mundos);
    HallarEsfera(e, lista);
    return e;
}

Ensamblaje ArmarMovible(const trMovible& movible, const Lista_Mesh& lista,
                        const std::vector<glm::mat4>& mundos,
                        std::shared_ptr<const ArticulacionesLara> juntas) {
    return ArmarConMundos(movible, lista, mundos, juntas);
}

void AplicarPose(Ensamblaje& objeto, const std::vector<glm::mat4>& mundos) {
    for (PiezaObjeto& p : objeto.Piezas) {
        if (p.Nodo >= 0 && size_t(p.Nodo) < mundos.size())
            p.Mundo = mundos[size_t(p.Nodo)];
        if (p.Junta >= 0 && objeto.Articulaciones)
            objeto.Articulaciones->Posar(size_t(p.Junta), mundos, p.Vertices);
    }
}

Ensamblaje ArmarEstatico(const trEstatico& estatico, const Lista_Mesh& lista) {
    return Sola(estatico.Mesh, lista);
}

Ensamblaje ArmarMesh(int32_t mesh, const Lista_Mesh& lista) {
    return Sola(mesh, lista);
}

glm::vec3 Transformar(const glm::mat4& mundo, float x, float y, float z) {
    const glm::vec4 q = mundo * glm::vec4(x, y, z, 1);
    return {q.x, q.y, q.z};
}

glm::mat4 MundoGirado(const PiezaObjeto& pieza, const Ensamblaje& objeto, float angulo) {
    const glm::vec3 c(objeto.Centro.x, objeto.Centro.y, objeto.Centro.z);
    const glm::mat4 uno(1.f);
    // The same turn the mesh view gives about the vertical, about the sphere's centre.
    const glm::mat4 giro =
        glm::translate(uno, c) * glm::rotate(uno, angulo, {0, 1, 0}) * glm::translate(uno, -c);
    return giro * pieza.Mundo;
}

GeometriaElegible GeometriaDeEnsamblaje(const Ensamblaje& objeto, const Lista_Mesh& lista,
                                        float angulo) {
    GeometriaElegible g;
    for (size_t k = 0; k < objeto.Piezas.size(); ++k) {
        const PiezaObjeto& p = objeto.Piezas[k];
        trMesh* m = nullptr;
        if (!lista.ObtenerMesh(p.Mesh, m))
            continue;
        g.Empezar({DuenioCara::Tipo::Mesh, int32_t(k), -1, 0});
        const glm::mat4 mundo = MundoGirado(p, objeto, angulo);
        auto esquina = [&](uint16_t v) {
            if (p.Junta >= 0) {
                const glm::vec3 q = v < p.Vertices.size() ? p.Vertices[v] : glm::vec3(0);
                return glm::vec3(mundo * glm::vec4(q, 1));
            }
            const trVector16& q = m->Vertices[v];
            return glm::vec3(mundo * glm::vec4(EnDispositivo(q), 1));
        };
        auto caras = [&](const auto& lista, int lados) {
            for (const auto& f : lista) {
                bool dentro = true;
                for (int c = 0; c < lados; ++c)
                    dentro = dentro && f.Vertices[c] < m->Vertices.size();
                if (!dentro)
                    continue;
                const std::array<int, 6> orden = EsquinasTriangulos(lados);
                for (int t = 0; t < (lados == 4 ? 6 : 3); t += 3) {
                    TrianguloElegible e;
                    for (int c = 0; c < 3; ++c) {
                        const glm::vec3 q = esquina(f.Vertices[orden[size_t(t + c)]]);
                        e.P[c][0] = q.x, e.P[c][1] = q.y, e.P[c][2] = q.z;
                    }
                    g.Agregar(e);
                }
            }
        };
        caras(m->Rectangulos, 4);
        caras(m->Triangulos, 3);
    }
    g.Cerrar();
    return g;
}
