#include "trTextura.h"

#include "dxDevice8.h"
#include "trNivel.h"

#include <cstddef>

trTextura::trTextura(const trNivel* nivel) : nivel_(nivel) {
    if (!nivel_)
        return;
    // The size field is the inflated length after a load; the data decides if it was altered.
    uint32_t porCampo = nivel_->Bloques[0].TamanoInflado >> 18;
    size_t porDatos = nivel_->DatosBloque[0].size() / trNivel::BYTES_PAGINA;
    numPaginas_ = int32_t(porCampo < porDatos ? porCampo : porDatos);
}

trTextura::~trTextura() {
    Liberar();
}

void trTextura::Liberar() {
    for (IDirect3DTexture8* t : paginas_)
        if (t)
            t->Release();
    paginas_.clear();
}

HRESULT trTextura::CrearTexturas(dxDevice8* dispositivo) {
    if (!dispositivo)
        return E_FAIL;
    Liberar();
    paginas_.assign(size_t(numPaginas_), nullptr);
    HRESULT r = D3D_OK;
    for (int32_t i = 0; i < numPaginas_; ++i) {
        paginas_[size_t(i)] =
            dispositivo->TexturaDeMemoria(256, 256, D3DFMT_A8R8G8B8, GetTexels(i));
        if (!paginas_[size_t(i)])
            r = E_FAIL;
    }
    return r;
}

const uint8_t* trTextura::GetTexels(int32_t indice) const {
    if (!nivel_ || indice < 0 || indice >= numPaginas_)
        return nullptr;
    return nivel_->DatosBloque[0].data() + size_t(indice) * trNivel::BYTES_PAGINA;
}

IDirect3DTexture8* trTextura::GetTextura(int32_t indice) const {
    if (indice < 0 || size_t(indice) >= paginas_.size())
        return nullptr;
    return paginas_[size_t(indice)];
}
