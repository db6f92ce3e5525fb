// A real level opened, drawn and closed again and again on the off-screen OpenGL device, as the
// window does when a user goes from file to file: nothing may stay behind.
#include "EscritorNivel.h"
#include "NivelSubido.h"
#include "SuperficieEGL.h"
#include "dxBufferTextura.h"
#include "dxMain.h"

#include <gtest/gtest.h>

#if defined(__SANITIZE_ADDRESS__)
#include <sanitizer/lsan_interface.h>
#endif

#include <memory>
#include <string>

TEST(CicloGL, AbrirDibujarYCerrarNoDejaNadaAtras) {
    const std::string ruta = std::string(TR4_NIVELES_REALES) + "/title-a.tr4";
    const fixture::Bytes archivo = fixture::LeerArchivo(ruta);
    if (archivo.empty())
        GTEST_SKIP() << "no real level at " << ruta;
    std::string motivo;
    auto superficie = SuperficieEGL::Crear(64, 64, &motivo);
    ASSERT_NE(superficie, nullptr) << motivo;
    dxMain principal;
    std::unique_ptr<dxDevice8> d;
    ASSERT_EQ(principal.IniciarD3D(), D3D_OK);
    ASSERT_EQ(principal.CrearDispositivo(superficie.get(), 1, d), D3D_OK);

    std::unique_ptr<NivelSubido> nivel;
    std::weak_ptr<dxBufferTextura> anterior;
    for (int vuelta = 0; vuelta < 3; ++vuelta) {
        Hecho hecho;
        ASSERT_TRUE((hecho = AbrirNivelDeMemoria(archivo.data(), archivo.size(), d.get(), nivel)))
            << hecho.Motivo();
        // Opening the next level let go of every buffer of the one before.
        EXPECT_TRUE(anterior.expired());
        anterior = nivel->Buffers.Compartido(0);
        for (int i = 0; i < nivel->Cantidad(); ++i)
            for (int modo : {0, 2})
                ASSERT_EQ(d->DibujarBuffer(nivel->Buffer(i), modo), D3D_OK) << i;
        ASSERT_EQ(d->Presentar(), D3D_OK);
    }
    nivel.reset();
    EXPECT_TRUE(anterior.expired());
#if defined(__SANITIZE_ADDRESS__)
    // Everything the three levels made is gone now, not only at exit; the driver itself is
    // still loaded, so what it holds is still reachable.
    EXPECT_EQ(__lsan_do_recoverable_leak_check(), 0);
#endif
}
