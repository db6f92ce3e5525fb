#include "RecursosGL.h"

#include "SuperficieGL.h"

#include <algorithm>
#include <bit>
#include <cstring>

bool ContextoGL::Activar() {
    return superficie && superficie->HacerActual();
}

UINT NivelesCadenaCompleta(UINT ancho, UINT alto) {
    return static_cast<UINT>(std::bit_width(std::max({ancho, alto, 1u})));
}

// ---- Vertex buffers

HRESULT BufferVerticesGL::Crear(std::shared_ptr<ContextoGL> contexto, UINT longitud,
                                IDirect3DVertexBuffer8** buffer) {
    if (!buffer || longitud == 0)
        return D3DERR_INVALIDCALL;
    if (!contexto->Activar())
        return D3DERR_NOTAVAILABLE;
    auto* nuevo = new BufferVerticesGL(std::move(contexto), longitud);
    while (glGetError() != GL_NO_ERROR) {
    }
    glGenBuffers(1, &nuevo->nombre_);
    glBindBuffer(GL_ARRAY_BUFFER, nuevo->nombre_);
    glBufferData(GL_ARRAY_BUFFER, longitud, nullptr, GL_STATIC_DRAW);
    if (glGetError() != GL_NO_ERROR) {
        nuevo->Release();
        return D3DERR_OUTOFVIDEOMEMORY;
    }
    *buffer = nuevo;
    return D3D_OK;
}

BufferVerticesGL::BufferVerticesGL(std::shared_ptr<ContextoGL> contexto, UINT longitud)
    : contexto_(std::move(contexto)), longitud_(longitud) {}

BufferVerticesGL::~BufferVerticesGL() {
    if (contexto_->flujo == this)
        contexto_->flujo = nullptr;
    if (!contexto_->Activar())
        return;
    if (vao_ != 0) {
        if (contexto_->vaoAplicado == vao_)
            contexto_->vaoAplicado = 0;
        glDeleteVertexArrays(1, &vao_);
    }
    glDeleteBuffers(1, &nombre_);
}

ULONG BufferVerticesGL::Release() {
    ULONG quedan = Restar();
    if (quedan == 0)
        delete this;
    return quedan;
}

HRESULT BufferVerticesGL::Lock(UINT OffsetToLock, UINT SizeToLock, BYTE** ppbData, DWORD) {
    if (!ppbData || bloqueado_ || OffsetToLock >= longitud_)
        return D3DERR_INVALIDCALL;
    UINT tamano = SizeToLock == 0 ? longitud_ - OffsetToLock : SizeToLock;
    if (tamano > longitud_ - OffsetToLock)
        return D3DERR_INVALIDCALL;
    if (!contexto_->Activar())
        return D3DERR_INVALIDCALL;
    // Locking keeps what the buffer holds, as Direct3D does without a discard flag; a buffer
    // never written (every upload of a mesh) skips the read-back.
    copia_.assign(tamano, 0);
    if (escrito_) {
        glBindBuffer(GL_ARRAY_BUFFER, nombre_);
        glGetBufferSubData(GL_ARRAY_BUFFER, OffsetToLock, tamano, copia_.data());
    }
    desde_ = OffsetToLock;
    bloqueado_ = true;
    *ppbData = copia_.data();
    return D3D_OK;
}

HRESULT BufferVerticesGL::Unlock() {
    if (!bloqueado_)
        return D3DERR_INVALIDCALL;
    bloqueado_ = false;
    HRESULT hr = D3DERR_INVALIDCALL;
    if (contexto_->Activar()) {
        glBindBuffer(GL_ARRAY_BUFFER, nombre_);
        glBufferSubData(GL_ARRAY_BUFFER, desde_, copia_.size(), copia_.data());
        escrito_ = true;
        hr = D3D_OK;
    }
    std::vector<BYTE>().swap(copia_);
    return hr;
}

void BufferVerticesGL::Enlazar(DWORD fvf, UINT paso) {
    if (vao_ == 0)
        glGenVertexArrays(1, &vao_);
    if (contexto_->vaoAplicado != vao_) {
        glBindVertexArray(vao_);
        contexto_->vaoAplicado = vao_;
    }
    if (fvf == fvfVao_ && paso == pasoVao_)
        return;
    fvfVao_ = fvf;
    pasoVao_ = paso;
    glBindBuffer(GL_ARRAY_BUFFER, nombre_);
    glEnableVertexAttribArray(0);
    glVertexAttribPointer(0, 3, GL_FLOAT, GL_FALSE, paso, nullptr);
    uintptr_t desplazamiento = 12;
    // Without an array the diffuse input reads the constant white the device set.
    if (fvf & D3DFVF_DIFFUSE) {
        glEnableVertexAttribArray(1);
        glVertexAttribPointer(1, GL_BGRA, GL_UNSIGNED_BYTE, GL_TRUE, paso,
                              reinterpret_cast<const void*>(desplazamiento));
        desplazamiento += 4;
    } else {
        glDisableVertexAttribArray(1);
    }
    if (fvf & D3DFVF_TEX1) {
        glEnableVertexAttribArray(2);
        glVertexAttribPointer(2, 2, GL_FLOAT, GL_FALSE, paso,
                              reinterpret_cast<const void*>(desplazamiento));
    } else {
        glDisableVertexAttribArray(2);
    }
}

// ---- Textures

HRESULT TexturaGL::Crear(std::shared_ptr<ContextoGL> contexto, UINT ancho, UINT alto, UINT niveles,
                         DWORD uso, D3DFORMAT formato, D3DPOOL pool, IDirect3DTexture8** textura) {
    if (!textura || ancho == 0 || alto == 0)
        return D3DERR_INVALIDCALL;
    if (formato == D3DFMT_UNKNOWN)
        formato = D3DFMT_A8R8G8B8;
    if (formato != D3DFMT_A8R8G8B8 && formato != D3DFMT_X8R8G8B8)
        return D3DERR_INVALIDCALL;
    UINT completa = NivelesCadenaCompleta(ancho, alto);
    if (niveles == 0)
        niveles = completa;
    if (niveles > completa)
        return D3DERR_INVALIDCALL;
    if (!contexto->Activar())
        return D3DERR_NOTAVAILABLE;
    GLint maximo = 0;
    glGetIntegerv(GL_MAX_TEXTURE_SIZE, &maximo);
    if (ancho > static_cast<UINT>(maximo) || alto > static_cast<UINT>(maximo))
        return D3DERR_INVALIDCALL;

    D3DSURFACE_DESC desc{formato, uso, pool, ancho, alto};
    auto* nueva = new TexturaGL(contexto, desc, niveles);
    while (glGetError() != GL_NO_ERROR) {
    }
    glGenTextures(1, &nueva->nombre_);
    glBindTexture(GL_TEXTURE_2D, nueva->nombre_);
    contexto->texturaAplicada = nueva->nombre_;
    // Direct3D's sampler defaults; only level 0 is ever filled, so GL never looks below it.
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_REPEAT);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_REPEAT);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_BASE_LEVEL, 0);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAX_LEVEL, 0);
    if (formato == D3DFMT_X8R8G8B8)
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_SWIZZLE_A, GL_ONE);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, ancho, alto, 0, GL_BGRA, GL_UNSIGNED_BYTE, nullptr);
    if (glGetError() != GL_NO_ERROR) {
        nueva->Release();
        return D3DERR_OUTOFVIDEOMEMORY;
    }
    *textura = nueva;
    return D3D_OK;
}

TexturaGL::TexturaGL(std::shared_ptr<ContextoGL> contexto, D3DSURFACE_DESC desc, UINT niveles)
    : contexto_(std::move(contexto)), desc_(desc), niveles_(niveles) {}

TexturaGL::~TexturaGL() {
    if (contexto_->textura == this)
        contexto_->textura = nullptr;
    if (!contexto_->Activar())
        return;
    // GL unbinds a deleted texture; a later texture may reuse the name.
    if (contexto_->texturaAplicada == nombre_)
        contexto_->texturaAplicada = 0;
    glDeleteTextures(1, &nombre_);
}

ULONG TexturaGL::Release() {
    ULONG quedan = Restar();
    if (quedan == 0)
        delete this;
    return quedan;
}

HRESULT TexturaGL::GetLevelDesc(UINT Level, D3DSURFACE_DESC* pDesc) {
    if (!pDesc || Level >= niveles_)
        return D3DERR_INVALIDCALL;
    *pDesc = desc_;
    pDesc->Width = std::max(desc_.Width >> Level, 1u);
    pDesc->Height = std::max(desc_.Height >> Level, 1u);
    return D3D_OK;
}

HRESULT TexturaGL::LockRect(UINT Level, D3DLOCKED_RECT* pLockedRect, const RECT* pRect, DWORD) {
    if (!pLockedRect || Level != 0 || bloqueada_)
        return D3DERR_INVALIDCALL;
    const auto ancho = static_cast<int32_t>(desc_.Width);
    const auto alto = static_cast<int32_t>(desc_.Height);
    RECT r = pRect ? *pRect : RECT{0, 0, ancho, alto};
    if (r.left < 0 || r.top < 0 || r.left >= r.right || r.top >= r.bottom || r.right > ancho ||
        r.bottom > alto)
        return D3DERR_INVALIDCALL;
    if (!contexto_->Activar())
        return D3DERR_INVALIDCALL;
    // The whole level is staged so a partial lock keeps the rest of the image on upload.
    copia_.assign(size_t(ancho) * alto * 4, 0);
    if (escrita_) { // a new page has nothing to keep: its first fill reads nothing back
        if (contexto_->texturaAplicada != nombre_) {
            glBindTexture(GL_TEXTURE_2D, nombre_);
            contexto_->texturaAplicada = nombre_;
        }
        glPixelStorei(GL_PACK_ALIGNMENT, 4);
        glGetTexImage(GL_TEXTURE_2D, 0, GL_BGRA, GL_UNSIGNED_BYTE, copia_.data());
    }
    bloqueada_ = true;
    pLockedRect->Pitch = ancho * 4;
    pLockedRect->pBits = copia_.data() + (size_t(r.top) * ancho + r.left) * 4;
    return D3D_OK;
}

HRESULT TexturaGL::UnlockRect(UINT Level) {
    if (Level != 0 || !bloqueada_)
        return D3DERR_INVALIDCALL;
    bloqueada_ = false;
    HRESULT hr = D3DERR_INVALIDCALL;
    if (contexto_->Activar()) {
        if (contexto_->texturaAplicada != nombre_) {
            glBindTexture(GL_TEXTURE_2D, nombre_);
            contexto_->texturaAplicada = nombre_;
        }
        glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
        glTexSubImage2D(GL_TEXTURE_2D, 0, 0, 0, desc_.Width, desc_.Height, GL_BGRA,
                        GL_UNSIGNED_BYTE, copia_.data());
        escrita_ = true;
        hr = D3D_OK;
    }
    std::vector<BYTE>().swap(copia_);
    return hr;
}
