#pragma once
// The pieces that close the seams of Lara's body at the hips, knees, ankles, shoulders, elbows,
// wrists and neck (moveable ID_JUNTAS_LARA: the body's own tree, one skin per joint). Drawn
// rigidly on her bones, half their vertices float off the body: a joint bends with both limbs it
// joins. Paired once, in the rest pose (every turn zero), each joint vertex follows the limb, its
// own or its parent, that holds the vertex nearest to it (its own on a tie): welded to that vertex
// when it lies on it or within a rounding step of it, else keeping its place beside it. Then the
// joints follow the limbs in any pose. Plain math over the level's records, no device.
#include "trObjetos.h"

#include <glm/glm.hpp>

#include <cstdint>
#include <memory>
#include <vector>

class Lista_Mesh;

class ArticulacionesLara {
  public:
    // How far (level units) a joint vertex may lie from a limb's vertex and still be that vertex:
    // one unit off in each axis. On the real levels the pairs are 0, 1, 1.4 or 1.7 apart; the next
    // nearest vertices are 3 or more.
    static constexpr float SOLDADURA = 1.75f;

    // Where one joint vertex goes: on the mesh of node `Hueso` of the body's tree, at `Local`
    // (that mesh's own frame, device axes).
    struct Vertice {
        int32_t Hueso = 0;
        glm::vec3 Local{0};
    };
    // Joint mesh `Nodo` of the tree: its mesh in the level's list, one entry per mesh vertex.
    struct Junta {
        int32_t Nodo = 0;
        int32_t Mesh = -1;
        std::vector<Vertice> Vertices;
    };
    // The pairing's evidence, joint vertices counted: on a limb's vertex exactly, within SOLDADURA
    // of one, farther (and the farthest such distance); of all of them, how many follow the parent
    // limb. Joints welded to no limb at all (the root's stand-in) are left out.
    struct Cuentas {
        int32_t Exactos = 0, Soldados = 0, Libres = 0, Padre = 0;
        float MayorLibre = 0;
        int32_t JuntasOmitidas = 0;
    };

    // The level's joints for Lara's body (ID_CUERPO_LARA); null where the level has none, or
    // where its joints are no skin over that body (another tree, or no vertex of theirs on it).
    static std::shared_ptr<const ArticulacionesLara> Hallar(const trObjetos& objetos,
                                                            const Lista_Mesh& lista);
    // The same for any body and joints; null unless both have the same tree.
    static std::shared_ptr<const ArticulacionesLara> Emparejar(const trMovible& cuerpo,
                                                               const trMovible& juntas,
                                                               const Lista_Mesh& lista);

    // Whether `m` wears the body these joints were paired with (and so takes them).
    bool Viste(const trMovible& m) const;
    const std::vector<Junta>& Juntas() const { return juntas_; }
    Cuentas Contar() const { return cuentas_; }

    // Where the vertices of Juntas()[junta] go when the body's meshes stand at `mundos` (device
    // axes, as PiezaObjeto::Mundo, one per node): device axes, one per mesh vertex. A vertex whose
    // bone has no matrix stays at the origin of the object.
    void Posar(size_t junta, const std::vector<glm::mat4>& mundos,
               std::vector<glm::vec3>& posiciones) const;

  private:
    std::vector<int32_t> cuerpo_; // the body's meshes, as paired
    std::vector<Junta> juntas_;
    Cuentas cuentas_;
};
