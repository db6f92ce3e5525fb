#include "dxDevice8.h"

#include "dxBufferColor8.h"
#include "dxBufferTextura.h"

#include <cstring>
#include <filesystem>
#include <system_error>

namespace {

constexpr int32_t MODO_WIREFRAME = 2;
// Larger pages than any level holds are refused before a byte is read from the caller.
constexpr int32_t LADO_MAXIMO = 4096;

} // namespace

dxDevice8::dxDevice8() {
    D3DXMatrixIdentity(&proyeccion_);
    D3DXMatrixIdentity(&vista_);
}

dxDevice8::~dxDevice8() {
    if (dispositivo_)
        dispositivo_->Release();
}

void dxDevice8::SetDispositivo(IDirect3DDevice8* dispositivo) {
    if (dispositivo_ && dispositivo_ != dispositivo)
        dispositivo_->Release();
    dispositivo_ = dispositivo;
}

HRESULT dxDevice8::SetColorFondo(int32_t rojo, int32_t verde, int32_t azul) {
    rojo_ = rojo;
    verde_ = verde;
    azul_ = azul;
    return D3D_OK;
}

D3DCOLOR dxDevice8::ColorLimpieza() const {
    return 0xFF000000u + (uint32_t(rojo_) & 0xFF) * 65536u + (uint32_t(verde_) & 0xFF) * 256u +
           (uint32_t(azul_) & 0xFF);
}

HRESULT dxDevice8::Limpiar(uint8_t profundidad) {
    if (!dispositivo_)
        return E_FAIL;
    DWORD banderas = profundidad ? D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER : D3DCLEAR_TARGET;
    return dispositivo_->Clear(0, nullptr, banderas, ColorLimpieza(), 1.0f, 0);
}

HRESULT dxDevice8::Presentar() {
    if (!dispositivo_)
        return E_FAIL;
    return dispositivo_->Present(nullptr, nullptr, nullptr, nullptr);
}

HRESULT dxDevice8::SetProyeccion(float cerca, float lejos, float proporcion, float campoVision) {
    if (!dispositivo_)
        return E_FAIL;
    D3DXMatrixPerspectiveFovLH(&proyeccion_, campoVision, proporcion, cerca, lejos);
    return dispositivo_->SetTransform(D3DTS_PROJECTION, &proyeccion_);
}

HRESULT dxDevice8::ActualizarVista() {
    const D3DXVECTOR3 arriba{0, 1, 0};
    D3DXMatrixLookAtLH(&vista_, &ojo_, &objetivo_, &arriba);
    return dispositivo_->SetTransform(D3DTS_VIEW, &vista_);
}

HRESULT dxDevice8::SetObjetivo(float x, float y, float z) {
    if (!dispositivo_)
        return E_FAIL;
    objetivo_ = {x, y, z};
    return ActualizarVista();
}

HRESULT dxDevice8::SetOjo(float x, float y, float z) {
    if (!dispositivo_)
        return E_FAIL;
    ojo_ = {x, y, z};
    return ActualizarVista();
}

IDirect3DTexture8* dxDevice8::TexturaDeArchivo(const char* nombre) {
    if (!dispositivo_ || !nombre || sinArchivo_.contains(nombre))
        return nullptr;
    std::error_code error;
    if (!std::filesystem::is_regular_file(nombre, error)) {
        sinArchivo_.insert(nombre);
        return nullptr;
    }
    IDirect3DTexture8* textura = nullptr;
    if (FAILED(D3DXCreateTextureFromFileExA(dispositivo_, nombre, 256, 256, D3DX_DEFAULT,
                                            D3DUSAGE_DYNAMIC, D3DFMT_UNKNOWN, D3DPOOL_DEFAULT,
                                            D3DX_DEFAULT, D3DX_DEFAULT, 0, nullptr, nullptr,
                                            &textura)))
        return nullptr;
    return textura;
}

IDirect3DTexture8* dxDevice8::TexturaDeMemoria(int32_t ancho, int32_t alto, D3DFORMAT formato,
                                               const uint8_t* texels) {
    if (!dispositivo_ || !texels)
        return nullptr;
    if (formato != D3DFMT_A8R8G8B8 && formato != D3DFMT_X8R8G8B8)
        return nullptr;
    if (ancho <= 0 || alto <= 0 || ancho > LADO_MAXIMO || alto > LADO_MAXIMO)
        return nullptr;

    IDirect3DTexture8* textura = nullptr;
    if (FAILED(D3DXCreateTexture(dispositivo_, UINT(ancho), UINT(alto), 0, 0, formato,
                                 D3DPOOL_MANAGED, &textura)) ||
        !textura)
        return nullptr;

    D3DLOCKED_RECT bloqueo{};
    if (FAILED(textura->LockRect(0, &bloqueo, nullptr, 0)) || !bloqueo.pBits ||
        bloqueo.Pitch < ancho * 4) {
        // A texture nobody could fill would show garbage; better none at all.
        textura->Release();
        return nullptr;
    }
    // Row by row, because a driver may pad its rows beyond width x 4.
    const size_t fila = size_t(ancho) * 4;
    auto* destino = static_cast<uint8_t*>(bloqueo.pBits);
    for (int32_t y = 0; y < alto; ++y)
        std::memcpy(destino + size_t(y) * size_t(bloqueo.Pitch), texels + size_t(y) * fila, fila);
    if (FAILED(textura->UnlockRect(0))) {
        textura->Release();
        return nullptr;
    }
    return textura;
}

HRESULT dxDevice8::CargarBuffer(dxBufferColor8* objeto) {
    if (!dispositivo_ || !objeto)
        return E_FAIL;
    if (objeto->Construir() == -1)
        return E_FAIL;

    const uint64_t largo = uint64_t(objeto->GetNumVertices()) * objeto->GetStride();
    if (largo == 0 || largo > UINT32_MAX || !objeto->GetVertices())
        return E_FAIL;

    IDirect3DVertexBuffer8* nuevo = nullptr;
    if (FAILED(dispositivo_->CreateVertexBuffer(UINT(largo), 0, objeto->GetFVF(), D3DPOOL_DEFAULT,
                                                &nuevo)) ||
        !nuevo)
        return E_FAIL;

    BYTE* destino = nullptr;
    if (FAILED(nuevo->Lock(0, UINT(largo), &destino, 0)) || !destino) {
        nuevo->Release();
        return E_FAIL;
    }
    std::memcpy(destino, objeto->GetVertices(), size_t(largo));
    if (FAILED(nuevo->Unlock())) {
        nuevo->Release();
        return E_FAIL;
    }

    // An object uploaded again lets go of the buffer it had.
    IDirect3DVertexBuffer8* anterior = objeto->GetVertexBuffer();
    objeto->SetVertexBuffer(nuevo);
    if (anterior)
        anterior->Release();
    objeto->LimpiarModificado();
    return D3D_OK;
}

HRESULT dxDevice8::DibujarBuffer(dxBufferColor8* objeto, int32_t modo, Pasada pasada) {
    if (!dispositivo_ || !objeto)
        return E_FAIL;
    if (FAILED(dispositivo_->SetStreamSource(0, objeto->GetVertexBuffer(), objeto->GetStride())))
        return E_FAIL;
    if (FAILED(dispositivo_->SetVertexShader(objeto->GetFVF())))
        return E_FAIL;
    // A state or draw the device refuses does not stop the others, as it never did; it makes the
    // whole draw a failure.
    HRESULT r = D3D_OK;
    auto anotar = [&r](HRESULT h) {
        if (FAILED(h) && SUCCEEDED(r))
            r = h;
    };
    anotar(dispositivo_->SetRenderState(D3DRS_LIGHTING, 0));

    D3DXMATRIX mundo;
    anotar(dispositivo_->SetTransform(D3DTS_WORLD, objeto->GetMundo(&mundo)));
    objeto->ResetMundo();

    const int32_t primitivas = objeto->GetTriangulos() + objeto->GetCuadrados();
    // Faces added since the last upload are counted but not in the device's buffer: drawing stops
    // where the buffer ends instead of letting the driver read past it.
    IDirect3DVertexBuffer8* vb = objeto->GetVertexBuffer();
    const uint64_t enBuffer = vb && objeto->GetStride() ? vb->GetLength() / objeto->GetStride() : 0;
    if (FAILED(dispositivo_->BeginScene()))
        return E_FAIL;

    anotar(dispositivo_->SetTextureStageState(0, D3DTSS_COLOROP, D3DTOP_SELECTARG1));
    anotar(dispositivo_->SetTextureStageState(0, D3DTSS_COLORARG1, D3DTA_TEXTURE));
    anotar(dispositivo_->SetTextureStageState(0, D3DTSS_ALPHAOP, D3DTOP_DISABLE));

    // Blend states are set only where a face needs them and put back after, so an opaque mesh
    // draws with the calls it always made.
    enum { OPACA, RECORTE, ADITIVA };
    int mezcla = OPACA;
    auto mezclar = [&](int nueva) {
        if (nueva == mezcla)
            return;
        const bool recorta = nueva != OPACA, aditiva = nueva == ADITIVA;
        if (recorta != (mezcla != OPACA)) {
            anotar(dispositivo_->SetTextureStageState(0, D3DTSS_ALPHAOP,
                                               recorta ? D3DTOP_SELECTARG1 : D3DTOP_DISABLE));
            if (recorta) {
                anotar(dispositivo_->SetTextureStageState(0, D3DTSS_ALPHAARG1, D3DTA_TEXTURE));
                anotar(dispositivo_->SetRenderState(D3DRS_ALPHAREF, 0));
                anotar(dispositivo_->SetRenderState(D3DRS_ALPHAFUNC, D3DCMP_GREATER));
            }
            anotar(dispositivo_->SetRenderState(D3DRS_ALPHATESTENABLE, recorta));
        }
        if (aditiva != (mezcla == ADITIVA)) {
            if (aditiva) {
                anotar(dispositivo_->SetRenderState(D3DRS_SRCBLEND, D3DBLEND_ONE));
                anotar(dispositivo_->SetRenderState(D3DRS_DESTBLEND, D3DBLEND_ONE));
            }
            anotar(dispositivo_->SetRenderState(D3DRS_ALPHABLENDENABLE, aditiva));
            anotar(dispositivo_->SetRenderState(D3DRS_ZWRITEENABLE, !aditiva));
        }
        mezcla = nueva;
    };

    auto* texturizado = dynamic_cast<dxBufferTextura*>(objeto);
    const bool alambre = modo == MODO_WIREFRAME;
    // The opaque and alpha-tested faces, then the additive ones over the depth they left.
    for (const bool aditivas : {false, true}) {
        if (alambre && aditivas)
            break;
        if ((pasada == Pasada::Opacas && aditivas) || (pasada == Pasada::Aditivas && !aditivas))
            continue;
        UINT inicio = 0;
        for (int32_t i = 0; i < primitivas; ++i) {
            const uint32_t f = objeto->GetFlags(i);
            const UINT lados = (f & FLAG_CUADRADO) ? 4 : 3;
            if (uint64_t{inicio} + lados > enBuffer)
                break;
            const UINT aqui = inicio;
            inicio += lados;
            if (!alambre && ((f & FLAG_ADITIVA) != 0) != aditivas)
                continue;
            anotar(dispositivo_->SetRenderState(D3DRS_FILLMODE,
                                         (f & FLAG_ALAMBRE) ? D3DFILL_WIREFRAME : D3DFILL_SOLID));
            anotar(dispositivo_->SetRenderState(D3DRS_CULLMODE, D3DCULL_NONE));
            if (f & FLAG_CULL_CW)
                anotar(dispositivo_->SetRenderState(D3DRS_CULLMODE, D3DCULL_CW));
            if (f & FLAG_CULL_CCW)
                anotar(dispositivo_->SetRenderState(D3DRS_CULLMODE, D3DCULL_CCW));
            IDirect3DTexture8* textura =
                (f & FLAG_TEXTURADO) && texturizado ? texturizado->GetTextura(i) : nullptr;
            anotar(dispositivo_->SetTexture(0, textura));
            if (alambre) {
                anotar(dispositivo_->SetTexture(0, nullptr));
                anotar(dispositivo_->SetRenderState(D3DRS_FILLMODE, D3DFILL_WIREFRAME));
            } else {
                mezclar((f & FLAG_ADITIVA)   ? ADITIVA
                        : (f & FLAG_RECORTE) ? RECORTE
                                             : OPACA);
            }
            if (f & FLAG_CUADRADO)
                anotar(dispositivo_->DrawPrimitive(D3DPT_TRIANGLESTRIP, aqui, 2));
            else
                anotar(dispositivo_->DrawPrimitive(D3DPT_TRIANGLELIST, aqui, 1));
        }
    }
    mezclar(OPACA);
    return FAILED(dispositivo_->EndScene()) ? E_FAIL : r;
}
