#pragma once
#include "trMesh.h"

#include <cstdint>
#include <memory>
#include <vector>

// Defined by the geometry side; the list only keeps them, one per mesh.
class dxBufferTextura;

// The meshes of one level in file order: position i is mesh i everywhere (list entry, record and
// vertex buffer). Records are only ever appended, so an index never changes meaning.
class Lista_Mesh {
  public:
    void Agregar(std::unique_ptr<trMesh> mesh);
    // 1 and the record at that position, or 0 with mesh untouched.
    [[nodiscard]] int ObtenerMesh(int indice, trMesh*& mesh) const;
    int32_t Cantidad() const { return static_cast<int32_t>(meshes_.size()); }
    // Null outside 0..count-1 or before the buffers have been made.
    dxBufferTextura* ObtenerBuffer(int indice) const;

    // Filled by the mesh conversion, entry i for record i. Shared pointers, so that this side
    // can release them without seeing the class.
    std::vector<std::shared_ptr<dxBufferTextura>> Buffers;

  private:
    std::vector<std::unique_ptr<trMesh>> meshes_;
};
