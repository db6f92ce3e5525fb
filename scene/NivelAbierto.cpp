#include "NivelAbierto.h"

#include "CargarNivel.h"
#include "ConvertirMeshes.h"
#include "LeerMeshes.h"
#include "LeerObjetos.h"
#include "LeerSectores.h"
#include "dxBufferTextura.h"

namespace {

// The steps after a successful load, which cannot fail in a way that loses the level: a level
// without meshes shows none, and a page or buffer the device refuses draws untextured or not at
// all.
std::unique_ptr<NivelAbierto> Completar(std::unique_ptr<trNivel> nivel, dxDevice8* dispositivo) {
    auto abierto = std::make_unique<NivelAbierto>();
    abierto->Nivel = std::move(nivel);
    const trNivel& n = *abierto->Nivel;
    LeerMeshes(n.DatosMesh.data(), uint32_t(n.DatosMesh.size()), abierto->Meshes);
    abierto->Texturas = std::make_unique<trTextura>(&n);
    const HRESULT paginas = abierto->Texturas->CrearTexturas(dispositivo);
    const HRESULT meshes = ConvertirMeshes(abierto->Meshes.get(), abierto->Buffers, dispositivo,
                                           abierto->Texturas.get(), n);
    // Without a device nothing goes up, and a level without meshes has none to send.
    if (dispositivo)
        abierto->Subida = FAILED(paginas)                                      ? paginas
                          : abierto->Meshes && abierto->Meshes->Cantidad() > 0 ? meshes
                                                                               : D3D_OK;
    LeerObjetos(n, abierto->Meshes.get(), abierto->Objetos);
    abierto->Logica = LeerLogica(n);
    if (abierto->Meshes)
        abierto->Articulaciones = ArticulacionesLara::Hallar(abierto->Objetos, *abierto->Meshes);
    abierto->Escena = EscenaNivel::Crear(*abierto, dispositivo);
    abierto->Capa = CapaDisparadores::Crear(abierto->Logica, dispositivo);
    abierto->Marcadores = CapaMarcadores::Crear(abierto->Logica, dispositivo);
    return abierto;
}

} // namespace

const trMesh* NivelAbierto::Mesh(int indice) const {
    trMesh* m = nullptr;
    return Meshes && Meshes->ObtenerMesh(indice, m) ? m : nullptr;
}

int AbrirNivel(const char* ruta, dxDevice8* dispositivo, std::unique_ptr<NivelAbierto>& destino,
               std::string* motivo) {
    auto nivel = std::make_unique<trNivel>();
    if (!CargarNivel(ruta, *nivel, motivo))
        return 0;
    destino = Completar(std::move(nivel), dispositivo);
    return 1;
}

int AbrirNivelDeMemoria(const uint8_t* datos, size_t tamano, dxDevice8* dispositivo,
                        std::unique_ptr<NivelAbierto>& destino, std::string* motivo) {
    auto nivel = std::make_unique<trNivel>();
    if (!CargarNivelDeMemoria(datos, tamano, *nivel, motivo))
        return 0;
    destino = Completar(std::move(nivel), dispositivo);
    return 1;
}
