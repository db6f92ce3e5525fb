#pragma once
// The objects of a level read from its raw arrays: moveables (meshes hung on a mesh tree, posed
// by their first animation frame) and statics (one mesh each). Plain records in the level's own
// axes (y down); nothing here draws.
#include "trAnimaciones.h"

#include <cstdint>
#include <vector>

// One turn of a mesh in its frame, in radians about each of the level's axes.
struct trGiro {
    float X = 0, Y = 0, Z = 0;
};

// One stored keyframe: its box, where the root sits, and each mesh's turn.
struct trCuadroClave {
    int16_t Caja[6] = {};
    int16_t RaizX = 0, RaizY = 0, RaizZ = 0;
    std::vector<trGiro> Giros;
};

struct trMovible {
    static constexpr uint32_t BYTES_EN_ARCHIVO = 18;
    static constexpr uint16_t SIN_ANIMACION = 0xFFFF;

    // As the file holds them.
    uint32_t Id = 0;
    uint16_t NumMeshes = 0;
    uint16_t PrimerMesh = 0; // index of its first mesh pointer
    uint32_t Arbol = 0;      // index of its first int32 in the mesh-tree array
    uint32_t Cuadro = 0;     // byte offset of its first frame in the frames array
    uint16_t Animacion = SIN_ANIMACION;

    // Read through them, one entry per mesh that could be read (fewer than NumMeshes when its
    // pointers run out; Completo is then false). A mesh index is a position in the level's mesh
    // list, -1 when its pointer cannot be read or names no record's first byte.
    std::vector<int32_t> Meshes;
    // Parent of each mesh (-1 for the root) and its offset from that parent.
    struct Nodo {
        int32_t Padre = -1;
        int32_t X = 0, Y = 0, Z = 0;
    };
    std::vector<Nodo> Nodos;
    // The first frame: where the root sits and how each mesh is turned (unturned when unread).
    int16_t Caja[6] = {};
    int16_t RaizX = 0, RaizY = 0, RaizZ = 0;
    std::vector<trGiro> Giros;

    uint32_t Colocados = 0; // items of this object id
    // Its animations are Animacion .. Animacion + NumAnimaciones - 1 of the level's list: up to
    // the next first animation any moveable names.
    uint32_t NumAnimaciones = 0;
    // False when a pointer, the tree or the first frame could not be read whole.
    bool Completo = true;
};

struct trEstatico {
    static constexpr uint32_t BYTES_EN_ARCHIVO = 32;

    uint32_t Id = 0;
    uint16_t PunteroMesh = 0; // index of its mesh pointer
    int16_t Visibilidad[6] = {};
    int16_t Colision[6] = {};
    uint16_t Banderas = 0;

    int32_t Mesh = -1;      // position in the mesh list; -1 as for a moveable's mesh
    uint32_t Colocados = 0; // room placements of this static id
};

// One placed object of the level (its items row), in world coordinates.
struct trItem {
    static constexpr uint32_t BYTES_EN_ARCHIVO = 24;
    int16_t Objeto = 0; // the moveable's id
    int16_t Cuarto = 0;
    int32_t X = 0, Y = 0, Z = 0;
    int16_t Angulo = 0; // about y, 65536 a full turn
    int16_t Intensidad = 0;
    int16_t Codigo = 0;
    uint16_t Banderas = 0;
};

// A static placed in a room, in world coordinates.
struct trEstaticoColocado {
    static constexpr uint32_t BYTES_EN_ARCHIVO = 20;
    uint16_t Cuarto = 0; // the room whose placements hold it
    int32_t X = 0, Y = 0, Z = 0;
    uint16_t Rotacion = 0; // about y, 65536 a full turn
    uint16_t Intensidad = 0;
    uint16_t Id = 0; // the static's id
};

// Every object of one level, in file order, and where the level places them.
struct trObjetos {
    std::vector<trMovible> Movibles;
    std::vector<trEstatico> Estaticos;
    std::vector<trItem> Items;
    std::vector<trEstaticoColocado> Colocaciones; // room by room
    trAnimaciones Animaciones;
};

// Lara as the game draws her: the animations and tree of moveable ID_LARA worn by the body meshes
// of ID_CUERPO_LARA (the same 15-mesh tree), whose own meshes are stand-ins.
constexpr uint32_t ID_LARA = 0;
constexpr uint32_t ID_CUERPO_LARA = 8;
// The pieces that join her limbs: the same tree again, each mesh the skin over one joint.
constexpr uint32_t ID_JUNTAS_LARA = 9;

// `esqueleto` (its tree, frames and animations) wearing the meshes of `duenio`. Only a moveable
// with as many meshes can lend them; otherwise the skeleton keeps its own, and *prestados (when
// given) says whether the meshes were lent.
inline trMovible ConMeshesDe(const trMovible& esqueleto, const trMovible& duenio,
                             bool* prestados = nullptr) {
    trMovible r = esqueleto;
    const bool cabe =
        duenio.NumMeshes == esqueleto.NumMeshes && duenio.Meshes.size() == esqueleto.Meshes.size();
    if (cabe) {
        r.Meshes = duenio.Meshes;
        r.PrimerMesh = duenio.PrimerMesh;
        r.Completo = esqueleto.Completo && duenio.Completo;
    }
    if (prestados)
        *prestados = cabe;
    return r;
}
