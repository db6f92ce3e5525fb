#include "NivelSubido.h"

#include "CargarNivel.h"
#include "ConvertirMeshes.h"
#include "dxBufferTextura.h"

namespace {

// A page or buffer the device refuses draws untextured or not at all; the level stays open.
std::unique_ptr<NivelSubido> Subir(std::unique_ptr<trNivel> nivel, dxDevice8* dispositivo) {
    auto subido = std::make_unique<NivelSubido>();
    CompletarNivel(std::move(nivel), *subido);
    const trNivel& n = *subido->Nivel;
    subido->TexturasDispositivo = std::make_unique<trTextura>(&n);
    const HRESULT paginas = subido->TexturasDispositivo->CrearTexturas(dispositivo);
    const HRESULT meshes = ConvertirMeshes(subido->Meshes.get(), subido->Buffers, dispositivo,
                                           subido->TexturasDispositivo.get(), n);
    // Without a device nothing goes up, and a level without meshes has none to send.
    if (dispositivo)
        subido->Subida = FAILED(paginas)                                    ? paginas
                         : subido->Meshes && subido->Meshes->Cantidad() > 0 ? meshes
                                                                            : D3D_OK;
    if (subido->Escena)
        subido->Dibujo = DibujoEscena::Crear(*subido->Escena, subido->Texturas.get(), dispositivo);
    subido->Capa = DibujoDisparadores::Crear(subido->Logica, dispositivo);
    subido->Marcadores = DibujoMarcadores::Crear(subido->Logica, dispositivo);
    return subido;
}

} // namespace

Hecho AbrirNivel(const char* ruta, dxDevice8* dispositivo, std::unique_ptr<NivelSubido>& destino) {
    auto nivel = std::make_unique<trNivel>();
    if (std::string motivo; !CargarNivel(ruta, *nivel, &motivo))
        return Hecho::Fallo(std::move(motivo));
    destino = Subir(std::move(nivel), dispositivo);
    return {};
}

Hecho AbrirNivelDeMemoria(const uint8_t* datos, size_t tamano, dxDevice8* dispositivo,
                          std::unique_ptr<NivelSubido>& destino) {
    auto nivel = std::make_unique<trNivel>();
    if (std::string motivo; !CargarNivelDeMemoria(datos, tamano, *nivel, &motivo))
        return Hecho::Fallo(std::move(motivo));
    destino = Subir(std::move(nivel), dispositivo);
    return {};
}
