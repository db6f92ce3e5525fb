#pragma once
// Device objects the geometry only stores and hands back; nothing here is ever drawn.
#include "d3d8.h"

class TexturaFalsa : public IDirect3DTexture8 {
  public:
    ULONG AddRef() override { return 1; }
    ULONG Release() override { return 1; }
    DWORD GetLevelCount() override { return 1; }
    HRESULT GetLevelDesc(UINT, D3DSURFACE_DESC*) override { return E_FAIL; }
    HRESULT LockRect(UINT, D3DLOCKED_RECT*, const RECT*, DWORD) override { return E_FAIL; }
    HRESULT UnlockRect(UINT) override { return E_FAIL; }
};

class VertexBufferFalso : public IDirect3DVertexBuffer8 {
  public:
    ULONG AddRef() override { return ++Referencias; }
    ULONG Release() override {
        ++Liberaciones;
        return --Referencias;
    }
    HRESULT Lock(UINT, UINT, BYTE**, DWORD) override { return E_FAIL; }
    HRESULT Unlock() override { return E_FAIL; }
    UINT GetLength() override { return 0; }

    ULONG Referencias = 1;
    int Liberaciones = 0;
};
