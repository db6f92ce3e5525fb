// The level's mesh data words, as any bytes.
#include "Invariantes.h"
#include "LeerMeshes.h"

#include <cstddef>
#include <cstdint>
#include <memory>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* datos, size_t tamano) {
    if (tamano > UINT32_MAX)
        return -1;
    const uint32_t longitud = static_cast<uint32_t>(tamano);
    // A list already held, to see that empty data leaves it alone.
    auto previa = std::make_unique<Lista_Mesh>();
    previa->Agregar(std::make_unique<trMesh>());
    Lista_Mesh* const anterior = previa.get();
    std::unique_ptr<Lista_Mesh> lista = std::move(previa);

    const int r = LeerMeshes(datos, longitud, lista);
    COMPROBAR(r == (longitud == 0 ? 0 : 1));
    COMPROBAR(lista != nullptr);
    if (r == 0) {
        COMPROBAR(lista.get() == anterior && lista->Cantidad() == 1);
        return 0;
    }
    COMPROBAR(lista.get() != anterior);
    fuzz::ComprobarMeshes(*lista, longitud);
    return 0;
}
