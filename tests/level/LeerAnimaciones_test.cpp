// Animations read as records: who owns each, how many keyframes it stores, what it does next,
// and why the faulty ones cannot be played.
#include "LeerAnimaciones.h"
#include "NivelLeido.h"

#include <gtest/gtest.h>

TEST(LeerAnimaciones, RegistrosDuenosYClaves) {
    const auto l = LeerNivelYObjetos(fixture::EscribirNivel(fixture::NivelAnimado()));
    const trAnimaciones& t = l->objetos.Animaciones;
    ASSERT_EQ(t.Animaciones.size(), 8u);
    ASSERT_EQ(l->objetos.Movibles.size(), 2u);
    EXPECT_EQ(l->objetos.Movibles[0].NumAnimaciones, 2u);
    EXPECT_EQ(l->objetos.Movibles[1].NumAnimaciones, 6u);
    for (size_t i = 0; i < t.Animaciones.size(); ++i)
        EXPECT_EQ(t.Animaciones[i].Movible, i < 2 ? 0 : 1) << i;

    const trAnimacion& bucle = t.Animaciones[0];
    EXPECT_TRUE(bucle.Jugable());
    EXPECT_EQ(bucle.Claves, 3u); // frames 0, 2, 4
    EXPECT_EQ(bucle.Tasa, 2);
    EXPECT_EQ(bucle.TamanoCuadro, 12);
    EXPECT_EQ(bucle.Estado, 1);
    EXPECT_EQ(bucle.Velocidad, 5 << 16);
    EXPECT_EQ(bucle.UltimoCuadro, 4);
    // Frames 5..9 at 3 a keyframe: 5, 8 and one past the last, at 11, to interpolate towards.
    EXPECT_EQ(t.Animaciones[1].Claves, 3u);
    EXPECT_EQ(t.Animaciones[1].Cuadro, 72u);

    const auto cambios = CambiosDe(t, bucle);
    ASSERT_EQ(cambios.size(), 1u);
    EXPECT_EQ(cambios[0].Estado, 2);
    const auto despachos = DespachosDe(t, cambios[0]);
    ASSERT_EQ(despachos.size(), 1u);
    EXPECT_EQ(despachos[0].Alto, 4);
    EXPECT_EQ(despachos[0].Siguiente, 1);
    EXPECT_EQ(despachos[0].CuadroSiguiente, 5);
    const auto comandos = ComandosDe(t, bucle);
    ASSERT_EQ(comandos.size(), 2u);
    EXPECT_EQ(comandos[0].Tipo, 5);
    EXPECT_EQ(comandos[0].NumArgumentos, 2);
    EXPECT_EQ(comandos[0].Argumentos[0], 2);
    EXPECT_EQ(comandos[0].Argumentos[1], 7);
    EXPECT_EQ(comandos[1].Tipo, 3);
    EXPECT_EQ(comandos[1].NumArgumentos, 0);

    // The moveable's rest frame is the same bytes as the first keyframe, read the same way.
    trCuadroClave clave;
    ASSERT_TRUE(LeerCuadroClave(l->nivel, 0, 12, 2, clave));
    EXPECT_EQ(clave.Giros[0].Y, l->objetos.Movibles[0].Giros[0].Y);
    ASSERT_TRUE(LeerCuadroClave(l->nivel, InicioClave(bucle, 1), 12, 2, clave));
    EXPECT_EQ(clave.RaizX, 20);
    EXPECT_NEAR(clave.Giros[0].Y, 3.14159265f / 2, 1e-6f);
    EXPECT_NEAR(clave.Giros[1].X, 3.14159265f / 2, 1e-6f);
    // Words bounded by the frame size: two meshes' turns take 12, not 11. The reason names the
    // bound it ran past, the frame size or the frames array.
    const Hecho pequeno = LeerCuadroClave(l->nivel, 0, 11, 2, clave);
    EXPECT_EQ(pequeno.Motivo(), "sus cuadros son pequeños para el árbol del movible");
    const Hecho fuera = LeerCuadroClave(l->nivel, uint64_t{1} << 40, 12, 2, clave);
    EXPECT_EQ(fuera.Motivo(), "sus cuadros pasan del final de los cuadros del nivel");
    const Hecho alFinal = LeerCuadroClave(l->nivel, l->nivel.Cuadros.size() - 4, 12, 2, clave);
    EXPECT_EQ(alFinal.Motivo(), "sus cuadros pasan del final de los cuadros del nivel");
}

TEST(LeerAnimaciones, LasQueNoSePuedenVerDicenPorQue) {
    const auto l = LeerNivelYObjetos(fixture::EscribirNivel(fixture::NivelAnimado()));
    const auto& a = l->objetos.Animaciones.Animaciones;
    using M = trMotivoAnimacion;
    // 6 and 7 have every frame: only their next link is broken, so they play and loop.
    const M esperado[] = {M::Ninguno,      M::Ninguno,       M::Ninguno, M::SinCuadros,
                          M::CuadrosFuera, M::CuadroPequeno, M::Ninguno, M::Ninguno};
    const M enlace[] = {M::Ninguno, M::Ninguno, M::Ninguno,        M::Ninguno,
                        M::Ninguno, M::Ninguno, M::SiguienteFuera, M::CadenaSinFin};
    for (size_t i = 0; i < 8; ++i) {
        EXPECT_EQ(a[i].Motivo, esperado[i]) << i << " " << ClaveMotivo(a[i].Motivo);
        EXPECT_EQ(a[i].Enlace, enlace[i]) << i << " " << ClaveMotivo(a[i].Enlace);
    }

    uint32_t siguiente = 99, cuadro = 99;
    ASSERT_TRUE(SiguienteDe(l->objetos.Animaciones, 1, siguiente, cuadro));
    EXPECT_EQ(siguiente, 0u);
    EXPECT_EQ(cuadro, 2u);
    EXPECT_FALSE(SiguienteDe(l->objetos.Animaciones, 6, siguiente, cuadro));
    EXPECT_FALSE(SiguienteDe(l->objetos.Animaciones, 7, siguiente, cuadro));
    EXPECT_FALSE(SiguienteDe(l->objetos.Animaciones, 1000, siguiente, cuadro));
}

TEST(LeerAnimaciones, ArreglosCortadosOFueraDeRango) {
    fixture::NivelFixture f = fixture::NivelAnimado();
    // A first animation past the list owns nothing; the commands and state changes named past
    // their arrays are left out, not read.
    f.movibles[1].animacion = 500;
    f.animaciones[0].primerComando = 3; // the empty-hands command alone
    f.animaciones[0].numComandos = 9;
    f.animaciones[1].primerCambio = 7;
    f.animaciones[1].numCambios = 3;
    f.animaciones[1].primerComando = 60000;
    f.animaciones[1].numComandos = 3;
    f.comandos.push_back(1); // a position command missing its arguments
    const auto l = LeerNivelYObjetos(fixture::EscribirNivel(f));
    const trAnimaciones& t = l->objetos.Animaciones;
    EXPECT_EQ(l->objetos.Movibles[1].NumAnimaciones, 0u);
    EXPECT_EQ(l->objetos.Movibles[0].NumAnimaciones, 8u); // the rest of the list is moveable 3's
    EXPECT_EQ(t.Animaciones[3].Movible, 0);
    EXPECT_EQ(ComandosDe(t, t.Animaciones[0]).size(), 1u);
    EXPECT_TRUE(CambiosDe(t, t.Animaciones[1]).empty());
    EXPECT_TRUE(ComandosDe(t, t.Animaciones[1]).empty());
    // Without the moveables the animations belong to no one.
    f.movibles.clear();
    f.numMovibles = 0;
    const auto sin = LeerNivelYObjetos(fixture::EscribirNivel(f));
    for (const trAnimacion& a : sin->objetos.Animaciones.Animaciones)
        EXPECT_EQ(a.Motivo, trMotivoAnimacion::SinDueno);
}
