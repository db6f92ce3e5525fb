#include "trTextura.h"

#include "dxDevice8.h"

#include <cstddef>

trTextura::trTextura(const trNivel* nivel) : PaginasNivel(nivel) {}

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
    paginas_.assign(size_t(NumPaginas()), nullptr);
    HRESULT r = D3D_OK;
    for (int32_t i = 0; i < NumPaginas(); ++i) {
        paginas_[size_t(i)] =
            dispositivo->TexturaDeMemoria(256, 256, D3DFMT_A8R8G8B8, GetTexels(i));
        if (!paginas_[size_t(i)])
            r = E_FAIL;
    }
    return r;
}

IDirect3DTexture8* trTextura::GetTextura(int32_t indice) const {
    if (indice < 0 || size_t(indice) >= paginas_.size())
        return nullptr;
    return paginas_[size_t(indice)];
}
