#pragma once
// A level's meshes and objects as glTF 2.0 models for other programs (Blender and the like): one
// node per mesh, hung as the object's mesh tree says and posed by its first frame; the level's
// texture pages as PNG, sampled texel by texel; unlit, as the viewer shows them.
//
// Faces are put over what lies behind them as the viewer does (MezclaCara): alpha-tested ones as
// alphaMode MASK; additive ones as BLEND, since glTF has no additive mode, on their page with the
// texel's brightness as alpha and its colour brought up to full, so that what is drawn over black
// is the texel itself and what lies behind only dims where the texel is bright. One material per
// page, sidedness and blend mode; each page one image however many materials use it (an
// additive page one more). Faces of no area are left out: other programs turn them into points
// and lines.
//
// Room colours are the viewer's display values: COLOR_0 holds their linear form, as glTF wants.
//
// Axes: the level's y points down; glTF's up is +y and its front +z. A level point (x, y, z)
// becomes (-x, -y, z) times the scale: a half turn about z, so nothing is mirrored and a front
// stays a front. The faces the viewer draws are front faces (counter-clockwise) in the model.
#include "AnimacionesGLTF.h"
#include "Elegido.h"
#include "EscrituraAtomica.h"

#include <array>
#include <cstdint>
#include <string>
#include <vector>

class ModeloGLTF;
struct NivelAbierto;

struct OpcionesGLTF {
    // One mesh, one moveable, one static, every moveable and static laid out side by side, the
    // level itself (its rooms, vertex colours as COLOR_0, with every static and item where the
    // level places it, each a node tree of its object's meshes), or Lara: the first moveable in
    // her body's meshes where the level keeps them apart, as a moveable whose MeshesDe names them.
    Elegido Que = Elegido::Mesh;
    int64_t Numero = 0; // the mesh's index or the object's id; unused for Todo, Nivel and Lara
    // Model units (metres) per level unit: one sector, 1024 units, is 2 m by default, so that
    // Lara stands about 1.5 m tall.
    double Escala = 1.0 / 512;
    // For a moveable: another's meshes, and its animations as glTF animations.
    AnimacionesElegidas Animadas = {};
    // For the level: its logic too, as empty nodes under one named "logica": a node per trigger
    // at its sector's floor centre ("disparador_ROOM_X_Z"), per camera, flyby camera and sound
    // source where the level puts it, each with its fields as extras.
    bool Logica = false;
    // For the level: the alternate groups shown flipped, each base room of such a group giving
    // way to its alternate room (with what the level places in it), as a flip map turns them.
    std::array<bool, 256> GruposVolteados = {};
};

// The files an export to `ruta` consists of, built in memory and written nowhere: the .glb alone
// (pages inside), or the .gltf with its .bin named after it and, beside it, one PNG per page it
// uses, named as `tr4tool pages` names them (the model itself last, so that it lands after what
// it names). Not done, with a one-line reason, for a name ending neither in .glb nor
// .gltf, a scale that is not a positive finite number, a mesh or object the level lacks, or a
// page file that already stands beside it with other texels (another level's, or one painted
// over), which the export would spoil.
Hecho ExportarGLTFEnMemoria(const NivelAbierto& nivel, const OpcionesGLTF& opciones,
                            const std::string& ruta, std::vector<ArchivoPorEscribir>& archivos);

// The model alone, built into `modelo` (made for the same level and scale) as an export builds
// it before its pages are compressed: for a reader that takes the pages' texels as they are.
// Not done, with the reason, as ExportarGLTFEnMemoria refuses the same options.
Hecho ArmarModeloGLTF(const NivelAbierto& nivel, const OpcionesGLTF& opciones, ModeloGLTF& modelo);

// Whether the name ends in .glb or .gltf, in any case.
bool ExtensionGLTF(const std::string& ruta);

// The .glb name an export of `o` is offered under, the same in the window and the page:
// mesh_7.glb, movible_5.glb, estatico_38.glb, todo.glb, nivel.glb, and lara.glb for Lara in her
// body's meshes. With the level's file name given, its stem goes first: tut1_nivel.glb.
std::string NombreExportacion(const OpcionesGLTF& o, const std::string& archivoNivel = {});

// The same, written whole or not at all (EscribirAtomico): a failure leaves what stood there.
Hecho ExportarGLTF(const NivelAbierto& nivel, const OpcionesGLTF& opciones,
                   const std::string& ruta);
