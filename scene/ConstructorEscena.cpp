#include "ConstructorEscena.h"

#include <cstring>
#include <limits>

namespace {

// Vertices the scene holds, 28 bytes each: a real level needs tens of thousands. A damaged one
// whose rooms or placements would need more draws what fits and leaves the rest out, so that
// neither the open nor a frame grows without bound.
constexpr size_t MAXIMO_VERTICES_ESCENA = size_t{1} << 21;
constexpr size_t MAXIMO_CARAS_EXAMINADAS = size_t{1} << 23;

struct Textura {
    uint32_t Pagina = PAGINA_NINGUNA;
    float UV[4][2] = {};
};

// As the mesh conversion reads an object texture; a page the level lacks draws untextured.
Textura TexturaDe(const trNivel& nivel, uint32_t indice, bool rectangulo, uint32_t paginas) {
    Textura t;
    const TexturaCara cara = TexturaDeCara(nivel, indice, !rectangulo, paginas);
    if (!cara.Objeto)
        return t;
    t.Pagina = cara.Pagina;
    for (int k = 0; k < 4; ++k) {
        const glm::vec2 uv = UVDeEsquina(*cara.Objeto, k);
        t.UV[k][0] = uv.x;
        t.UV[k][1] = uv.y;
    }
    return t;
}

// Where a face of each blend mode goes in the buffer.
int IndiceMezcla(trMezcla m) {
    return m == trMezcla::Recorte ? 1 : m == trMezcla::Aditiva ? 2 : 0;
}

} // namespace

void ConstructorEscena::Cara(Clase c, Tipo t, trMezcla mezcla, bool doble, int lados,
                             const glm::vec3* p, const uint32_t* colores, uint32_t textura,
                             const glm::vec3* locales, const OrigenVertice* origenes) {
    const int n = lados == 4 ? 6 : 3;
    if (total_ + size_t(n) > MAXIMO_VERTICES_ESCENA)
        return;
    total_ += size_t(n);
    const Textura tx = TexturaDe(nivel_, textura, lados == 4, paginas_);
    Destinos& de = clases_[c];
    auto& destino = de.Vertices[t][IndiceMezcla(mezcla)][doble];
    if (t == EscenaNivel::CUARTOS && agua_) {
        // Faces of one room follow each other, so its vertices extend the last run.
        auto& tramos = de.Agua[IndiceMezcla(mezcla)][doble];
        const auto inicio = uint32_t(destino.size());
        if (!tramos.empty() && tramos.back().first + tramos.back().second == inicio)
            tramos.back().second += uint32_t(n);
        else
            tramos.emplace_back(inicio, uint32_t(n));
    }
    const std::array<int, 6> orden = EsquinasTriangulos(lados);
    for (int i = 0; i < n; ++i) {
        const int k = orden[i];
        destino.push_back(
            {p[k].x, p[k].y, p[k].z, tx.UV[k][0], tx.UV[k][1], tx.Pagina, colores[k]});
        if (t == EscenaNivel::ITEMS)
            de.Origenes[IndiceMezcla(mezcla)][doble].push_back(
                origenes ? origenes[k]
                         : OrigenVertice{pieza_, locales ? EnDispositivo(locales[k]) : p[k]});
    }
    for (int i = 0; i < n; i += 3) {
        TrianguloElegible e;
        e.DobleCara = doble;
        for (int k = 0; k < 3; ++k)
            std::memcpy(e.P[k], &p[orden[i + k]].x, sizeof e.P[k]);
        elegible_.Agregar(e);
    }
}

bool ConstructorEscena::Lleno() const {
    return total_ + 3 > MAXIMO_VERTICES_ESCENA || examinadas_ > MAXIMO_CARAS_EXAMINADAS;
}

void ConstructorEscena::Armar(
    std::vector<std::array<EscenaNivel::Grupo, EscenaNivel::TIPOS>>& grupos,
    std::vector<VerticeEscena>& todos, std::vector<std::pair<uint32_t, uint32_t>>& tramosItems,
    std::vector<OrigenVertice>& origenes, std::vector<std::pair<uint32_t, uint32_t>>& tramosAgua) {
    todos.reserve(total_);
    const size_t clases = clases_.size();
    grupos.assign(clases, {});
    constexpr float INF = std::numeric_limits<float>::infinity();
    std::vector<std::array<glm::vec3, EscenaNivel::TIPOS>> minimos(clases), maximos(clases);
    for (auto& fila : minimos)
        fila.fill(glm::vec3(INF));
    for (auto& fila : maximos)
        fila.fill(glm::vec3(-INF));
    for (int m = 0; m < EscenaNivel::MEZCLAS; ++m)
        for (size_t c = 0; c < clases; ++c)
            for (int t = 0; t < EscenaNivel::TIPOS; ++t) {
                Destinos& de = clases_[c];
                EscenaNivel::Grupo& g = grupos[c][size_t(t)];
                g.Inicio[m] = uint32_t(todos.size());
                if (t == EscenaNivel::ITEMS) {
                    const size_t n = de.Vertices[t][m][0].size() + de.Vertices[t][m][1].size();
                    if (n > 0)
                        tramosItems.emplace_back(g.Inicio[m], uint32_t(n));
                    for (auto& o : de.Origenes[m]) {
                        origenes.insert(origenes.end(), o.begin(), o.end());
                        o = {};
                    }
                }
                for (int d = 0; d < 2; ++d) {
                    auto& v = de.Vertices[t][m][d];
                    g.Vertices[m][d] = uint32_t(v.size());
                    if (t == EscenaNivel::CUARTOS)
                        for (const auto& [inicio, cantidad] : de.Agua[m][d])
                            tramosAgua.emplace_back(uint32_t(todos.size()) + inicio, cantidad);
                    for (const VerticeEscena& x : v) {
                        minimos[c][t] = glm::min(minimos[c][t], glm::vec3(x.X, x.Y, x.Z));
                        maximos[c][t] = glm::max(maximos[c][t], glm::vec3(x.X, x.Y, x.Z));
                    }
                    todos.insert(todos.end(), v.begin(), v.end());
                    v = {};
                }
            }
    for (size_t c = 0; c < clases; ++c)
        for (int t = 0; t < EscenaNivel::TIPOS; ++t) {
            std::memcpy(grupos[c][t].Minimo, &minimos[c][t].x, sizeof grupos[c][t].Minimo);
            std::memcpy(grupos[c][t].Maximo, &maximos[c][t].x, sizeof grupos[c][t].Maximo);
        }
    elegible_.Cerrar();
}
