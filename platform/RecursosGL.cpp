#include "RecursosGL.h"

#include "ProgramaGL.h"
#include "SuperficieGL.h"

#include <algorithm>
#include <bit>
#include <cstring>

bool ContextoGL::Activar() {
    return superficie && superficie->HacerActual();
}

void ContextoGL::Encolar(GLenum modo, GLint primero, GLsizei cuantos) {
    if (modo != modoPendiente)
        Emitir();
    modoPendiente = modo;
    primerosPendientes.push_back(primero);
    cuantosPendientes.push_back(cuantos);
}

void ContextoGL::Emitir() {
    if (primerosPendientes.empty())
        return;
    if (primerosPendientes.size() == 1)
        glDrawArrays(modoPendiente, primerosPendientes[0], cuantosPendientes[0]);
    else
        glMultiDrawArrays(modoPendiente, primerosPendientes.data(), cuantosPendientes.data(),
                          static_cast<GLsizei>(primerosPendientes.size()));
    primerosPendientes.clear();
    cuantosPendientes.clear();
}

namespace {

// Attaches one layer of an array to a framebuffer of its own for reading, and puts the read
// binding back after: the device and LeerPixeles only ever set it themselves before reading.
class LecturaCapa {
  public:
    LecturaCapa() {
        glGetIntegerv(GL_READ_FRAMEBUFFER_BINDING, &previo_);
        glGenFramebuffers(1, &marco_);
        glBindFramebuffer(GL_READ_FRAMEBUFFER, marco_);
    }
    ~LecturaCapa() {
        glBindFramebuffer(GL_READ_FRAMEBUFFER, static_cast<GLuint>(previo_));
        glDeleteFramebuffers(1, &marco_);
    }
    void Capa(GLuint arreglo, UINT capa) {
        glFramebufferTextureLayer(GL_READ_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, arreglo, 0,
                                  static_cast<GLint>(capa));
    }

  private:
    GLint previo_ = 0;
    GLuint marco_ = 0;
};

// Layers one array may hold: enough that a level's pages share one, never one allocation past
// 64 MiB.
UINT LimiteCapas(UINT ancho, UINT alto) {
    GLint maximo = 1;
    glGetIntegerv(GL_MAX_ARRAY_TEXTURE_LAYERS, &maximo);
    const uint64_t porCapa = uint64_t{ancho} * alto * 4;
    const uint64_t cabe = std::max<uint64_t>((uint64_t{64} << 20) / porCapa, 1);
    return static_cast<UINT>(std::min<uint64_t>(cabe, static_cast<uint64_t>(std::max(maximo, 1))));
}

} // namespace

bool ContextoGL::ReservarCapa(UINT ancho, UINT alto, D3DFORMAT formato, ArregloTexturasGL*& arreglo,
                              UINT& capa) {
    Emitir();
    const UINT limite = LimiteCapas(ancho, alto);
    ArregloTexturasGL* elegido = nullptr;
    for (auto& a : arreglos) {
        if (a->ancho != ancho || a->alto != alto || a->formato != formato)
            continue;
        auto libre = std::find(a->ocupadas.begin(), a->ocupadas.end(), false);
        if (libre != a->ocupadas.end()) {
            *libre = true;
            arreglo = a.get();
            capa = static_cast<UINT>(libre - a->ocupadas.begin());
            return true;
        }
        if (a->ocupadas.size() < limite)
            elegido = a.get();
    }
    const UINT antes = elegido ? static_cast<UINT>(elegido->ocupadas.size()) : 0;
    // A first array holds a level's worth of pages in a few doublings, and never takes more than
    // 8 MiB ahead of what was asked.
    const uint64_t porCapa = uint64_t{ancho} * alto * 4;
    const UINT primera =
        static_cast<UINT>(std::clamp<uint64_t>((uint64_t{8} << 20) / porCapa, 1, 8));
    const UINT capacidad = std::min(std::max(2 * antes, primera), limite);

    while (glGetError() != GL_NO_ERROR) {
    }
    GLuint nombre = 0;
    glGenTextures(1, &nombre);
    glBindTexture(GL_TEXTURE_2D_ARRAY, nombre);
    texturaAplicada = nombre;
    MuestreoPaginasGL();
    if (formato == D3DFMT_X8R8G8B8)
        glTexParameteri(GL_TEXTURE_2D_ARRAY, GL_TEXTURE_SWIZZLE_A, GL_ONE);
    glTexImage3D(GL_TEXTURE_2D_ARRAY, 0, GL_RGBA8, ancho, alto, capacidad, 0, GL_BGRA,
                 GL_UNSIGNED_BYTE, nullptr);
    if (glGetError() != GL_NO_ERROR) {
        glDeleteTextures(1, &nombre);
        texturaAplicada = 0;
        return false;
    }
    if (elegido) {
        // Growing keeps the layers in place, so textures keep their layer and read their array's
        // new name.
        LecturaCapa lectura;
        for (UINT c = 0; c < antes; ++c) {
            lectura.Capa(elegido->nombre, c);
            glCopyTexSubImage3D(GL_TEXTURE_2D_ARRAY, 0, 0, 0, static_cast<GLint>(c), 0, 0,
                                static_cast<GLsizei>(ancho), static_cast<GLsizei>(alto));
        }
        glDeleteTextures(1, &elegido->nombre);
        elegido->nombre = nombre;
    } else {
        auto nuevo = std::make_unique<ArregloTexturasGL>();
        nuevo->nombre = nombre;
        nuevo->ancho = ancho;
        nuevo->alto = alto;
        nuevo->formato = formato;
        elegido = nuevo.get();
        arreglos.push_back(std::move(nuevo));
    }
    elegido->ocupadas.resize(capacidad, false);
    elegido->ocupadas[antes] = true;
    arreglo = elegido;
    capa = antes;
    return true;
}

void ContextoGL::LiberarCapa(ArregloTexturasGL* arreglo, UINT capa) {
    auto it = std::find_if(arreglos.begin(), arreglos.end(),
                           [&](const auto& a) { return a.get() == arreglo; });
    if (it == arreglos.end() || capa >= arreglo->ocupadas.size())
        return;
    arreglo->ocupadas[capa] = false;
    if (std::find(arreglo->ocupadas.begin(), arreglo->ocupadas.end(), true) !=
        arreglo->ocupadas.end())
        return;
    // The last texture gone: the array goes too (once the context is gone, with it).
    if (Activar()) {
        Emitir();
        if (texturaAplicada == arreglo->nombre)
            texturaAplicada = 0;
        glDeleteTextures(1, &arreglo->nombre);
    }
    arreglos.erase(it);
}

void MuestreoPaginasGL() {
    glTexParameteri(GL_TEXTURE_2D_ARRAY, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D_ARRAY, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D_ARRAY, GL_TEXTURE_WRAP_S, GL_REPEAT);
    glTexParameteri(GL_TEXTURE_2D_ARRAY, GL_TEXTURE_WRAP_T, GL_REPEAT);
    glTexParameteri(GL_TEXTURE_2D_ARRAY, GL_TEXTURE_BASE_LEVEL, 0);
    glTexParameteri(GL_TEXTURE_2D_ARRAY, GL_TEXTURE_MAX_LEVEL, 0);
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
    contexto->Emitir();
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
    contexto_->Emitir();
    if (vao_ != 0) {
        if (contexto_->vaoAplicado == vao_)
            contexto_->vaoAplicado = 0;
        glDeleteVertexArrays(1, &vao_);
    }
    glDeleteBuffers(1, &nombre_);
    if (capas_ != 0)
        glDeleteBuffers(1, &capas_);
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
        contexto_->Emitir();
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
        contexto_->Emitir();
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
        contexto_->Emitir();
        glBindVertexArray(vao_);
        contexto_->vaoAplicado = vao_;
    }
    if (fvf == fvfVao_ && paso == pasoVao_)
        return;
    contexto_->Emitir();
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
    if (capas_ == 0) {
        // One layer per vertex whatever the stride: no vertex is smaller than 16 bytes.
        copiaCapas_.assign(longitud_ / 16 + 1, 0.f);
        glGenBuffers(1, &capas_);
        glBindBuffer(GL_ARRAY_BUFFER, capas_);
        glBufferData(GL_ARRAY_BUFFER, copiaCapas_.size() * sizeof(float), copiaCapas_.data(),
                     GL_DYNAMIC_DRAW);
    } else {
        glBindBuffer(GL_ARRAY_BUFFER, capas_);
    }
    glEnableVertexAttribArray(ATRIBUTO_CAPA);
    glVertexAttribPointer(ATRIBUTO_CAPA, 1, GL_FLOAT, GL_FALSE, sizeof(float), nullptr);
}

void BufferVerticesGL::PonerCapa(UINT primero, UINT cuantos, float capa) {
    if (capas_ == 0 || primero >= copiaCapas_.size())
        return;
    const UINT fin =
        static_cast<UINT>(std::min<uint64_t>(uint64_t{primero} + cuantos, copiaCapas_.size()));
    UINT desde = primero;
    while (desde < fin && copiaCapas_[desde] == capa)
        ++desde;
    if (desde == fin)
        return;
    UINT hasta = fin;
    while (copiaCapas_[hasta - 1] == capa)
        --hasta;
    std::fill(copiaCapas_.begin() + desde, copiaCapas_.begin() + hasta, capa);
    contexto_->Emitir();
    glBindBuffer(GL_ARRAY_BUFFER, capas_);
    glBufferSubData(GL_ARRAY_BUFFER, desde * sizeof(float), (hasta - desde) * sizeof(float),
                    copiaCapas_.data() + desde);
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
    if (!contexto->ReservarCapa(ancho, alto, formato, nueva->arreglo_, nueva->capa_)) {
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
    if (arreglo_)
        contexto_->LiberarCapa(arreglo_, capa_);
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
        contexto_->Emitir();
        LecturaCapa lectura;
        lectura.Capa(arreglo_->nombre, capa_);
        glPixelStorei(GL_PACK_ALIGNMENT, 4);
        glReadPixels(0, 0, ancho, alto, GL_BGRA, GL_UNSIGNED_BYTE, copia_.data());
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
        contexto_->Emitir();
        if (contexto_->texturaAplicada != arreglo_->nombre) {
            glBindTexture(GL_TEXTURE_2D_ARRAY, arreglo_->nombre);
            contexto_->texturaAplicada = arreglo_->nombre;
        }
        glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
        glTexSubImage3D(GL_TEXTURE_2D_ARRAY, 0, 0, 0, static_cast<GLint>(capa_), desc_.Width,
                        desc_.Height, 1, GL_BGRA, GL_UNSIGNED_BYTE, copia_.data());
        escrita_ = true;
        hr = D3D_OK;
    }
    std::vector<BYTE>().swap(copia_);
    return hr;
}
