#include "BuffersMesh.h"

#include "dxBufferTextura.h"

dxBufferTextura* BuffersMesh::Obtener(int indice) const {
    return Compartido(indice).get();
}

std::shared_ptr<dxBufferTextura> BuffersMesh::Compartido(int indice) const {
    if (indice < 0 || size_t(indice) >= buffers_.size())
        return nullptr;
    return buffers_[size_t(indice)];
}

void BuffersMesh::Agregar(std::shared_ptr<dxBufferTextura> buffer) {
    buffers_.push_back(std::move(buffer));
}

std::shared_ptr<dxBufferTextura>
BuffersMesh::Posado(int indice, const std::vector<glm::vec3>& posiciones) const {
    if (!conversor_ || indice < 0 || size_t(indice) >= buffers_.size())
        return nullptr;
    auto buffer = std::make_shared<dxBufferTextura>();
    return conversor_(indice, posiciones, *buffer) ? buffer : nullptr;
}
