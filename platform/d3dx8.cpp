#include "d3dx8.h"

#include <glm/glm.hpp>
#include <glm/gtc/matrix_transform.hpp>
#include <glm/gtc/type_ptr.hpp>
#include <stb_image.h>

#include <algorithm>
#include <bit>
#include <cstring>
#include <memory>
#include <vector>

namespace {

// A GLM matrix holds in memory the same 16 floats as the D3DX matrix it stands for.
D3DXMATRIX* Guardar(D3DXMATRIX* destino, const glm::mat4& m) {
    std::memcpy(destino->m, glm::value_ptr(m), sizeof destino->m);
    return destino;
}

glm::mat4 Leer(const D3DXMATRIX& m) {
    return glm::make_mat4(&m.m[0][0]);
}

glm::vec3 Vector(const D3DXVECTOR3& v) {
    return {v.x, v.y, v.z};
}

constexpr UINT kLadoMaximoTextura = 4096;
constexpr int kLadoMaximoImagen = 16384;

struct LiberarStb {
    void operator()(stbi_uc* p) const { stbi_image_free(p); }
};

// Box filter: each target texel averages the source texels its footprint covers (at least one),
// which also serves enlargement.
std::vector<uint8_t> Escalar(const uint8_t* rgba, int ancho, int alto, UINT nuevoAncho,
                             UINT nuevoAlto) {
    std::vector<uint8_t> salida(size_t(nuevoAncho) * nuevoAlto * 4);
    for (UINT y = 0; y < nuevoAlto; ++y) {
        const int y0 = int(uint64_t(y) * alto / nuevoAlto);
        const int y1 = std::max(y0 + 1, int((uint64_t(y) + 1) * alto / nuevoAlto));
        for (UINT x = 0; x < nuevoAncho; ++x) {
            const int x0 = int(uint64_t(x) * ancho / nuevoAncho);
            const int x1 = std::max(x0 + 1, int((uint64_t(x) + 1) * ancho / nuevoAncho));
            uint64_t suma[4] = {};
            for (int sy = y0; sy < y1; ++sy)
                for (int sx = x0; sx < x1; ++sx)
                    for (int c = 0; c < 4; ++c)
                        suma[c] += rgba[(size_t(sy) * ancho + sx) * 4 + c];
            const uint64_t n = uint64_t(y1 - y0) * (x1 - x0);
            uint8_t* d = &salida[(size_t(y) * nuevoAncho + x) * 4];
            for (int c = 0; c < 4; ++c)
                d[c] = uint8_t((suma[c] + n / 2) / n);
        }
    }
    return salida;
}

} // namespace

D3DXMATRIX* D3DXMatrixIdentity(D3DXMATRIX* pOut) {
    return pOut ? Guardar(pOut, glm::mat4(1.f)) : nullptr;
}

D3DXMATRIX* D3DXMatrixLookAtLH(D3DXMATRIX* pOut, const D3DXVECTOR3* pEye, const D3DXVECTOR3* pAt,
                               const D3DXVECTOR3* pUp) {
    if (!pOut || !pEye || !pAt || !pUp)
        return nullptr;
    return Guardar(pOut, glm::lookAtLH(Vector(*pEye), Vector(*pAt), Vector(*pUp)));
}

D3DXMATRIX* D3DXMatrixPerspectiveFovLH(D3DXMATRIX* pOut, float fovy, float Aspect, float zn,
                                       float zf) {
    if (!pOut)
        return nullptr;
    return Guardar(pOut, glm::perspectiveLH_ZO(fovy, Aspect, zn, zf));
}

D3DXMATRIX* D3DXMatrixRotationY(D3DXMATRIX* pOut, float Angle) {
    if (!pOut)
        return nullptr;
    return Guardar(pOut, glm::rotate(glm::mat4(1.f), Angle, glm::vec3(0.f, 1.f, 0.f)));
}

D3DXMATRIX* D3DXMatrixMultiply(D3DXMATRIX* pOut, const D3DXMATRIX* pM1, const D3DXMATRIX* pM2) {
    if (!pOut || !pM1 || !pM2)
        return nullptr;
    // Row vectors: M1 then M2. GLM sees the transposes, so the order flips.
    return Guardar(pOut, Leer(*pM2) * Leer(*pM1));
}

HRESULT D3DXCreateTexture(IDirect3DDevice8* pDevice, UINT Width, UINT Height, UINT MipLevels,
                          DWORD Usage, D3DFORMAT Format, D3DPOOL Pool,
                          IDirect3DTexture8** ppTexture) {
    if (!pDevice || !ppTexture || Width == 0 || Height == 0 || Width > kLadoMaximoTextura ||
        Height > kLadoMaximoTextura)
        return D3DERR_INVALIDCALL;
    const auto completa = static_cast<UINT>(std::bit_width(std::max(Width, Height)));
    const UINT niveles =
        (MipLevels == 0 || MipLevels == D3DX_DEFAULT) ? completa : std::min(MipLevels, completa);
    if (Format == D3DFMT_UNKNOWN)
        Format = D3DFMT_A8R8G8B8;
    return pDevice->CreateTexture(Width, Height, niveles, Usage, Format, Pool, ppTexture);
}

HRESULT D3DXCreateTextureFromFileExA(IDirect3DDevice8* pDevice, const char* pSrcFile, UINT Width,
                                     UINT Height, UINT MipLevels, DWORD Usage, D3DFORMAT,
                                     D3DPOOL Pool, DWORD, DWORD, D3DCOLOR, D3DXIMAGE_INFO*,
                                     PALETTEENTRY*, IDirect3DTexture8** ppTexture) {
    if (!pDevice || !pSrcFile || !ppTexture)
        return D3DERR_INVALIDCALL;
    // Checking the stated size first keeps a damaged header from asking for gigabytes.
    int ancho = 0, alto = 0, canales = 0;
    if (!stbi_info(pSrcFile, &ancho, &alto, &canales) || ancho < 1 || alto < 1 ||
        ancho > kLadoMaximoImagen || alto > kLadoMaximoImagen)
        return E_FAIL;
    std::unique_ptr<stbi_uc, LiberarStb> imagen(stbi_load(pSrcFile, &ancho, &alto, &canales, 4));
    if (!imagen)
        return E_FAIL;

    auto dado = [](UINT v) { return v != 0 && v != D3DX_DEFAULT; };
    const UINT destinoAncho = dado(Width) ? Width : UINT(ancho);
    const UINT destinoAlto = dado(Height) ? Height : UINT(alto);
    IDirect3DTexture8* textura = nullptr;
    HRESULT hr = D3DXCreateTexture(pDevice, destinoAncho, destinoAlto, MipLevels, Usage,
                                   D3DFMT_A8R8G8B8, Pool, &textura);
    if (FAILED(hr))
        return hr;

    std::vector<uint8_t> escalada;
    const uint8_t* rgba = imagen.get();
    if (destinoAncho != UINT(ancho) || destinoAlto != UINT(alto)) {
        escalada = Escalar(rgba, ancho, alto, destinoAncho, destinoAlto);
        rgba = escalada.data();
    }
    D3DLOCKED_RECT bloqueo{};
    hr = textura->LockRect(0, &bloqueo, nullptr, 0);
    if (FAILED(hr)) {
        textura->Release();
        return hr;
    }
    for (UINT y = 0; y < destinoAlto; ++y) {
        const uint8_t* origen = rgba + size_t(y) * destinoAncho * 4;
        auto* fila = static_cast<uint8_t*>(bloqueo.pBits) + size_t(y) * bloqueo.Pitch;
        for (UINT x = 0; x < destinoAncho; ++x) {
            // A8R8G8B8 lies in memory as B, G, R, A.
            fila[x * 4 + 0] = origen[x * 4 + 2];
            fila[x * 4 + 1] = origen[x * 4 + 1];
            fila[x * 4 + 2] = origen[x * 4 + 0];
            fila[x * 4 + 3] = origen[x * 4 + 3];
        }
    }
    hr = textura->UnlockRect(0);
    if (FAILED(hr)) {
        textura->Release();
        return hr;
    }
    *ppTexture = textura;
    return D3D_OK;
}
