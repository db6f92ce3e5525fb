#pragma once
// An object put together for drawing: each of its meshes with the world matrix that places it,
// and the sphere that holds them all. Plain math over the level's records, so that it is tested
// without a device; DibujoEnsamblaje draws it on one.
#include "Seleccion.h"
#include "trObjetos.h"

#include <glm/glm.hpp>

#include <cstdint>
#include <memory>
#include <vector>

class ArticulacionesLara;
class Lista_Mesh;

struct PiezaObjeto {
    int32_t Mesh = -1; // position in the mesh list
    // Takes the mesh's converted vertices (device axes: the level's y negated) to where the
    // object holds them, in the same axes; row vectors as the device takes them (the same 16
    // floats in glm's order).
    glm::mat4 Mundo{1.f};
    // The piece it hangs from in the mesh tree: the nearest ancestor left in, by its place in
    // Piezas (always before this one); -1 for a root. An exporter rebuilds the tree from it.
    int32_t Padre = -1;
    // For a moveable's piece, which of its meshes it is (the place in its tree); -1 otherwise.
    int32_t Nodo = -1;
    // For a joint that bends with the limbs it joins: its place in Ensamblaje::Articulaciones'
    // joints (-1 for any other piece), and where the pose puts each of its mesh's vertices, in
    // the object's frame (device axes); Mundo is then the identity. Joints come after every
    // other piece.
    int32_t Junta = -1;
    std::vector<glm::vec3> Vertices = {};
};

struct Ensamblaje {
    std::vector<PiezaObjeto> Piezas; // meshes that name no record are left out
    // The sphere that holds every vertex, in device axes; radius 0 when there is none.
    glm::vec3 Centro{0, 0, 0};
    float Radio = 0;
    int32_t Caras = 0; // rectangles and triangles of all its meshes
    // Lara's joints, when the object is her body and the level has them: what poses the joints.
    std::shared_ptr<const ArticulacionesLara> Articulaciones;
};

// Moveable `indice` of the level as the game draws it where it is placed: Lara (ID_LARA) wears
// the body meshes of ID_CUERPO_LARA, when the level has them; any other is itself.
trMovible VestirMovible(const trObjetos& objetos, size_t indice);

// The moveable in its rest pose: meshes placed by its tree and turned by its own first frame.
// With `juntas` (the level's, NivelAbierto::Articulaciones) and a moveable that wears the body
// they were paired with, her joints too, one piece each after the rest.
Ensamblaje ArmarMovible(const trMovible& movible, const Lista_Mesh& lista,
                        std::shared_ptr<const ArticulacionesLara> juntas = nullptr);
// The moveable in a pose: mundos[k] places its mesh k (as PosarMovible gives them).
Ensamblaje ArmarMovible(const trMovible& movible, const Lista_Mesh& lista,
                        const std::vector<glm::mat4>& mundos,
                        std::shared_ptr<const ArticulacionesLara> juntas = nullptr);
// Moves an assembled moveable's pieces (and its joints' vertices) to a pose of the same
// moveable; its sphere stays as it was, so that the framing holds still while it plays.
void AplicarPose(Ensamblaje& objeto, const std::vector<glm::mat4>& mundos);
Ensamblaje ArmarEstatico(const trEstatico& estatico, const Lista_Mesh& lista);
// One mesh where it stands, for a mesh framed like an object.
Ensamblaje ArmarMesh(int32_t mesh, const Lista_Mesh& lista);

// Where a world matrix takes a point.
glm::vec3 Transformar(const glm::mat4& mundo, float x, float y, float z);

// The object's world matrices turned by angulo about the vertical axis through the sphere's centre.
// The framing fits that sphere, and the object stays inside it at every angle, so a turning
// object never leaves the view.
glm::mat4 MundoGirado(const PiezaObjeto& pieza, const Ensamblaje& objeto, float angulo);

// The object's faces as DibujarEnsamblaje draws them turned by angulo, for picking: one part per
// piece, owned by DuenioCara::Tipo::Mesh with the piece's place in Piezas.
GeometriaElegible GeometriaDeEnsamblaje(const Ensamblaje& objeto, const Lista_Mesh& lista,
                                        float angulo);
