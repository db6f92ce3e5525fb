#pragma once
// The buffers a level's meshes are drawn from, kept beside its Lista_Mesh so that the file
// reading holds no device type: entry i is the buffer of mesh i (list entry, record and buffer
// share the index).
#include <glm/glm.hpp>

#include <cstddef>
#include <functional>
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

    // A new buffer of mesh `indice`'s faces with its vertices at `posiciones` (device axes, one
    // per mesh vertex), not yet on the device: a joint as a pose bends it. Null outside
    // 0..count-1, for a count of positions that is not the mesh's, or where no mesh conversion
    // said how its meshes are made.
    std::shared_ptr<dxBufferTextura> Posado(int indice,
                                            const std::vector<glm::vec3>& posiciones) const;

    // Made by the mesh conversion in mesh order, and by tests that draw buffers of their own.
    void Agregar(std::shared_ptr<dxBufferTextura> buffer);
    void Vaciar() { buffers_.clear(); }
    // How the conversion makes mesh `indice` again at other positions; false when it cannot.
    using Conversor = std::function<bool(int indice, const std::vector<glm::vec3>& posiciones,
                                         dxBufferTextura& buffer)>;
    void PonerConversor(Conversor conversor) { conversor_ = std::move(conversor); }

  private:
    std::vector<std::shared_ptr<dxBufferTextura>> buffers_;
    Conversor conversor_;
};
