// Any bytes as the inflated level data block, the container taken as read; then its meshes, its
// objects, its rooms and its floor data read over the arrays it gave.
#include "CargarNivel.h"
#include "Invariantes.h"
#include "LeerObjetos.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* datos, size_t tamano) {
    trNivel nivel;
    nivel.DatosBloque[3].assign(datos, datos + tamano);
    std::string motivo;
    if (LeerNivel(nivel, &motivo) == 0) {
        fuzz::ComprobarMotivo(motivo);
        COMPROBAR(motivo.starts_with("datos del nivel dañados: "));
        return 0;
    }
    fuzz::ComprobarDatosNivel(nivel);
    std::unique_ptr<Lista_Mesh> lista;
    LeerMeshes(nivel.DatosMesh.data(), uint32_t(nivel.DatosMesh.size()), lista);
    trObjetos objetos;
    COMPROBAR(LeerObjetos(nivel, lista.get(), objetos) == 1);
    fuzz::ComprobarObjetos(nivel, lista.get(), objetos);
    fuzz::ComprobarAnimaciones(nivel, objetos);
    fuzz::ComprobarCuartos(nivel, objetos);
    fuzz::ComprobarLogica(nivel);
    return 0;
}
