#pragma once
// Bytes appended to a glTF model's one buffer, as the export's meshes, animations and embedded
// pages add them: each view on a 4-byte boundary, as accessors need.
#include <cstddef>
#include <cstdint>
#include <vector>

namespace tinygltf {
class Model;
}

// A view of `tamano` bytes; its index. `objetivo`: the view's target (TINYGLTF_TARGET_*), 0 none.
int AgregarVista(tinygltf::Model& modelo, const void* bytes, size_t tamano, int objetivo);

// Floats as an accessor of `componentes` each, with min and max when asked (a position's and an
// animation sampler's input must carry them); its index.
int AgregarAccesor(tinygltf::Model& modelo, const std::vector<float>& valores, int tipo,
                   int componentes, bool limites, int objetivo);

// Triangle indices, as unsigned shorts while `vertices` fit in them, else unsigned ints.
int AgregarIndices(tinygltf::Model& modelo, const std::vector<uint32_t>& indices, size_t vertices);
