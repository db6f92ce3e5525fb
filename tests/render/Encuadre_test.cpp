// The framing the window and the command line share: the true width over height, camera on
// the mesh's centre, an angle that never leaves one turn, and the frame's calls.
#include "Encuadre.h"
#include "Grabacion.h"
#include "trMesh.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <numbers>
#include <vector>

TEST(Encuadre, LaProporcionEsElCocienteRealDelPanel) {
    DispositivoGrabado d;
    ASSERT_EQ(SetProyeccionVisor(d.dispositivo, 817, 769), D3D_OK);
    D3DXMATRIX p = d.dispositivo.GetProyeccion();
    // x scale = y scale / (width / height); the integer quotient would make them equal.
    EXPECT_FLOAT_EQ(p.m[1][1] / p.m[0][0], 817.0f / 769.0f);
    EXPECT_EQ(SetProyeccionVisor(d.dispositivo, 0, 0), D3D_OK) << "a collapsed panel is no error";
    EXPECT_FLOAT_EQ(d.dispositivo.GetProyeccion().m[1][1] / d.dispositivo.GetProyeccion().m[0][0],
                    1.0f);
}

TEST(Encuadre, ElOjoQuedaAMilQuinientosDelCentroConLaYNegada) {
    DispositivoGrabado d;
    trMesh m;
    m.CentroX = 10, m.CentroY = -32768, m.CentroZ = 30;
    ASSERT_EQ(EncuadrarMesh(d.dispositivo, m), D3D_OK);
    auto v = [](D3DXVECTOR3 p) { return std::vector<float>{p.x, p.y, p.z}; };
    EXPECT_EQ(v(d.dispositivo.GetOjo()), (std::vector<float>{10, 32768, -1470}));
    EXPECT_EQ(v(d.dispositivo.GetObjetivo()), (std::vector<float>{10, 32768, 30}));
}

TEST(Encuadre, AjustarPoneLaEsferaDentroDelLadoMasCortoYEntreLosPlanos) {
    for (auto [ancho, alto] : {std::pair{817, 769}, std::pair{200, 600}, std::pair{0, 0}}) {
        DispositivoGrabado d;
        ASSERT_EQ(EncuadrarEsfera(d.dispositivo, 100, -50, 20, 400, ancho, alto), D3D_OK);
        // The sphere's top and its side on the narrower axis project inside clip space, near it.
        auto clip = [&](float x, float y, float z) { return Clip(d.dispositivo, {x, y, z}); };
        const float arriba = clip(100, 350, 20)[1];
        const float lado = clip(500, -50, 20)[0];
        EXPECT_LT(std::max(arriba, lado), 1.0f) << ancho << "x" << alto;
        EXPECT_GT(std::max(arriba, lado), 0.8f) << ancho << "x" << alto;
        // Nearest and farthest points of the sphere stay within depth [0, 1].
        EXPECT_GT(clip(100, -50, -380)[2], 0.0f);
        EXPECT_LT(clip(100, -50, 420)[2], 1.0f);
    }
}

TEST(Encuadre, ElAnguloAvanzaSiempreYNuncaPasaDeUnaVuelta) {
    const float vuelta = float(2 * std::numbers::pi);
    float a = 0;
    for (int i = 0; i < 1000; ++i) {
        float b = AvanzarAngulo(a);
        ASSERT_GE(b, 0.f);
        ASSERT_LT(b, vuelta);
        // Modulo one turn, every step is the same 0.02.
        float paso = b >= a ? b - a : b + vuelta - a;
        ASSERT_NEAR(paso, 0.02f, 1e-5f) << "frame " << i;
        a = b;
    }
    // Where an unbounded float would have stopped turning long ago.
    EXPECT_NEAR(AvanzarAngulo(0.5f + 8 * vuelta), std::fmod(0.52f + 8 * vuelta, vuelta), 1e-3f);
}

TEST(Encuadre, UnCuadroSinBufferSoloLimpiaYPresenta) {
    DispositivoGrabado d;
    ASSERT_EQ(DibujarCuadro(d.dispositivo, nullptr, 1.0f, true, false), D3D_OK);
    for (const std::string& l : d.registro->Llamadas)
        EXPECT_EQ(l.find("DrawPrimitive"), std::string::npos) << l;
    EXPECT_EQ(d.registro->Llamadas.back().rfind("Present(", 0), 0u);
}
