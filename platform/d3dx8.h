#pragma once
// The D3DX 8 helpers the viewer calls: matrices laid out as D3DX lays them out (row-major, row
// vectors, left-handed, clip depth 0..1) and textures made on any device of this layer.
#include "d3d8.h"

constexpr UINT D3DX_DEFAULT = 0xFFFFFFFF;

struct D3DXVECTOR3 {
    float x, y, z;
};

struct D3DXMATRIX : D3DMATRIX {};

struct D3DXIMAGE_INFO;
struct PALETTEENTRY;

D3DXMATRIX* D3DXMatrixIdentity(D3DXMATRIX* pOut);
D3DXMATRIX* D3DXMatrixLookAtLH(D3DXMATRIX* pOut, const D3DXVECTOR3* pEye, const D3DXVECTOR3* pAt,
                               const D3DXVECTOR3* pUp);
D3DXMATRIX* D3DXMatrixPerspectiveFovLH(D3DXMATRIX* pOut, float fovy, float Aspect, float zn,
                                       float zf);
D3DXMATRIX* D3DXMatrixRotationY(D3DXMATRIX* pOut, float Angle);
// pOut may be either operand.
D3DXMATRIX* D3DXMatrixMultiply(D3DXMATRIX* pOut, const D3DXMATRIX* pM1, const D3DXMATRIX* pM2);

[[nodiscard]] HRESULT D3DXCreateTexture(IDirect3DDevice8* pDevice, UINT Width, UINT Height, UINT MipLevels,
                          DWORD Usage, D3DFORMAT Format, D3DPOOL Pool,
                          IDirect3DTexture8** ppTexture);

// Any image stb_image reads (BMP, PNG, TGA, JPEG, ...), scaled to the asked size when one is
// given, stored as D3DFMT_A8R8G8B8. Colour keys and image information are not offered.
[[nodiscard]] HRESULT D3DXCreateTextureFromFileExA(IDirect3DDevice8* pDevice, const char* pSrcFile, UINT Width,
                                     UINT Height, UINT MipLevels, DWORD Usage, D3DFORMAT Format,
                                     D3DPOOL Pool, DWORD Filter, DWORD MipFilter, D3DCOLOR ColorKey,
                                     D3DXIMAGE_INFO* pSrcInfo, PALETTEENTRY* pPalette,
                                     IDirect3DTexture8** ppTexture);
