#include "dxMain.h"

dxMain::dxMain(CreadorD3D crear) : crear_(std::move(crear)) {}

dxMain::~dxMain() {
    if (d3d_)
        d3d_->Release();
}

HRESULT dxMain::IniciarD3D() {
    IDirect3D8* nuevo = crear_ ? crear_(D3D_SDK_VERSION) : nullptr;
    if (!nuevo)
        return E_FAIL;
    // A second start lets go of the first object instead of leaking it.
    if (d3d_)
        d3d_->Release();
    d3d_ = nuevo;
    if (FAILED(d3d_->GetAdapterDisplayMode(D3DADAPTER_DEFAULT, &modo_)))
        return E_FAIL;
    parametros_.BackBufferCount = 1;
    parametros_.SwapEffect = D3DSWAPEFFECT_DISCARD;
    parametros_.hDeviceWindow = nullptr;
    return D3D_OK;
}

HRESULT dxMain::CrearDispositivo(HWND ventana, uint8_t ventaneado,
                                 std::unique_ptr<dxDevice8>& dispositivo) {
    if (!d3d_)
        return E_FAIL;
    dispositivo = std::make_unique<dxDevice8>();

    parametros_.Windowed = BOOL(ventaneado);
    parametros_.BackBufferFormat = modo_.Format;
    parametros_.EnableAutoDepthStencil = 1;
    parametros_.AutoDepthStencilFormat = D3DFMT_D16;

    IDirect3DDevice8* d3dDispositivo = dispositivo->GetDispositivo();
    if (FAILED(d3d_->CreateDevice(D3DADAPTER_DEFAULT, D3DDEVTYPE_HAL, ventana,
                                  D3DCREATE_SOFTWARE_VERTEXPROCESSING, &parametros_,
                                  &d3dDispositivo)) ||
        !d3dDispositivo)
        return E_FAIL;
    dispositivo->SetDispositivo(d3dDispositivo);
    return D3D_OK;
}
