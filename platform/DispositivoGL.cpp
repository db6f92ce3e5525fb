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

GLenum FactorMezcla(DWORD d3d) {
    switch (d3d) {
    case D3DBLEND_ZERO:
        return GL_ZERO;
    case D3DBLEND_SRCCOLOR:
        return GL_SRC_COLOR;
    case D3DBLEND_INVSRCCOLOR:
        return GL_ONE_MINUS_SRC_COLOR;
    case D3DBLEND_SRCALPHA:
        return GL_SRC_ALPHA;
    case D3DBLEND_INVSRCALPHA:
        return GL_ONE_MINUS_SRC_ALPHA;
    }
    return GL_ONE;
}

// At stage 0 "current" is the diffuse colour.
GLint Factor(DWORD argumento) {
    return argumento == D3DTA_TEXTURE ? FACTOR_TEXTURA : FACTOR_DIFUSO;
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
    nuevo->programaAplicado_ = programa.nombre;
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
        if (zEscrituraAplicada_ == 0) {
            glDepthMask(GL_TRUE);
            zEscrituraAplicada_ = 1;
        }
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
        relleno_ = Value;
        return D3D_OK;
    case D3DRS_CULLMODE:
        if (Value < D3DCULL_NONE || Value > D3DCULL_CCW)
            return D3DERR_INVALIDCALL;
        cull_ = Value;
        return D3D_OK;
    case D3DRS_ZWRITEENABLE:
        zEscritura_ = Value != 0;
        return D3D_OK;
    case D3DRS_ALPHATESTENABLE:
        pruebaAlfa_ = Value != 0;
        return D3D_OK;
    case D3DRS_ALPHAREF:
        refAlfa_ = Value & 0xFF;
        return D3D_OK;
    case D3DRS_ALPHAFUNC:
        if (Value < D3DCMP_NEVER || Value > D3DCMP_ALWAYS)
            return D3DERR_INVALIDCALL;
        funcAlfa_ = Value;
        return D3D_OK;
    case D3DRS_ALPHABLENDENABLE:
        mezclaAlfa_ = Value != 0;
        return D3D_OK;
    case D3DRS_SRCBLEND:
    case D3DRS_DESTBLEND:
        if (Value < D3DBLEND_ZERO || Value > D3DBLEND_INVSRCALPHA)
            return D3DERR_INVALIDCALL;
        (State == D3DRS_SRCBLEND ? mezclaOrigen_ : mezclaDestino_) = Value;
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
            (Type == D3DTSS_COLOROP ? opColor_ : opAlfa_) = Value;
        return D3D_OK;
    case D3DTSS_COLORARG1:
    case D3DTSS_COLORARG2:
    case D3DTSS_ALPHAARG1:
    case D3DTSS_ALPHAARG2:
        if (!EsArgumento(Value))
            return D3DERR_INVALIDCALL;
        if (Stage == 0)
            (Type == D3DTSS_COLORARG1   ? argColor1_
             : Type == D3DTSS_COLORARG2 ? argColor2_
             : Type == D3DTSS_ALPHAARG1 ? argAlfa1_
                                        : argAlfa2_) = Value;
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
    if (programaAplicado_ != programa_.nombre) {
        contexto_->Emitir();
        glUseProgram(programa_.nombre);
        programaAplicado_ = programa_.nombre;
    }

    const GLenum modo = relleno_ == D3DFILL_WIREFRAME ? GL_LINE
                        : relleno_ == D3DFILL_POINT   ? GL_POINT
                                                      : GL_FILL;
    if (modo != modoPoligonoAplicado_) {
        contexto_->Emitir();
        glPolygonMode(GL_FRONT_AND_BACK, modo);
        modoPoligonoAplicado_ = modo;
    }
    const int cullActivo = cull_ != D3DCULL_NONE;
    if (cullActivo != cullActivoAplicado_) {
        contexto_->Emitir();
        (cullActivo ? glEnable : glDisable)(GL_CULL_FACE);
        cullActivoAplicado_ = cullActivo;
    }
    // Front faces are clockwise, so culling counter-clockwise ones culls the back.
    const GLenum cara = cull_ == D3DCULL_CW ? GL_FRONT : GL_BACK;
    if (cullActivo && cara != caraCullAplicada_) {
        contexto_->Emitir();
        glCullFace(cara);
        caraCullAplicada_ = cara;
    }

    // Without a texture the stage passes the diffuse colour through.
    const TexturaGL* textura = contexto_->textura;
    auto etapa = [textura](DWORD op, DWORD a1, DWORD a2, GLint& f1, GLint& f2, GLint apagada) {
        f1 = textura ? apagada : FACTOR_DIFUSO;
        f2 = FACTOR_UNO;
        if (!textura)
            return;
        switch (op) {
        case D3DTOP_SELECTARG1:
            f1 = Factor(a1);
            break;
        case D3DTOP_SELECTARG2:
            f1 = Factor(a2);
            break;
        case D3DTOP_MODULATE:
            f1 = Factor(a1);
            f2 = Factor(a2);
            break;
        }
    };
    GLint arg1 = FACTOR_DIFUSO, arg2 = FACTOR_UNO, alfa1 = FACTOR_UNO, alfa2 = FACTOR_UNO;
    etapa(opColor_, argColor1_, argColor2_, arg1, arg2, FACTOR_DIFUSO);
    // A disabled alpha stage leaves the diffuse alpha, opaque for every vertex the viewer makes.
    etapa(opAlfa_, argAlfa1_, argAlfa2_, alfa1, alfa2, FACTOR_DIFUSO);
    if (opAlfa_ == D3DTOP_DISABLE) {
        alfa1 = FACTOR_DIFUSO;
        alfa2 = FACTOR_UNO;
    }
    texturaEnUso_ = (arg1 == FACTOR_TEXTURA || arg2 == FACTOR_TEXTURA || alfa1 == FACTOR_TEXTURA ||
                     alfa2 == FACTOR_TEXTURA)
                        ? textura
                        : nullptr;
    if (texturaEnUso_ && contexto_->texturaAplicada != textura->Nombre()) {
        contexto_->Emitir();
        glBindTexture(GL_TEXTURE_2D_ARRAY, textura->Nombre());
        contexto_->texturaAplicada = textura->Nombre();
    }
    if (arg1 != arg1Aplicado_) {
        contexto_->Emitir();
        glUniform1i(programa_.arg1, arg1);
        arg1Aplicado_ = arg1;
    }
    if (arg2 != arg2Aplicado_) {
        contexto_->Emitir();
        glUniform1i(programa_.arg2, arg2);
        arg2Aplicado_ = arg2;
    }
    // Alpha is only read by the test and the blend; with neither it cannot change the picture.
    if (pruebaAlfa_ || mezclaAlfa_) {
        if (alfa1 != alfa1Aplicado_) {
            contexto_->Emitir();
            glUniform1i(programa_.alfa1, alfa1);
            alfa1Aplicado_ = alfa1;
        }
        if (alfa2 != alfa2Aplicado_) {
            contexto_->Emitir();
            glUniform1i(programa_.alfa2, alfa2);
            alfa2Aplicado_ = alfa2;
        }
    }
    const GLint prueba = pruebaAlfa_ ? GLint(funcAlfa_) - 1 : 7;
    if (prueba != pruebaAplicada_) {
        contexto_->Emitir();
        glUniform1i(programa_.pruebaAlfa, prueba);
        pruebaAplicada_ = prueba;
    }
    const float ref = float(refAlfa_) / 255.f;
    if (prueba != 7 && ref != refAplicada_) {
        contexto_->Emitir();
        glUniform1f(programa_.refAlfa, ref);
        refAplicada_ = ref;
    }
    const int z = zEscritura_ ? 1 : 0;
    if (z != zEscrituraAplicada_) {
        contexto_->Emitir();
        glDepthMask(z ? GL_TRUE : GL_FALSE);
        zEscrituraAplicada_ = z;
    }
    const int mezcla = mezclaAlfa_ ? 1 : 0;
    if (mezcla != mezclaAplicada_) {
        contexto_->Emitir();
        (mezcla ? glEnable : glDisable)(GL_BLEND);
        glUniform1i(programa_.mezcla, mezcla);
        mezclaAplicada_ = mezcla;
    }
    const GLenum origen = FactorMezcla(mezclaOrigen_), destino = FactorMezcla(mezclaDestino_);
    if (mezcla && (origen != origenAplicado_ || destino != destinoAplicado_)) {
        contexto_->Emitir();
        glBlendFunc(origen, destino);
        origenAplicado_ = origen;
        destinoAplicado_ = destino;
    }

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
