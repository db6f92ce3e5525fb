#pragma once
// Gathers the whole-level scene's faces as they are given, each class's by kind, blend and side,
// and lays them out at the end as one buffer with the runs EscenaNivel keeps. Bounded: a damaged
// level whose faces would need more than a real one's keeps what fits.
#include "ConvencionesNivel.h"
#include "EscenaNivel.h"
#include "Seleccion.h"
#include "VerticeEscena.h"
#include "trMesh.h"
#include "trMezcla.h"
#include "trNivel.h"

#include <glm/glm.hpp>

#include <array>
#include <cstddef>
#include <cstdint>
#include <utility>
#include <vector>

// Where an item's vertex comes from: the piece of the scene's moving pieces it hangs from
// (SIN_PIEZA for an item that does not move) and the mesh's vertex in device axes.
constexpr uint32_t SIN_PIEZA = 0xFFFFFFFF;
struct OrigenVertice {
    uint32_t Pieza = SIN_PIEZA;
    glm::vec3 Local{0};
};

class ConstructorEscena {
  public:
    using Clase = uint32_t; // a ClasesAlternas class
    using Tipo = EscenaNivel::Tipo;

    ConstructorEscena(const trNivel& nivel, uint32_t paginas, GeometriaElegible& elegible,
                      uint32_t clases)
        : nivel_(nivel), paginas_(paginas), elegible_(elegible), clases_(clases) {}

    // One face whose corners are already where they go (device axes), with their colours. The
    // owner is the one last given to Duenio.
    // An item's corner hangs from the current piece at locales[k] (level axes), or where
    // origenes[k] says when given.
    void Cara(Clase c, Tipo t, trMezcla mezcla, bool doble, int lados, const glm::vec3* p,
              const uint32_t* colores, uint32_t textura, const glm::vec3* locales = nullptr,
              const OrigenVertice* origenes = nullptr);

    void Duenio(const DuenioCara& d) { elegible_.Empezar(d); }
    // Whether the room faces given from now on are a water room's.
    void Agua(bool si) { agua_ = si; }
    // The piece the item faces given from now on hang from, or SIN_PIEZA.
    void Pieza(uint32_t pieza) { pieza_ = pieza; }

    // Every face of a mesh, each corner taken to the device's world by `lugar`, as the mesh
    // conversion keeps them: whole texture field, one-sided, unlit; blended as its texture and
    // extra word say.
    template <class Lugar> void Mesh(Clase c, Tipo t, const trMesh& m, Lugar lugar) {
        // Placements may repeat one mesh a million times; faces looked at, kept or not, are
        // bounded as the vertices kept are.
        examinadas_ += m.Rectangulos.size() + m.Triangulos.size() + 1;
        if (Lleno())
            return;
        const uint32_t blancos[4] = {BLANCO, BLANCO, BLANCO, BLANCO};
        auto caras = [&](const auto& lista, int lados) {
            for (const auto& f : lista) {
                glm::vec3 q[4], l[4];
                bool dentro = true;
                for (int k = 0; k < lados && dentro; ++k) {
                    dentro = f.Vertices[k] < m.Vertices.size();
                    if (dentro) {
                        const trVector16& v = m.Vertices[f.Vertices[k]];
                        l[k] = glm::vec3(v.X, v.Y, v.Z);
                        q[k] = lugar(l[k]);
                    }
                }
                if (dentro)
                    Cara(c, t, MezclaCara(nivel_, f.Textura, f.Extra), false, lados, q, blancos,
                         f.Textura, l);
            }
        };
        caras(m.Rectangulos, 4);
        caras(m.Triangulos, 3);
    }

    // Every face of a joint of Lara's: corner i where lugar(i) puts it, hanging where origen(i)
    // says, for its vertices follow more than one piece.
    template <class Lugar, class Origen>
    void MeshArticulado(Clase c, Tipo t, const trMesh& m, Lugar lugar, Origen origen) {
        examinadas_ += m.Rectangulos.size() + m.Triangulos.size() + 1;
        if (Lleno())
            return;
        const uint32_t blancos[4] = {BLANCO, BLANCO, BLANCO, BLANCO};
        auto caras = [&](const auto& lista, int lados) {
            for (const auto& f : lista) {
                if (!VerticesValidos(f.Vertices, m))
                    continue;
                glm::vec3 q[4];
                OrigenVertice o[4];
                for (int k = 0; k < lados; ++k) {
                    q[k] = lugar(f.Vertices[k]);
                    o[k] = origen(f.Vertices[k]);
                }
                Cara(c, t, MezclaCara(nivel_, f.Textura, f.Extra), false, lados, q, blancos,
                     f.Textura, nullptr, o);
            }
        };
        caras(m.Rectangulos, 4);
        caras(m.Triangulos, 3);
    }

    // Work done elsewhere for the scene, counted against the same bound.
    void Examinar(size_t n) { examinadas_ += n; }

    // Whether the scene holds all it may: what is given from then on is left out.
    bool Lleno() const;

    // Every face into `todos`, class after class; the items' runs of it into `tramosItems`
    // (start, count) with their vertices' origins, in the same order, into `origenes`; the water
    // rooms' runs into `tramosAgua`.
    void Armar(std::vector<std::array<EscenaNivel::Grupo, EscenaNivel::TIPOS>>& grupos,
               std::vector<VerticeEscena>& todos,
               std::vector<std::pair<uint32_t, uint32_t>>& tramosItems,
               std::vector<OrigenVertice>& origenes,
               std::vector<std::pair<uint32_t, uint32_t>>& tramosAgua);

  private:
    static constexpr uint32_t BLANCO = 0xFFFFFFFF;

    const trNivel& nivel_;
    uint32_t paginas_;
    GeometriaElegible& elegible_;
    size_t total_ = 0, examinadas_ = 0;
    // What each class holds until Armar lays it out: every kind's faces by blend and side, the
    // items' vertices' origins, and the water rooms' runs (from the start of their list).
    struct Destinos {
        std::vector<VerticeEscena> Vertices[EscenaNivel::TIPOS][EscenaNivel::MEZCLAS][2];
        std::vector<OrigenVertice> Origenes[EscenaNivel::MEZCLAS][2];
        std::vector<std::pair<uint32_t, uint32_t>> Agua[EscenaNivel::MEZCLAS][2];
    };
    std::vector<Destinos> clases_;
    uint32_t pieza_ = SIN_PIEZA;
    bool agua_ = false;
};
