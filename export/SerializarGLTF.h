#pragma once
// A built glTF model as the files of an export: the .glb alone, its pages inside, or the .gltf
// with its .bin named after it and one PNG per page beside it, named as `tr4tool pages` names
// them (the model itself last, so that it lands after what it names). Written nowhere here:
// EscribirAtomico writes them whole or not at all.
#include "EscrituraAtomica.h"

#include <cstdint>
#include <string>
#include <vector>

namespace tinygltf {
class Model;
}

// `pngs` holds each of the model's images, in order. Not done, with a one-line reason,
// when tinygltf cannot form the model or a page file already stands beside a .gltf with other
// texels (another level's, or one painted over), which the export would spoil.
Hecho SerializarGLTF(tinygltf::Model& modelo, std::vector<std::vector<uint8_t>> pngs,
                     const std::string& ruta, bool binario,
                     std::vector<ArchivoPorEscribir>& archivos);
