#include "dxBufferColor8.h"

#include <algorithm>
#include <typeinfo>

dxBufferColor8::dxBufferColor8() {
    D3DXMatrixIdentity(&Mundo);
}

dxBufferColor8::~dxBufferColor8() {
    if (VertexBuffer)
        VertexBuffer->Release();
}

int32_t dxBufferColor8::Construir() {
    if (!Modificado)
        return -1;
    const int32_t n = GetNumVertices();
    Vertices.assign(n, dxVerticeColor{});
    Flags.assign(Triangulos + Cuadrados, 0);
    size_t i = 0, a = 0;
    for (const auto& nodo : Poligonos) {
        dxPoligono* p = nodo.get();
        auto* v = static_cast<const dxVerticeColor*>(p->GetVertices());
        if (typeid(*p) == typeid(dxTriangulo)) {
            std::copy_n(v, 3, &Vertices[a]);
            Flags[i] = p->GetFlags();
            a += 3;
        } else if (typeid(*p) == typeid(dxCuadrado)) {
            std::copy_n(v, 4, &Vertices[a]);
            Flags[i] = p->GetFlags() | FLAG_CUADRADO;
            a += 4;
        }
        ++i;
    }
    return n * static_cast<int32_t>(sizeof(dxVerticeColor));
}

void* dxBufferColor8::GetVertices() {
    return Vertices.empty() ? nullptr : Vertices.data();
}

bool dxBufferColor8::EsDeLaFamilia(const dxPoligono* p) const {
    const std::type_info& t = typeid(*p);
    if (FVF == FVF_VERTICE_TEXTURA)
        return t == typeid(dxTrianguloTex) || t == typeid(dxCuadradoTex);
    return t == typeid(dxTriangulo) || t == typeid(dxCuadrado);
}

HRESULT dxBufferColor8::AgregarPoligono(std::unique_ptr<dxPoligono> p) {
    if (!p || !EsDeLaFamilia(p.get()))
        return E_FAIL;
    if (TipoPoligono(p.get()) == 0)
        ++Triangulos;
    else
        ++Cuadrados;
    Poligonos.push_front(std::move(p));
    Modificado = true;
    return D3D_OK;
}

int dxBufferColor8::TipoPoligono(const dxPoligono* p) {
    return dynamic_cast<const dxTriangulo*>(p) ? 0 : 1;
}

uint32_t dxBufferColor8::GetFlags(int i) const {
    if (i < 0 || static_cast<size_t>(i) >= Flags.size())
        return 0;
    return Flags[i];
}

void dxBufferColor8::RotarY(float angulo) {
    D3DXMATRIX r;
    D3DXMatrixRotationY(&r, angulo);
    D3DXMatrixMultiply(&Mundo, &r, &Mundo);
}

D3DXMATRIX* dxBufferColor8::GetMundo(D3DXMATRIX* dst) const {
    *dst = Mundo;
    return dst;
}

void dxBufferColor8::ResetMundo() {
    D3DXMatrixIdentity(&Mundo);
}

bool dxBufferColor8::AlgunaCon(uint32_t banderas) const {
    for (uint32_t f : Flags)
        if ((f & banderas) == banderas)
            return true;
    return false;
}
