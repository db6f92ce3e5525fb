// The fly camera of the whole-level view: where each move takes the eye, where it looks, and a
// level framed whole from above.
#include "CamaraVuelo.h"
#include "Grabacion.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace {

constexpr float PI = 3.14159265f;

struct Movimiento {
    const char* que;
    float guinada, cabeceo; // radians
    float adelante, lado, arriba;
    bool rapido;
    D3DXVECTOR3 ojo; // after one second at 100 units a second from the origin
};

} // namespace

TEST(CamaraVuelo, CadaMovimientoVaDondeMiraLaCamara) {
    const float r = 70.710678f; // 100 / sqrt(2)
    const Movimiento tabla[] = {
        {"adelante", 0, 0, 1, 0, 0, false, {0, 0, 100}},
        {"atrás", 0, 0, -1, 0, 0, false, {0, 0, -100}},
        {"a la derecha", 0, 0, 0, 1, 0, false, {100, 0, 0}},
        {"arriba", 0, 0, 0, 0, 1, false, {0, 100, 0}},
        {"con Mayúsculas", 0, 0, 1, 0, 0, true, {0, 0, 100 * CamaraVuelo::MULTIPLICADOR_RAPIDO}},
        {"adelante girado a la derecha", PI / 2, 0, 1, 0, 0, false, {100, 0, 0}},
        {"a la derecha girado a la derecha", PI / 2, 0, 0, 1, 0, false, {0, 0, -100}},
        {"adelante mirando arriba", 0, PI / 4, 1, 0, 0, false, {0, r, r}},
        {"de lado mirando abajo sigue a nivel", 0, -PI / 4, 0, -1, 0, false, {-100, 0, 0}},
        {"arriba mirando abajo sube recto", 0, -PI / 4, 0, 0, 1, false, {0, 100, 0}},
    };
    for (const auto& m : tabla) {
        CamaraVuelo c;
        c.SetVelocidad(100);
        c.Mirar(m.guinada / CamaraVuelo::RADIANES_POR_PIXEL,
                -m.cabeceo / CamaraVuelo::RADIANES_POR_PIXEL);
        c.Mover(m.adelante, m.lado, m.arriba, 1.0f, m.rapido);
        EXPECT_NEAR(c.Ojo().x, m.ojo.x, 0.05f) << m.que;
        EXPECT_NEAR(c.Ojo().y, m.ojo.y, 0.05f) << m.que;
        EXPECT_NEAR(c.Ojo().z, m.ojo.z, 0.05f) << m.que;
        // Whatever the move, the camera looks where it faces.
        const D3DXVECTOR3 o = c.Objetivo(), a = c.Adelante();
        EXPECT_NEAR(o.x - c.Ojo().x, 1024 * a.x, 0.1f) << m.que;
        EXPECT_NEAR(o.z - c.Ojo().z, 1024 * a.z, 0.1f) << m.que;
    }
    // The orbit's way: the panel turns a drag right or down into a positive acimut or a negative
    // elevation, which carry the eye to the pivot's left or above it, as in the object view.
    CamaraVuelo c;
    c.Orbitar(0.5f, -0.25f, {0, 0, 1000});
    EXPECT_LT(c.Ojo().x, -100);
    EXPECT_GT(c.Ojo().y, 100);
}

TEST(CamaraVuelo, ElCabeceoSeDetieneAntesDeLaVerticalYLoNoFinitoSeIgnora) {
    CamaraVuelo c;
    c.Mirar(0, -1e6f); // far up
    EXPECT_FLOAT_EQ(c.Cabeceo(), CamaraVuelo::CABECEO_MAXIMO);
    c.Mirar(0, 1e6f);
    EXPECT_FLOAT_EQ(c.Cabeceo(), -CamaraVuelo::CABECEO_MAXIMO);
    // Looking nearly straight down, the view still has a horizontal direction to turn about.
    EXPECT_GT(std::hypot(c.Adelante().x, c.Adelante().z), 0.05f);
    c.Mirar(1e9f, 0);
    EXPECT_LE(std::abs(c.Guinada()), PI + 1e-3f);

    const float nan = std::numeric_limits<float>::quiet_NaN(), inf = INFINITY;
    const D3DXVECTOR3 antes = c.Ojo();
    const float guinada = c.Guinada();
    c.Mirar(nan, 1);
    c.Mover(inf, 0, 0, 1, false);
    c.Mover(1, 0, 0, nan, false);
    c.SetVelocidad(-5);
    c.SetVelocidad(nan);
    EXPECT_EQ(c.Guinada(), guinada);
    EXPECT_EQ(c.Ojo().x, antes.x);
    EXPECT_EQ(c.Ojo().z, antes.z);
    EXPECT_GT(c.Velocidad(), 0);
    // Hours of flying one way stay finite.
    c.SetVelocidad(1e30f);
    for (int i = 0; i < 100; ++i)
        c.Mover(1, 1, 1, 1e6f, true);
    EXPECT_TRUE(std::isfinite(c.Ojo().x) && std::isfinite(c.Ojo().y) && std::isfinite(c.Ojo().z));
}

TEST(CamaraVuelo, UnNivelEncuadradoSeVeEnteroDesdeArribaYSuFondoNoSeRecorta) {
    const Esfera nivel{30000, -4000, 52000, 40000};
    CamaraVuelo c;
    c.Encuadrar(nivel, 817, 769);
    EXPECT_GT(c.Ojo().y, nivel.Y); // from above,
    EXPECT_LT(c.Adelante().y, 0);  // looking down at it
    DispositivoGrabado d;
    ASSERT_EQ(c.Aplicar(d.dispositivo, 817, 769), D3D_OK);
    for (float sx : {-1.f, 0.f, 1.f})
        for (float sy : {-1.f, 0.f, 1.f})
            for (float sz : {-1.f, 0.f, 1.f}) {
                const float n = std::max(std::hypot(sx, sy, sz), 1.f);
                const D3DXVECTOR3 p{nivel.X + sx / n * nivel.Radio, nivel.Y + sy / n * nivel.Radio,
                                    nivel.Z + sz / n * nivel.Radio};
                const auto k = Clip(d.dispositivo, p);
                EXPECT_GT(k[3], 0);
                EXPECT_LE(std::abs(k[0]), 1.f);
                EXPECT_LE(std::abs(k[1]), 1.f);
                EXPECT_GE(k[2], 0.f);
                EXPECT_LE(k[2], 1.f);
            }
    // Flown far off, the level still lies before the far plane.
    c.Mover(-1, 0, 0, 100, true);
    ASSERT_EQ(c.Aplicar(d.dispositivo, 817, 769), D3D_OK);
    EXPECT_LE(Clip(d.dispositivo, {nivel.X, nivel.Y, nivel.Z})[2], 1.f);
    EXPECT_GT(c.Velocidad(), CamaraVuelo::VELOCIDAD_INICIAL);

    // A room of it framed, then orbited: it stays where the camera looks, at its distance, and
    // the level still bounds the far plane.
    const Esfera cuarto{20000, -1000, 50000, 3000};
    c.Encuadrar(cuarto, nivel, 817, 769);
    const D3DXVECTOR3 centro{cuarto.X, cuarto.Y, cuarto.Z};
    const float distancia =
        std::hypot(c.Ojo().x - centro.x, c.Ojo().y - centro.y, c.Ojo().z - centro.z);
    c.Orbitar(2.0f, 0.3f, centro);
    ASSERT_EQ(c.Aplicar(d.dispositivo, 817, 769), D3D_OK);
    const auto k = Clip(d.dispositivo, centro);
    EXPECT_NEAR(k[0], 0, 1e-3f);
    EXPECT_NEAR(k[1], 0, 1e-3f);
    EXPECT_NEAR(std::hypot(c.Ojo().x - centro.x, c.Ojo().y - centro.y, c.Ojo().z - centro.z),
                distancia, distancia * 1e-4f);
    EXPECT_LE(Clip(d.dispositivo, {nivel.X, nivel.Y, nivel.Z - nivel.Radio})[2], 1.f);
}
