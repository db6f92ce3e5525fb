#include "DispositivoGL.h"

#include "SuperficieGL.h"

#include <algorithm>
#include <cstring>

namespace {

bool TieneExtension(const char* nombre) {
    GLint n = 0;
    glGetIntegerv(GL_NUM_EXTENSIONS, &n);
    for (GLint i = 0; i < n; ++i) {
        auto* e = reinterpret_cast<const char*>(glGetStringi(GL_EXTENSIONS, i));
        if (e && std::strcmp(e, nombre) == 0)
            return true;
    }
    return false;
}

int IndiceMatriz(D3DTRANSFORMSTATETYPE estado) {
    switch (estado) {
    case D3DTS_WORLD:
        return 0;
    case D3DTS_VIEW:
        return 1;
    case D3DTS_PROJECTION:
        return 2;
    }
    return -1;
}

UINT TamanoVertice(DWORD fvf) {
    switch (fvf) {
    case D3DFVF_XYZ | D3DFVF_DIFFUSE:
        return 16;
    case D3DFVF_XYZ | D3DFVF_TEX1:
        return 20;
    }
    return 0;
}

bool EsOperacion(DWORD v) {
    return v >= D3DTOP_DISABLE && v <= D3DTOP_MODULATE;
}
bool EsArgumento(DWORD v) {
    return v == D3DTA_DIFFUSE || v == D3DTA_CURRENT || v == D3DTA_TEXTURE;
}

} // namespace

HRESULT DispositivoGL::Crear(SuperficieGL* superficie, const D3DPRESENT_PARAMETERS& parametros,
                             IDirect3DDevice8** dispositivo) {
    if (!superficie || !dispositivo)
        return D3DERR_INVALIDCALL;
    if (!superficie->HacerActual())
        return D3DERR_NOTAVAILABLE;
    GLint mayor = 0, menor = 0;
    glGetIntegerv(GL_MAJOR_VERSION, &mayor);
    glGetIntegerv(GL_MINOR_VERSION, &menor);
    const int version = mayor * 10 + menor;
    if (version < 33)
        return D3DERR_NOTAVAILABLE;
    const bool controlRecorte = version >= 45 || TieneExtension("GL_ARB_clip_control");
    ProgramaGL programa;
    if (!CrearProgramaGL(!controlRecorte, programa, nullptr))
        return D3DERR_NOTAVAILABLE;

    // Fixed for the device's life: Direct3D's depth range, winding and depth test.
    if (controlRecorte)
        glClipControl(GL_LOWER_LEFT, GL_ZERO_TO_ONE);
    glFrontFace(GL_CW);
    if (parametros.EnableAutoDepthStencil) {
        glEnable(GL_DEPTH_TEST);
        glDepthFunc(GL_LEQUAL);
    } else {
        glDisable(GL_DEPTH_TEST);
    }
    glDepthMask(GL_TRUE);
    glDisable(GL_BLEND);
    glDisable(GL_SCISSOR_TEST);
    glActiveTexture(GL_TEXTURE0);
    glBindTexture(GL_TEXTURE_2D_ARRAY, 0);
    glBindVertexArray(0);
    // Formats without diffuse read this value: opaque white.
    glVertexAttrib4f(ATRIBUTO_DIFUSO, 1.f, 1.f, 1.f, 1.f);

    auto contexto = std::make_shared<ContextoGL>();
    contexto->superficie = superficie;
    auto* nuevo = new DispositivoGL(std::move(contexto));
    nuevo->programa_ = programa;
    nuevo->aplicado_.ProgramaEnUso(programa.nombre);
    *dispositivo = nuevo;
    return D3D_OK;
}

DispositivoGL::DispositivoGL(std::shared_ptr<ContextoGL> contexto)
    : contexto_(std::move(contexto)) {
    for (auto& m : matrices_) {
        m = {};
        for (int i = 0; i < 4; ++i)
            m.m[i][i] = 1.f;
    }
}

DispositivoGL::~DispositivoGL() {
    contexto_->textura = nullptr;
    contexto_->flujo = nullptr;
    if (contexto_->Activar()) {
        contexto_->Emitir();
        glDeleteProgram(programa_.nombre);
        glDeleteProgram(contexto_->programaLotes.nombre);
    }
    contexto_->superficie = nullptr;
}

ULONG DispositivoGL::Release() {
    ULONG quedan = Restar();
    if (quedan == 0)
        delete this;
    return quedan;
}

void DispositivoGL::AplicarMarco(bool forzar) {
    SuperficieGL& s = *contexto_->superficie;
    const uint32_t marco = s.Framebuffer();
    if (forzar || !marcoConocido_ || marco != marcoAplicado_) {
        contexto_->Emitir();
        glBindFramebuffer(GL_DRAW_FRAMEBUFFER, marco);
        marcoAplicado_ = marco;
        marcoConocido_ = true;
    }
    const int ancho = s.Ancho(), alto = s.Alto();
    if (forzar || ancho != anchoAplicado_ || alto != altoAplicado_) {
        contexto_->Emitir();
        glViewport(0, 0, ancho, alto);
        anchoAplicado_ = ancho;
        altoAplicado_ = alto;
    }
}

HRESULT DispositivoGL::Clear(DWORD Count, const D3DRECT* pRects, DWORD Flags, D3DCOLOR Color,
                             float Z, DWORD) {
    if (Count > 0 && !pRects)
        return D3DERR_INVALIDCALL;
    if (!contexto_->Activar())
        return D3DERR_NOTAVAILABLE;
    AplicarMarco(true);
    GLbitfield mascara = 0;
    if (Flags & D3DCLEAR_TARGET) {
        glClearColor(((Color >> 16) & 0xFF) / 255.f, ((Color >> 8) & 0xFF) / 255.f,
                     (Color & 0xFF) / 255.f, (Color >> 24) / 255.f);
        mascara |= GL_COLOR_BUFFER_BIT;
    }
    if (Flags & D3DCLEAR_ZBUFFER) {
        glClearDepth(std::clamp(Z, 0.f, 1.f));
        mascara |= GL_DEPTH_BUFFER_BIT;
        // Direct3D clears depth whatever D3DRS_ZWRITEENABLE says; GL's clear obeys the mask.
        aplicado_.AbrirEscrituraZ();
    }
    if (mascara == 0)
        return D3D_OK;
    if (Count == 0) {
        glClear(mascara);
        return D3D_OK;
    }
    // Rectangles count from the top-left corner; GL's scissor from the bottom-left.
    glEnable(GL_SCISSOR_TEST);
    for (DWORD i = 0; i < Count; ++i) {
        const D3DRECT& r = pRects[i];
        const int x1 = std::max(r.x1, 0), y1 = std::max(r.y1, 0);
        const int x2 = std::min(r.x2, anchoAplicado_), y2 = std::min(r.y2, altoAplicado_);
        if (x1 >= x2 || y1 >= y2)
            continue;
        glScissor(x1, altoAplicado_ - y2, x2 - x1, y2 - y1);
        glClear(mascara);
    }
    glDisable(GL_SCISSOR_TEST);
    return D3D_OK;
}

HRESULT DispositivoGL::Present(const RECT*, const RECT*, HWND, const RGNDATA*) {
    if (!contexto_->Activar())
        return D3DERR_NOTAVAILABLE;
    contexto_->Emitir();
    contexto_->superficie->Intercambiar();
    marcoConocido_ = false;
    return D3D_OK;
}

HRESULT DispositivoGL::SetTransform(D3DTRANSFORMSTATETYPE State, const D3DMATRIX* pMatrix) {
    const int i = IndiceMatriz(State);
    if (i < 0 || !pMatrix)
        return D3DERR_INVALIDCALL;
    if (std::memcmp(&matrices_[i], pMatrix, sizeof(D3DMATRIX)) != 0) {
        matrices_[i] = *pMatrix;
        matrizPendiente_[i] = true;
    }
    return D3D_OK;
}

HRESULT DispositivoGL::CreateVertexBuffer(UINT Length, DWORD, DWORD, D3DPOOL,
                                          IDirect3DVertexBuffer8** ppVertexBuffer) {
    return BufferVerticesGL::Crear(contexto_, Length, ppVertexBuffer);
}

HRESULT DispositivoGL::CreateTexture(UINT Width, UINT Height, UINT Levels, DWORD Usage,
                                     D3DFORMAT Format, D3DPOOL Pool,
                                     IDirect3DTexture8** ppTexture) {
    return TexturaGL::Crear(contexto_, Width, Height, Levels, Usage, Format, Pool, ppTexture);
}

HRESULT DispositivoGL::SetStreamSource(UINT StreamNumber, IDirect3DVertexBuffer8* pStreamData,
                                       UINT Stride) {
    if (StreamNumber != 0)
        return D3DERR_INVALIDCALL;
    auto* buffer = dynamic_cast<BufferVerticesGL*>(pStreamData);
    if (pStreamData && (!buffer || buffer->Contexto() != contexto_.get()))
        return D3DERR_INVALIDCALL;
    contexto_->flujo = buffer;
    paso_ = Stride;
    return D3D_OK;
}

HRESULT DispositivoGL::SetVertexShader(DWORD Handle) {
    if (TamanoVertice(Handle) == 0)
        return D3DERR_INVALIDCALL;
    fvf_ = Handle;
    return D3D_OK;
}

HRESULT DispositivoGL::SetRenderState(D3DRENDERSTATETYPE State, DWORD Value) {
    switch (State) {
    case D3DRS_LIGHTING:
        return D3D_OK; // vertex colours are never lit
    case D3DRS_FILLMODE:
        if (Value < D3DFILL_POINT || Value > D3DFILL_SOLID)
            return D3DERR_INVALIDCALL;
        pedido_.relleno = Value;
        return D3D_OK;
    case D3DRS_CULLMODE:
        if (Value < D3DCULL_NONE || Value > D3DCULL_CCW)
            return D3DERR_INVALIDCALL;
        pedido_.cull = Value;
        return D3D_OK;
    case D3DRS_ZWRITEENABLE:
        pedido_.zEscritura = Value != 0;
        return D3D_OK;
    case D3DRS_ALPHATESTENABLE:
        pedido_.pruebaAlfa = Value != 0;
        return D3D_OK;
    case D3DRS_ALPHAREF:
        pedido_.refAlfa = Value & 0xFF;
        return D3D_OK;
    case D3DRS_ALPHAFUNC:
        if (Value < D3DCMP_NEVER || Value > D3DCMP_ALWAYS)
            return D3DERR_INVALIDCALL;
        pedido_.funcAlfa = Value;
        return D3D_OK;
    case D3DRS_ALPHABLENDENABLE:
        pedido_.mezclaAlfa = Value != 0;
        return D3D_OK;
    case D3DRS_SRCBLEND:
    case D3DRS_DESTBLEND:
        if (Value < D3DBLEND_ZERO || Value > D3DBLEND_INVSRCALPHA)
            return D3DERR_INVALIDCALL;
        (State == D3DRS_SRCBLEND ? pedido_.mezclaOrigen : pedido_.mezclaDestino) = Value;
        return D3D_OK;
    }
    return D3DERR_INVALIDCALL;
}

HRESULT DispositivoGL::SetTextureStageState(DWORD Stage, D3DTEXTURESTAGESTATETYPE Type,
                                            DWORD Value) {
    // Later stages are accepted (callers commonly switch stage 1 off) but only stage 0 draws.
    if (Stage >= 8)
        return D3DERR_INVALIDCALL;
    switch (Type) {
    case D3DTSS_COLOROP:
    case D3DTSS_ALPHAOP:
        if (!EsOperacion(Value))
            return D3DERR_INVALIDCALL;
        if (Stage == 0)
            (Type == D3DTSS_COLOROP ? pedido_.opColor : pedido_.opAlfa) = Value;
        return D3D_OK;
    case D3DTSS_COLORARG1:
    case D3DTSS_COLORARG2:
    case D3DTSS_ALPHAARG1:
    case D3DTSS_ALPHAARG2:
        if (!EsArgumento(Value))
            return D3DERR_INVALIDCALL;
        if (Stage == 0)
            (Type == D3DTSS_COLORARG1   ? pedido_.argColor1
             : Type == D3DTSS_COLORARG2 ? pedido_.argColor2
             : Type == D3DTSS_ALPHAARG1 ? pedido_.argAlfa1
                                        : pedido_.argAlfa2) = Value;
        return D3D_OK;
    }
    return D3DERR_INVALIDCALL;
}

HRESULT DispositivoGL::SetTexture(DWORD Stage, IDirect3DTexture8* pTexture) {
    if (Stage != 0)
        return pTexture ? D3DERR_INVALIDCALL : D3D_OK;
    auto* textura = dynamic_cast<TexturaGL*>(pTexture);
    if (pTexture && (!textura || textura->Contexto() != contexto_.get()))
        return D3DERR_INVALIDCALL;
    contexto_->textura = textura;
    return D3D_OK;
}

HRESULT DispositivoGL::BeginScene() {
    if (enEscena_)
        return D3DERR_INVALIDCALL;
    enEscena_ = true;
    // The surface may have been resized or rebound since the last frame.
    marcoConocido_ = false;
    return D3D_OK;
}

HRESULT DispositivoGL::EndScene() {
    if (!enEscena_)
        return D3DERR_INVALIDCALL;
    enEscena_ = false;
    // What the scene drew is on the surface once it ends, for whoever reads it back.
    if (contexto_->Activar())
        contexto_->Emitir();
    return D3D_OK;
}

void DispositivoGL::AplicarEstado() {
    AplicarMarco(false);
    texturaEnUso_ = aplicado_.Aplicar(pedido_, *contexto_, programa_);
    const GLint ubicaciones[3] = {programa_.mundo, programa_.vista, programa_.proyeccion};
    for (int i = 0; i < 3; ++i) {
        if (matrizPendiente_[i]) {
            contexto_->Emitir();
            glUniformMatrix4fv(ubicaciones[i], 1, GL_FALSE, &matrices_[i].m[0][0]);
            matrizPendiente_[i] = false;
        }
    }
}

HRESULT DispositivoGL::DrawPrimitive(D3DPRIMITIVETYPE PrimitiveType, UINT StartVertex,
                                     UINT PrimitiveCount) {
    const uint64_t n = PrimitiveCount;
    uint64_t vertices = 0;
    GLenum modo = 0;
    switch (PrimitiveType) {
    case D3DPT_POINTLIST:
        modo = GL_POINTS, vertices = n;
        break;
    case D3DPT_LINELIST:
        modo = GL_LINES, vertices = 2 * n;
        break;
    case D3DPT_LINESTRIP:
        modo = GL_LINE_STRIP, vertices = n + 1;
        break;
    case D3DPT_TRIANGLELIST:
        modo = GL_TRIANGLES, vertices = 3 * n;
        break;
    case D3DPT_TRIANGLESTRIP:
        modo = GL_TRIANGLE_STRIP, vertices = n + 2;
        break;
    case D3DPT_TRIANGLEFAN:
        modo = GL_TRIANGLE_FAN, vertices = n + 2;
        break;
    default:
        return D3DERR_INVALIDCALL;
    }
    BufferVerticesGL* flujo = contexto_->flujo;
    const UINT tamano = TamanoVertice(fvf_);
    if (!flujo || tamano == 0 || paso_ < tamano)
        return D3DERR_INVALIDCALL;
    if (PrimitiveCount == 0)
        return D3D_OK;
    // GL must never read past the buffer.
    const uint64_t fin = (StartVertex + vertices - 1) * paso_ + tamano;
    if (fin > flujo->GetLength() || StartVertex > INT32_MAX || vertices > INT32_MAX)
        return D3DERR_INVALIDCALL;
    if (!contexto_->Activar())
        return D3DERR_NOTAVAILABLE;
    AplicarEstado();
    flujo->Enlazar(fvf_, paso_);
    if (texturaEnUso_)
        flujo->PonerCapa(static_cast<UINT>(StartVertex), static_cast<UINT>(vertices),
                         static_cast<float>(texturaEnUso_->Capa()));
    // A lone triangle is the strip of its three vertices, so it joins its neighbours' batch.
    if (modo == GL_TRIANGLES && vertices == 3)
        modo = GL_TRIANGLE_STRIP;
    contexto_->Encolar(modo, static_cast<GLint>(StartVertex), static_cast<GLsizei>(vertices));
    if (!enEscena_)
        contexto_->Emitir();
    return D3D_OK;
}
