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
