#include "Lista_Mesh.h"

void Lista_Mesh::Agregar(std::unique_ptr<trMesh> mesh) {
    meshes_.push_back(std::move(mesh));
}

int Lista_Mesh::ObtenerMesh(int indice, trMesh*& mesh) const {
    if (indice < 0 || indice >= Cantidad())
        return 0;
    mesh = meshes_[indice].get();
    return 1;
}

dxBufferTextura* Lista_Mesh::ObtenerBuffer(int indice) const {
    if (indice < 0 || static_cast<size_t>(indice) >= Buffers.size())
        return nullptr;
    return Buffers[indice].get();
}
