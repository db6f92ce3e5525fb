#include "PaginasNivel.h"

#include "trNivel.h"

#include <cstddef>

PaginasNivel::PaginasNivel(const trNivel* nivel) : nivel_(nivel) {
    if (!nivel_)
        return;
    // The size field is the inflated length after a load; the data decides if it was altered.
    uint32_t porCampo = nivel_->Bloques[0].TamanoInflado >> 18;
    size_t porDatos = nivel_->DatosBloque[0].size() / trNivel::BYTES_PAGINA;
    numPaginas_ = int32_t(porCampo < porDatos ? porCampo : porDatos);
}

const uint8_t* PaginasNivel::GetTexels(int32_t indice) const {
    if (!nivel_ || indice < 0 || indice >= numPaginas_)
        return nullptr;
    return nivel_->DatosBloque[0].data() + size_t(indice) * trNivel::BYTES_PAGINA;
}
