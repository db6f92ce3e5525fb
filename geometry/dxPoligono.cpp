#include "dxPoligono.h"

dxPoligono::dxPoligono(uint32_t flags, int32_t ultimoIndice)
    : Flags(flags), UltimoIndice(ultimoIndice) {
    D3DXMatrixIdentity(&Matriz1);
    D3DXMatrixIdentity(&Matriz2);
}

HRESULT dxPoligono::Verificar() {
    return UltimoIndice + 1 == NumVertices ? D3D_OK : E_FAIL;
}

HRESULT dxPoligono::PonerPosicion(dxVerticeColor* vertices, float x, float y, float z) {
    if (Lleno())
        return E_FAIL;
    dxVerticeColor& v = vertices[NumVertices];
    v.x = x;
    v.y = y;
    v.z = z;
    return D3D_OK;
}

HRESULT dxPoligono::PonerColor(dxVerticeColor* vertices, uint8_t r, uint8_t g, uint8_t b) {
    if (Lleno())
        return E_FAIL;
    vertices[NumVertices].color = 0xFF000000u | uint32_t{r} << 16 | uint32_t{g} << 8 | b;
    ++NumVertices;
    return D3D_OK;
}

HRESULT dxPoligono::PonerPosicionTex(dxVerticeTextura* vertices, float x, float y, float z) {
    if (Lleno())
        return E_FAIL;
    dxVerticeTextura& v = vertices[NumVertices];
    v.x = x;
    v.y = y;
    v.z = z;
    ++NumVertices;
    return D3D_OK;
}

dxTriangulo::dxTriangulo(uint32_t flags) : dxPoligono(flags, 2) {}

HRESULT dxTriangulo::AgregarVertice(float x, float y, float z) {
    return PonerPosicion(Vertices, x, y, z);
}

HRESULT dxTriangulo::SetColor(uint8_t r, uint8_t g, uint8_t b) {
    return PonerColor(Vertices, r, g, b);
}

dxCuadrado::dxCuadrado(uint32_t flags) : dxPoligono(flags, 3) {}

HRESULT dxCuadrado::AgregarVertice(float x, float y, float z) {
    return PonerPosicion(Vertices, x, y, z);
}

HRESULT dxCuadrado::SetColor(uint8_t r, uint8_t g, uint8_t b) {
    return PonerColor(Vertices, r, g, b);
}

dxTrianguloTex::dxTrianguloTex(uint32_t flags) : dxTriangulo(flags) {}

HRESULT dxTrianguloTex::AgregarVertice(float x, float y, float z) {
    return PonerPosicionTex(VerticesTex, x, y, z);
}

HRESULT dxTrianguloTex::SetTextura(IDirect3DTexture8* pagina, float U0, float V0, float U1,
                                   float V1, float U2, float V2) {
    if (!pagina)
        return E_FAIL;
    Textura = pagina;
    const float uv[3][2] = {{U0, V0}, {U1, V1}, {U2, V2}};
    for (int i = 0; i < 3; ++i) {
        VerticesTex[i].u = uv[i][0];
        VerticesTex[i].v = uv[i][1];
    }
    return D3D_OK;
}

dxCuadradoTex::dxCuadradoTex(uint32_t flags) : dxCuadrado(flags) {}

HRESULT dxCuadradoTex::AgregarVertice(float x, float y, float z) {
    return PonerPosicionTex(VerticesTex, x, y, z);
}

HRESULT dxCuadradoTex::SetTextura(IDirect3DTexture8* pagina, float U0, float V0, float U1, float V1,
                                  float U2, float V2, float U3, float V3) {
    if (!pagina)
        return E_FAIL;
    Textura = pagina;
    const float uv[4][2] = {{U0, V0}, {U1, V1}, {U2, V2}, {U3, V3}};
    for (int i = 0; i < 4; ++i) {
        VerticesTex[i].u = uv[i][0];
        VerticesTex[i].v = uv[i][1];
    }
    return D3D_OK;
}
