#pragma once
// The viewer's one graphics device: clear colour, camera and projection, textures from a file or
// from memory, and the upload and per-primitive draw of vertex-buffer objects.
#include "d3d8.h"
#include "d3dx8.h"

#include <cstdint>
#include <set>
#include <string>

class dxBufferColor8;

class dxDevice8 {
  public:
    dxDevice8();
    ~dxDevice8();
    dxDevice8(const dxDevice8&) = delete;
    dxDevice8& operator=(const dxDevice8&) = delete;

    IDirect3DDevice8* GetDispositivo() const { return dispositivo_; }
    // Takes over the caller's reference; a device held before is released.
    void SetDispositivo(IDirect3DDevice8* dispositivo);

    // Everything below returns E_FAIL (null for textures) and does nothing without a device,
    // except SetColorFondo, which only stores.
    [[nodiscard]] HRESULT SetColorFondo(int32_t rojo, int32_t verde, int32_t azul);
    [[nodiscard]] HRESULT Limpiar(uint8_t profundidad);
    [[nodiscard]] HRESULT Presentar();
    [[nodiscard]] HRESULT SetProyeccion(float cerca, float lejos, float proporcion, float campoVision);
    [[nodiscard]] HRESULT SetObjetivo(float x, float y, float z);
    [[nodiscard]] HRESULT SetOjo(float x, float y, float z);

    // The caller owns the returned reference. Null, and nothing said, when the name is not a
    // readable image: a file that is not there (the start-up texture ships with no build) is
    // looked for once, and anything but a plain file (a pipe would block) is never opened.
    IDirect3DTexture8* TexturaDeArchivo(const char* nombre);
    // Texels are packed rows of width x 4 bytes; only the 32-bit formats have a defined size.
    IDirect3DTexture8* TexturaDeMemoria(int32_t ancho, int32_t alto, D3DFORMAT formato,
                                        const uint8_t* texels);

    [[nodiscard]] HRESULT CargarBuffer(dxBufferColor8* objeto);
    // Which faces a draw takes: an object of several buffers draws every buffer's opaque and
    // alpha-tested faces before any additive one.
    enum class Pasada { Todas, Opacas, Aditivas };
    // modo 2: everything in wireframe without texture, blend modes aside; any other value: as
    // each primitive's flags, the additive faces last.
    [[nodiscard]] HRESULT DibujarBuffer(dxBufferColor8* objeto, int32_t modo, Pasada pasada = Pasada::Todas);

    // The state the operations above keep.
    D3DXMATRIX GetProyeccion() const { return proyeccion_; }
    D3DXMATRIX GetVista() const { return vista_; }
    D3DXVECTOR3 GetOjo() const { return ojo_; }
    D3DXVECTOR3 GetObjetivo() const { return objetivo_; }
    D3DCOLOR ColorLimpieza() const;

  private:
    [[nodiscard]] HRESULT ActualizarVista();

    IDirect3DDevice8* dispositivo_ = nullptr;
    int32_t rojo_ = 0, verde_ = 0, azul_ = 0;
    D3DXMATRIX proyeccion_;
    D3DXMATRIX vista_;
    // Both are set before the first frame; zero until then.
    D3DXVECTOR3 objetivo_{0, 0, 0};
    D3DXVECTOR3 ojo_{0, 0, 0};
    // Names TexturaDeArchivo found no plain file under.
    std::set<std::string> sinArchivo_;
};
