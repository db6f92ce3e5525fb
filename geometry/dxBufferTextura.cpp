#include "dxBufferTextura.h"

#include <algorithm>
#include <typeinfo>

dxBufferTextura::dxBufferTextura() {
    FVF = FVF_VERTICE_TEXTURA;
    Stride = sizeof(dxVerticeTextura);
}

int32_t dxBufferTextura::Construir() {
    if (!Modificado)
        return -1;
    const int32_t n = GetNumVertices();
    VerticesTex.assign(n, dxVerticeTextura{});
    Texturas.assign(Triangulos + Cuadrados, nullptr);
    Flags.assign(Triangulos + Cuadrados, 0);
    size_t i = 0, a = 0;
    for (const auto& nodo : Poligonos) {
        dxPoligono* p = nodo.get();
        auto* v = static_cast<const dxVerticeTextura*>(p->GetVertices());
        if (typeid(*p) == typeid(dxTrianguloTex)) {
            Texturas[i] = static_cast<const dxTrianguloTex&>(*p).GetTextura();
            std::copy_n(v, 3, &VerticesTex[a]);
            Flags[i] = p->GetFlags() | FLAG_TEXTURADO;
            a += 3;
        } else if (typeid(*p) == typeid(dxCuadradoTex)) {
            Texturas[i] = static_cast<const dxCuadradoTex&>(*p).GetTextura();
            std::copy_n(v, 4, &VerticesTex[a]);
            Flags[i] = p->GetFlags() | FLAG_TEXTURADO | FLAG_CUADRADO;
            a += 4;
        }
        ++i;
    }
    return n * static_cast<int32_t>(sizeof(dxVerticeTextura));
}

void* dxBufferTextura::GetVertices() {
    return VerticesTex.empty() ? nullptr : VerticesTex.data();
}

IDirect3DTexture8* dxBufferTextura::GetTextura(int i) const {
    if (i < 0 || static_cast<size_t>(i) >= Texturas.size())
        return nullptr;
    return Texturas[i];
}
