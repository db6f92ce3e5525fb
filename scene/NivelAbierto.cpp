#include "NivelAbierto.h"

#include "CargarNivel.h"
#include "LeerMeshes.h"
#include "LeerObjetos.h"
#include "LeerSectores.h"

NivelAbierto::~NivelAbierto() = default;

void CompletarNivel(std::unique_ptr<trNivel> nivel, NivelAbierto& abierto) {
    abierto.Nivel = std::move(nivel);
    const trNivel& n = *abierto.Nivel;
    LeerMeshes(n.DatosMesh.data(), uint32_t(n.DatosMesh.size()), abierto.Meshes);
    abierto.Texturas = std::make_unique<PaginasNivel>(&n);
    LeerObjetos(n, abierto.Meshes.get(), abierto.Objetos);
    abierto.Logica = LeerLogica(n);
    if (abierto.Meshes)
        abierto.Articulaciones = ArticulacionesLara::Hallar(abierto.Objetos, *abierto.Meshes);
    // The scene poses Lara's joints, so they are paired first.
    abierto.Escena = EscenaNivel::Crear(abierto);
}

const trMesh* NivelAbierto::Mesh(int indice) const {
    trMesh* m = nullptr;
    return Meshes && Meshes->ObtenerMesh(indice, m) ? m : nullptr;
}

Hecho AbrirNivel(const char* ruta, std::unique_ptr<NivelAbierto>& destino) {
    auto nivel = std::make_unique<trNivel>();
    if (std::string motivo; !CargarNivel(ruta, *nivel, &motivo))
        return Hecho::Fallo(std::move(motivo));
    auto abierto = std::make_unique<NivelAbierto>();
    CompletarNivel(std::move(nivel), *abierto);
    destino = std::move(abierto);
    return {};
}

Hecho AbrirNivelDeMemoria(const uint8_t* datos, size_t tamano,
                          std::unique_ptr<NivelAbierto>& destino) {
    auto nivel = std::make_unique<trNivel>();
    if (std::string motivo; !CargarNivelDeMemoria(datos, tamano, *nivel, &motivo))
        return Hecho::Fallo(std::move(motivo));
    auto abierto = std::make_unique<NivelAbierto>();
    CompletarNivel(std::move(nivel), *abierto);
    destino = std::move(abierto);
    return {};
}
