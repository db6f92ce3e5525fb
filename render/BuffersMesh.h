#pragma once
// The buffers a level's meshes are drawn from, kept beside its Lista_Mesh so that the file
// reading holds no device type: entry i is the buffer of mesh i (list entry, record and buffer
// share the index).
#include <cstddef>
#include <memory>
#include <vector>

class dxBufferTextura;

class BuffersMesh {
  public:
    // Null outside 0..count-1, as before the mesh conversion has made them.
    dxBufferTextura* Obtener(int indice) const;
    // The same, shared, for one who must see when it is released.
    std::shared_ptr<dxBufferTextura> Compartido(int indice) const;
    size_t Cantidad() const { return buffers_.size(); }

    // Made by the mesh conversion in mesh order, and by tests that draw buffers of their own.
    void Agregar(std::shared_ptr<dxBufferTextura> buffer);
    void Vaciar() { buffers_.clear(); }

  private:
    std::vector<std::shared_ptr<dxBufferTextura>> buffers_;
};
