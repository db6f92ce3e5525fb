#pragma once
// The Direct3D 8 device over OpenGL 3.3. Set* calls only record what was asked; GL is touched at
// Clear and DrawPrimitive, and only where the applied state differs (the viewer sets fill, cull and
// texture before each of hundreds of draws a frame).
#include "EstadoGL.h"
#include "ProgramaGL.h"
#include "RecursosGL.h"
#include "d3d8.h"

#include <memory>

class DispositivoGL final : public IDirect3DDevice8, ContadorReferencias {
  public:
    [[nodiscard]] static HRESULT Crear(SuperficieGL* superficie,
                                       const D3DPRESENT_PARAMETERS& parametros,
                                       IDirect3DDevice8** dispositivo);

    ULONG AddRef() override { return Sumar(); }
    ULONG Release() override;
    [[nodiscard]] HRESULT Clear(DWORD Count, const D3DRECT* pRects, DWORD Flags, D3DCOLOR Color,
                                float Z, DWORD Stencil) override;
    [[nodiscard]] HRESULT Present(const RECT* pSourceRect, const RECT* pDestRect,
                                  HWND hDestWindowOverride, const RGNDATA* pDirtyRegion) override;
    [[nodiscard]] HRESULT SetTransform(D3DTRANSFORMSTATETYPE State,
                                       const D3DMATRIX* pMatrix) override;
    [[nodiscard]] HRESULT CreateVertexBuffer(UINT Length, DWORD Usage, DWORD FVF, D3DPOOL Pool,
                                             IDirect3DVertexBuffer8** ppVertexBuffer) override;
    [[nodiscard]] HRESULT CreateTexture(UINT Width, UINT Height, UINT Levels, DWORD Usage,
                                        D3DFORMAT Format, D3DPOOL Pool,
                                        IDirect3DTexture8** ppTexture) override;
    [[nodiscard]] HRESULT SetStreamSource(UINT StreamNumber, IDirect3DVertexBuffer8* pStreamData,
                                          UINT Stride) override;
    [[nodiscard]] HRESULT SetVertexShader(DWORD Handle) override;
    [[nodiscard]] HRESULT SetRenderState(D3DRENDERSTATETYPE State, DWORD Value) override;
    [[nodiscard]] HRESULT SetTextureStageState(DWORD Stage, D3DTEXTURESTAGESTATETYPE Type,
                                               DWORD Value) override;
    [[nodiscard]] HRESULT SetTexture(DWORD Stage, IDirect3DTexture8* pTexture) override;
    [[nodiscard]] HRESULT BeginScene() override;
    [[nodiscard]] HRESULT EndScene() override;
    [[nodiscard]] HRESULT DrawPrimitive(D3DPRIMITIVETYPE PrimitiveType, UINT StartVertex,
                                        UINT PrimitiveCount) override;

    // For what draws beside the device on its context (LotesGL).
    const std::shared_ptr<ContextoGL>& Contexto() const { return contexto_; }

  private:
    explicit DispositivoGL(std::shared_ptr<ContextoGL> contexto);
    ~DispositivoGL() override;

    void AplicarMarco(bool forzar);
    void AplicarEstado();

    std::shared_ptr<ContextoGL> contexto_;
    ProgramaGL programa_;

    EstadoPedido pedido_;
    EstadoAplicadoGL aplicado_;
    UINT paso_ = 0;
    DWORD fvf_ = 0;
    D3DMATRIX matrices_[3];
    bool matrizPendiente_[3] = {true, true, true};
    bool enEscena_ = false;

    const TexturaGL* texturaEnUso_ = nullptr; // sampled by the draw being issued
    bool marcoConocido_ = false;
    uint32_t marcoAplicado_ = 0;
    int anchoAplicado_ = 0, altoAplicado_ = 0;
};
