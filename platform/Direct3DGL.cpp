#include "DispositivoGL.h"
#include "RecursosGL.h"
#include "d3d8.h"

namespace {

class Direct3DGL final : public IDirect3D8, ContadorReferencias {
  public:
    ULONG AddRef() override { return Sumar(); }
    ULONG Release() override {
        ULONG quedan = Restar();
        if (quedan == 0)
            delete this;
        return quedan;
    }

    // Windowed drawing only needs the format; the size belongs to the surface.
    HRESULT GetAdapterDisplayMode(UINT Adapter, D3DDISPLAYMODE* pMode) override {
        if (Adapter != D3DADAPTER_DEFAULT || !pMode)
            return D3DERR_INVALIDCALL;
        *pMode = {0, 0, 0, D3DFMT_X8R8G8B8};
        return D3D_OK;
    }

    HRESULT CreateDevice(UINT Adapter, D3DDEVTYPE DeviceType, HWND hFocusWindow, DWORD,
                         D3DPRESENT_PARAMETERS* pPresentationParameters,
                         IDirect3DDevice8** ppReturnedDeviceInterface) override {
        if (Adapter != D3DADAPTER_DEFAULT || !pPresentationParameters || !ppReturnedDeviceInterface)
            return D3DERR_INVALIDCALL;
        HWND superficie = pPresentationParameters->hDeviceWindow
                              ? pPresentationParameters->hDeviceWindow
                              : hFocusWindow;
        if (!superficie)
            return D3DERR_INVALIDCALL;
        if (DeviceType != D3DDEVTYPE_HAL)
            return D3DERR_NOTAVAILABLE;
        return DispositivoGL::Crear(superficie, *pPresentationParameters,
                                    ppReturnedDeviceInterface);
    }

  private:
    ~Direct3DGL() override = default;
};

} // namespace

IDirect3D8* Direct3DCreate8(UINT SDKVersion) {
    return SDKVersion == D3D_SDK_VERSION ? new Direct3DGL : nullptr;
}
