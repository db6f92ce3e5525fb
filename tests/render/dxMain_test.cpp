#include "Grabador.h"
#include "dxMain.h"

#include <gtest/gtest.h>

namespace {

struct Fabrica {
    std::shared_ptr<RegistroGrabador> registro = std::make_shared<RegistroGrabador>();
    dxMain::CreadorD3D Creador() {
        return [r = registro](UINT sdk) { return sdk == 220 ? CrearDirect3DGrabador(r) : nullptr; };
    }
};

HWND PanelFalso() {
    return reinterpret_cast<HWND>(uintptr_t(0x1000));
}

} // namespace

TEST(dxMain, SinObjetoDirect3DNoSeCreaDispositivoNiSeTocaLaVariable) {
    Fabrica f;
    auto anterior = std::make_unique<dxDevice8>();
    dxDevice8* antes = anterior.get();
    {
        dxMain principal(f.Creador());
        EXPECT_EQ(principal.CrearDispositivo(PanelFalso(), 1, anterior), E_FAIL);
        EXPECT_EQ(anterior.get(), antes);
    }
    dxMain sinD3D([](UINT) -> IDirect3D8* { return nullptr; });
    EXPECT_EQ(sinD3D.IniciarD3D(), E_FAIL);
    EXPECT_EQ(sinD3D.GetDirect3D(), nullptr);
    EXPECT_EQ(sinD3D.CrearDispositivo(PanelFalso(), 1, anterior), E_FAIL);
    EXPECT_EQ(anterior.get(), antes);
}

TEST(dxMain, LosValoresDePresentacionSonLosDeUnaVentanaConProfundidadDe16Bits) {
    Fabrica f;
    dxMain principal(f.Creador());
    std::unique_ptr<dxDevice8> dispositivo;
    ASSERT_EQ(principal.IniciarD3D(), D3D_OK);
    ASSERT_EQ(principal.CrearDispositivo(PanelFalso(), 1, dispositivo), D3D_OK);
    ASSERT_NE(dispositivo, nullptr);
    EXPECT_NE(dispositivo->GetDispositivo(), nullptr);
    EXPECT_EQ(f.registro->Llamadas,
              (std::vector<std::string>{"GetAdapterDisplayMode(0)",
                                        "CreateDevice(0, D3DDEVTYPE_HAL, ventana, 0x20)"}));

    const D3DPRESENT_PARAMETERS& p = principal.GetParametros();
    EXPECT_EQ(p.BackBufferWidth, 0u);
    EXPECT_EQ(p.BackBufferHeight, 0u);
    EXPECT_EQ(p.BackBufferFormat, principal.GetModo().Format);
    EXPECT_EQ(p.BackBufferFormat, D3DFMT_X8R8G8B8);
    EXPECT_EQ(p.BackBufferCount, 1u);
    EXPECT_EQ(p.MultiSampleType, D3DMULTISAMPLE_NONE);
    EXPECT_EQ(p.SwapEffect, D3DSWAPEFFECT_DISCARD);
    EXPECT_EQ(p.hDeviceWindow, nullptr);
    EXPECT_EQ(p.Windowed, 1);
    EXPECT_EQ(p.EnableAutoDepthStencil, 1);
    EXPECT_EQ(p.AutoDepthStencilFormat, D3DFMT_D16);
    EXPECT_EQ(p.Flags, 0u);
    EXPECT_EQ(p.FullScreen_RefreshRateInHz, 0u);
    EXPECT_EQ(p.FullScreen_PresentationInterval, 0u);
    // What the device was made with is the record, not a copy that drifted.
    EXPECT_EQ(f.registro->ParametrosDispositivo.AutoDepthStencilFormat, D3DFMT_D16);
    EXPECT_EQ(f.registro->ParametrosDispositivo.Windowed, 1);
}

TEST(dxMain, UnDispositivoRechazadoDejaUnEnvoltorioSinDispositivo) {
    Fabrica f;
    f.registro->Fallar = {"CreateDevice"};
    dxMain principal(f.Creador());
    std::unique_ptr<dxDevice8> dispositivo;
    (void)principal.IniciarD3D();
    EXPECT_EQ(principal.CrearDispositivo(PanelFalso(), 1, dispositivo), E_FAIL);
    ASSERT_NE(dispositivo, nullptr);
    EXPECT_EQ(dispositivo->GetDispositivo(), nullptr);
    EXPECT_EQ(dispositivo->Limpiar(1), E_FAIL);
}

TEST(dxMain, AlIrseSueltaSuObjetoYElDispositivoQuedaDeQuienLoTiene) {
    Fabrica f;
    std::unique_ptr<dxDevice8> dispositivo;
    {
        dxMain principal(f.Creador());
        (void)principal.IniciarD3D();
        (void)principal.IniciarD3D(); // a second start must not leak the first object
        (void)principal.CrearDispositivo(PanelFalso(), 1, dispositivo);
        EXPECT_EQ(f.registro->Vivos, 2);
    }
    EXPECT_EQ(f.registro->Vivos, 1);
    EXPECT_EQ(dispositivo->Limpiar(1), D3D_OK);
    dispositivo.reset();
    EXPECT_EQ(f.registro->Vivos, 0);

    dxMain nunca(f.Creador()); // destroyed without an object: nothing to release
}
