#pragma once
// Owns the Direct3D object, the display mode and the presentation values, and makes the one
// device of the program on a given surface.
#include "d3d8.h"
#include "dxDevice8.h"

#include <functional>
#include <memory>

class dxMain {
  public:
    // Tests hand in a recorder; the program uses the OpenGL implementation.
    using CreadorD3D = std::function<IDirect3D8*(UINT)>;
    explicit dxMain(CreadorD3D crear = Direct3DCreate8);
    ~dxMain();
    dxMain(const dxMain&) = delete;
    dxMain& operator=(const dxMain&) = delete;

    [[nodiscard]] HRESULT IniciarD3D();
    // Writes the new wrapper into `dispositivo` as soon as it exists, so a refused device still
    // leaves the caller a wrapper without one. Without a Direct3D object nothing is written.
    [[nodiscard]] HRESULT CrearDispositivo(HWND ventana, uint8_t ventaneado,
                             std::unique_ptr<dxDevice8>& dispositivo);

    IDirect3D8* GetDirect3D() const { return d3d_; }
    const D3DPRESENT_PARAMETERS& GetParametros() const { return parametros_; }
    const D3DDISPLAYMODE& GetModo() const { return modo_; }

  private:
    CreadorD3D crear_;
    IDirect3D8* d3d_ = nullptr;
    D3DPRESENT_PARAMETERS parametros_{};
    D3DDISPLAYMODE modo_{};
};
