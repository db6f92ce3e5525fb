#pragma once
// An object put together for drawing: each of its meshes with the world matrix that places it,
// and the sphere that holds them all. Plain math over the level's records, so that it is tested
// without a device; only EncuadrarEnsamblaje and DibujarEnsamblaje talk to one.
#include "Seleccion.h"
#include "d3dx8.h"
#include "trObjetos.h"

#include <cstdint>
#include <memory>
#include <vector>

class ArticulacionesLara;
class BuffersMesh;
class Lista_Mesh;
class dxDevice8;

struct PiezaObjeto {
    int32_t Mesh = -1; // position in the mesh list
    // Takes the mesh's converted vertices (device axes: the level's y negated) to where the
    // object holds them, in the same axes; D3DX layout, row vectors.
    D3DXMATRIX Mundo;
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
    std::vector<D3DXVECTOR3> Vertices = {};
};

struct Ensamblaje {
    std::vector<PiezaObjeto> Piezas; // meshes that name no record are left out
    // The sphere that holds every vertex, in device axes; radius 0 when there is none.
    D3DXVECTOR3 Centro{0, 0, 0};
    float Radio = 0;
    int32_t Caras = 0; // rectangles and triangles of all its meshes
    // Lara's joints, when the object is her body and the level has them: what poses the joints.
    std::shared_ptr<const ArticulacionesLara> Articulaciones;
};

// Moveable `indice` of the level as the game draws it where it is placed: Lara (ID_LARA) wears
// the body meshes of objetos.CuerpoLara, when the level has them; any other is itself.
trMovible VestirMovible(const trObjetos& objetos, size_t indice);

// The moveable in its rest pose: meshes placed by its tree and turned by its own first frame.
// With `juntas` (the level's, NivelAbierto::Articulaciones) and a moveable that wears the body
// they were paired with, her joints too, one piece each after the rest.
Ensamblaje ArmarMovible(const trMovible& movible, const Lista_Mesh& lista,
                        std::shared_ptr<const ArticulacionesLara> juntas = nullptr);
// The moveable in a pose: mundos[k] places its mesh k (as PosarMovible gives them).
Ensamblaje ArmarMovible(const trMovible& movible, const Lista_Mesh& lista,
                        const std::vector<D3DXMATRIX>& mundos,
                        std::shared_ptr<const ArticulacionesLara> juntas = nullptr);
// Moves an assembled moveable's pieces (and its joints' vertices) to a pose of the same
// moveable; its sphere stays as it was, so that the framing holds still while it plays.
void AplicarPose(Ensamblaje& objeto, const std::vector<D3DXMATRIX>& mundos);
Ensamblaje ArmarEstatico(const trEstatico& estatico, const Lista_Mesh& lista);
// One mesh where it stands, for a mesh framed like an object.
Ensamblaje ArmarMesh(int32_t mesh, const Lista_Mesh& lista);

// Where a world matrix takes a point.
D3DXVECTOR3 Transformar(const D3DXMATRIX& mundo, float x, float y, float z);

// The object's world matrices turned by angulo about the vertical axis through the sphere's centre.
// The framing fits that sphere, and the object stays inside it at every angle, so a turning
// object never leaves the view.
D3DXMATRIX MundoGirado(const PiezaObjeto& pieza, const Ensamblaje& objeto, float angulo);

// The object's faces as DibujarEnsamblaje draws them turned by angulo, for picking: one part per
// piece, owned by DuenioCara::Tipo::Mesh with the piece's place in Piezas.
GeometriaElegible GeometriaDeEnsamblaje(const Ensamblaje& objeto, const Lista_Mesh& lista,
                                        float angulo);

// Projection and camera that fit the object's sphere to an ancho x alto view.
[[nodiscard]] HRESULT EncuadrarEnsamblaje(dxDevice8& dispositivo, const Ensamblaje& objeto, int ancho, int alto);
// Clear, then each mesh turned by angulo, textured and/or as wireframe; then present. A joint's
// vertices go up to the device as the pose put them, in a buffer of the draw's own.
// `resaltada`: a piece drawn again in wireframe over the rest (-1: none).
[[nodiscard]] HRESULT DibujarEnsamblaje(dxDevice8& dispositivo, const Ensamblaje& objeto,
                                        const BuffersMesh& buffers, float angulo, bool texturizado,
                                        bool alambre, int32_t resaltada = -1);
