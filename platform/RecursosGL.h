#pragma once
// Vertex buffers and textures of the OpenGL device, and the context record they share with it.
#include "d3d8.h"

#include <GL/glcorearb.h>

#include <memory>
#include <vector>

class TexturaGL;
class BufferVerticesGL;

// Textures of one size and format are layers of one 2D array texture, and each vertex carries
// the layer its draw samples: a page change between two draws then binds nothing. A binding change
// costs the driver a whole new fragment state (llvmpipe copies tens of kilobytes for it), which
// made page changes most of a per-primitive frame.
struct ArregloTexturasGL {
    GLuint nombre = 0;
    UINT ancho = 0, alto = 0;
    D3DFORMAT formato = D3DFMT_UNKNOWN;
    std::vector<bool> ocupadas; // one per layer allocated in GL
};

// What a device and its resources share. A resource may outlive its device: once the device is
// gone `superficie` is null and the resource no longer touches GL (the names die with the context).
struct ContextoGL {
    SuperficieGL* superficie = nullptr;
    [[nodiscard]] bool Activar();

    // GL state last applied in this context; resources keep it true when they bind or delete.
    GLuint texturaAplicada = 0;
    GLuint vaoAplicado = 0;

    // Draws of a scene that changed no GL state since the one before go out together as one
    // glMultiDrawArrays (one triangle is a strip of three, so a mesh's faces make one batch).
    // Whatever touches GL issues them first.
    GLenum modoPendiente = 0;
    std::vector<GLint> primerosPendientes;
    std::vector<GLsizei> cuantosPendientes;
    void Encolar(GLenum modo, GLint primero, GLsizei cuantos);
    void Emitir();

    std::vector<std::unique_ptr<ArregloTexturasGL>> arreglos;
    // A free layer for a texture of this size and format, growing or adding an array as needed;
    // false when GL refuses the storage. The context must be current.
    [[nodiscard]] bool ReservarCapa(UINT ancho, UINT alto, D3DFORMAT formato, ArregloTexturasGL*& arreglo,
                      UINT& capa);
    void LiberarCapa(ArregloTexturasGL* arreglo, UINT capa);

    // The batch drawing's program (LotesGL), made at its first draw and deleted with the device.
    struct {
        GLuint nombre = 0;
        GLint vista = -1, proyeccion = -1, modo = -1, numPaginas = -1, recorte = -1;
    } programaLotes;

    // What the device was asked to draw with; a released resource removes itself.
    TexturaGL* textura = nullptr;
    BufferVerticesGL* flujo = nullptr;
};

// Reference counting as Direct3D does it: the creator holds the first reference.
class ContadorReferencias {
  protected:
    ULONG Sumar() { return ++referencias_; }
    ULONG Restar() { return --referencias_; }

  private:
    ULONG referencias_ = 1;
};

class BufferVerticesGL final : public IDirect3DVertexBuffer8, ContadorReferencias {
  public:
    [[nodiscard]] static HRESULT Crear(std::shared_ptr<ContextoGL> contexto, UINT longitud,
                         IDirect3DVertexBuffer8** buffer);

    ULONG AddRef() override { return Sumar(); }
    ULONG Release() override;
    [[nodiscard]] HRESULT Lock(UINT OffsetToLock, UINT SizeToLock, BYTE** ppbData,
                               DWORD Flags) override;
    [[nodiscard]] HRESULT Unlock() override;
    UINT GetLength() override { return longitud_; }

    const ContextoGL* Contexto() const { return contexto_.get(); }
    // Binds the vertex array that reads this buffer as `fvf` with `paso` bytes a vertex.
    // The context must be current.
    void Enlazar(DWORD fvf, UINT paso);
    // The texture layer that vertices [primero, primero + cuantos) sample; uploaded only where
    // it changed. The context must be current and `primero + cuantos` within the buffer.
    void PonerCapa(UINT primero, UINT cuantos, float capa);

  private:
    BufferVerticesGL(std::shared_ptr<ContextoGL> contexto, UINT longitud);
    ~BufferVerticesGL() override;

    std::shared_ptr<ContextoGL> contexto_;
    UINT longitud_;
    GLuint nombre_ = 0;
    GLuint vao_ = 0;
    GLuint capas_ = 0; // per vertex, the layer of the texture it was last drawn with
    std::vector<float> copiaCapas_;
    DWORD fvfVao_ = 0;
    UINT pasoVao_ = 0;
    std::vector<BYTE> copia_;
    UINT desde_ = 0;
    bool bloqueado_ = false;
    // Until the first upload there is nothing in GL worth reading back on a lock.
    bool escrito_ = false;
};

class TexturaGL final : public IDirect3DTexture8, ContadorReferencias {
  public:
    [[nodiscard]] static HRESULT Crear(std::shared_ptr<ContextoGL> contexto, UINT ancho, UINT alto, UINT niveles,
                         DWORD uso, D3DFORMAT formato, D3DPOOL pool, IDirect3DTexture8** textura);

    ULONG AddRef() override { return Sumar(); }
    ULONG Release() override;
    DWORD GetLevelCount() override { return niveles_; }
    [[nodiscard]] HRESULT GetLevelDesc(UINT Level, D3DSURFACE_DESC* pDesc) override;
    [[nodiscard]] HRESULT LockRect(UINT Level, D3DLOCKED_RECT* pLockedRect, const RECT* pRect,
                                   DWORD Flags) override;
    [[nodiscard]] HRESULT UnlockRect(UINT Level) override;

    const ContextoGL* Contexto() const { return contexto_.get(); }
    // The array texture holding it (its name changes when the array grows) and its layer there.
    GLuint Nombre() const { return arreglo_ ? arreglo_->nombre : 0; }
    UINT Capa() const { return capa_; }

  private:
    TexturaGL(std::shared_ptr<ContextoGL> contexto, D3DSURFACE_DESC desc, UINT niveles);
    ~TexturaGL() override;

    std::shared_ptr<ContextoGL> contexto_;
    D3DSURFACE_DESC desc_;
    UINT niveles_;
    ArregloTexturasGL* arreglo_ = nullptr;
    UINT capa_ = 0;
    std::vector<BYTE> copia_; // only while locked
    bool bloqueada_ = false;
    bool escrita_ = false; // as escrito_ of the buffer
};

// On the bound 2D array texture, Direct3D 8's sampler defaults: point sampling, wrap; and only
// level 0, the one ever filled, so GL never looks below it.
void MuestreoPaginasGL();

// 1 + floor(log2(max(ancho, alto))): the levels of a full chain down to 1x1.
UINT NivelesCadenaCompleta(UINT ancho, UINT alto);
