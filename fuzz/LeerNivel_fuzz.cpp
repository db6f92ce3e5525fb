// Any bytes as the inflated level data block, the container taken as read.
#include "CargarNivel.h"
#include "Invariantes.h"

#include <cstddef>
#include <cstdint>
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
    return 0;
}
