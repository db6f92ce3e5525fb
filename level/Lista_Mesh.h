#pragma once
#include "trMesh.h"

#include <cstdint>
#include <memory>
#include <vector>

// The meshes of one level in file order: position i is mesh i everywhere (list entry, record, and
// the vertex buffer scene/BuffersMesh keeps for it). Records are only ever appended, so an index
// never changes meaning.
class Lista_Mesh {
  public:
    void Agregar(std::unique_ptr<trMesh> mesh);
    // 1 and the record at that position, or 0 with mesh untouched.
    [[nodiscard]] int ObtenerMesh(int indice, trMesh*& mesh) const;
    int32_t Cantidad() const { return static_cast<int32_t>(meshes_.size()); }

  private:
    std::vector<std::unique_ptr<trMesh>> meshes_;
};
