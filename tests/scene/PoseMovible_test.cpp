// Poses worked out by hand at keyframes and between them, the player's loop and chain, and Lara
// running in a real level.
#include "Ensamblaje.h"
#include "LeerAnimaciones.h"
#include "NivelLeido.h"
#include "PoseMovible.h"

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>

namespace {

// Where the pose puts a point given in the level's axes of mesh k, in device axes.
glm::vec3 Punto(const std::vector<glm::mat4>& mundos, size_t k, float x, float y, float z) {
    return Transformar(mundos[k], x, -y, z);
}

void ExpectCerca(const glm::vec3& a, const glm::vec3& b) {
    EXPECT_NEAR(a.x, b.x, 1e-2f);
    EXPECT_NEAR(a.y, b.y, 1e-2f);
    EXPECT_NEAR(a.z, b.z, 1e-2f);
}

} // namespace

TEST(PoseMovible, EnLasClavesYEntreEllas) {
    const auto l = LeerNivelYObjetos(fixture::EscribirNivel(fixture::NivelAnimado()));
    const trMovible& m = l->objetos.Movibles[0];
    const trAnimaciones& t = l->objetos.Animaciones;
    std::vector<glm::mat4> mundos;
    const float r = std::sqrt(0.5f);

    // Frame 0: nothing turned, mesh 1 100 above the root (the level's y points down).
    ASSERT_TRUE(PosarMovible(l->nivel, t, m, 0, 0, mundos));
    ASSERT_EQ(mundos.size(), 2u);
    ExpectCerca(Punto(mundos, 1, 0, 0, 100), {0, 100, 100});

    // Frame 1, halfway to keyframe 1: root at x 10, mesh 0 an eighth of a turn about y, mesh 1
    // that and an eighth about x. By hand in the level's axes, Rx(45) (0, 0, 100) =
    // (0, -70.7, 70.7), then Ry(45) = (50, -70.7, 50), plus mesh 1's place (10, -100, 0).
    ASSERT_TRUE(PosarMovible(l->nivel, t, m, 0, 1, mundos));
    ExpectCerca(Punto(mundos, 0, 0, 0, 100), {10 + 100 * r, 0, 100 * r});
    ExpectCerca(Punto(mundos, 1, 0, 0, 100), {60, 100 + 100 * r, 50});

    // Frame 4, the last keyframe: half a turn about y, mesh 1 unturned about x again.
    ASSERT_TRUE(PosarMovible(l->nivel, t, m, 0, 4, mundos));
    ExpectCerca(Punto(mundos, 0, 0, 0, 100), {40, 0, -100});
    ExpectCerca(Punto(mundos, 1, 0, 0, 100), {40, 100, -100});
    // Past the end it holds the last frame; a keyframe posed alone is the same.
    std::vector<glm::mat4> clave;
    ASSERT_TRUE(PosarMovible(l->nivel, t, m, 0, 99, mundos));
    ASSERT_TRUE(PosarClave(l->nivel, t.Animaciones[0], m, 2, clave));
    ExpectCerca(Punto(mundos, 1, 0, 0, 100), Punto(clave, 1, 0, 0, 100));

    // Animation 1 stores a keyframe past its last frame: frame 4 (game frame 9) lies a third of
    // the way from the keyframe at 8 (root y 30) to the one at 11 (root y 60).
    ASSERT_TRUE(PosarMovible(l->nivel, t, m, 1, 4, mundos));
    ExpectCerca(Punto(mundos, 0, 0, 0, 0), {0, -40, 0});

    // Nothing to pose, and the reason the user reads: no frames, a frame size too small, past the
    // list; a frame not a number.
    const struct {
        uint32_t animacion;
        const char* motivo;
    } casos[] = {
        {3, "la animación 3 no se puede ver: sus cuadros no están en este nivel"},
        {5, "la animación 5 no se puede ver: "},
        {8, "la animación 8 no se puede ver: "},
        {1000, "la animación 1000 no se puede ver: no es de ningún movible"},
    };
    for (const auto& c : casos) {
        const Hecho h = PosarMovible(l->nivel, t, l->objetos.Movibles[1], c.animacion, 0, mundos);
        EXPECT_FALSE(h) << c.animacion;
        EXPECT_TRUE(h.Motivo().starts_with(c.motivo)) << c.animacion << ": " << h.Motivo();
    }
    const Hecho sinNumero = PosarMovible(l->nivel, t, m, 0, NAN, mundos);
    EXPECT_TRUE(sinNumero.Motivo().starts_with("se espera un cuadro de juego"))
        << sinNumero.Motivo();
}

TEST(PoseMovible, ElObjetoArmadoSigueLaPose) {
    const auto l = LeerNivelYObjetos(fixture::EscribirNivel(fixture::NivelAnimado()));
    const trMovible& m = l->objetos.Movibles[0];
    std::vector<glm::mat4> mundos;
    ASSERT_TRUE(PosarMovible(l->nivel, l->objetos.Animaciones, m, 0, 4, mundos));
    Ensamblaje e = ArmarMovible(m, *l->lista);
    const float radio = e.Radio;
    AplicarPose(e, mundos);
    ASSERT_EQ(e.Piezas.size(), 2u);
    EXPECT_EQ(e.Piezas[1].Nodo, 1);
    ExpectCerca(Transformar(e.Piezas[1].Mundo, 0, 0, 0), {40, 100, 0});
    EXPECT_EQ(e.Radio, radio); // the framing holds still
    const Ensamblaje posado = ArmarMovible(m, *l->lista, mundos);
    ExpectCerca(Transformar(posado.Piezas[1].Mundo, 0, 0, 0), {40, 100, 0});
}

TEST(Reproductor, BucleCadenaPasoYSalto) {
    const auto l = LeerNivelYObjetos(fixture::EscribirNivel(fixture::NivelAnimado()));
    const trAnimaciones& t = l->objetos.Animaciones;
    Reproductor r;
    const Hecho sinCuadros = r.Elegir(t, 3);
    EXPECT_EQ(sinCuadros.Motivo(),
              "la animación 3 no se puede ver: sus cuadros no están en este nivel");
    EXPECT_FALSE(r.Hay());
    ASSERT_TRUE(r.Elegir(t, 0));
    EXPECT_EQ(r.Cuadros(), 5u); // frames 0..4, one game frame each
    r.Avanzar(6 / 30.0);
    EXPECT_NEAR(r.Cuadro(), 1, 1e-9);
    EXPECT_EQ(r.Animacion(), 0u);
    r.Velocidad = 0.25;
    r.Avanzar(4 / 30.0);
    EXPECT_NEAR(r.Cuadro(), 2, 1e-9);
    r.Pausado = true;
    r.Avanzar(1);
    EXPECT_NEAR(r.Cuadro(), 2, 1e-9);
    r.Paso(-3); // wraps back to the end
    EXPECT_NEAR(r.Cuadro(), 4, 1e-9);
    r.Paso(1);
    EXPECT_NEAR(r.Cuadro(), 0, 1e-9);
    r.IrA(3.5);
    EXPECT_NEAR(r.Cuadro(), 3.5, 1e-9);
    r.IrA(100);
    EXPECT_NEAR(r.Cuadro(), 4, 1e-9);

    // Chained: animation 1 ends after 5 frames and goes on to animation 0 at its frame 2.
    Reproductor c;
    c.Forma = Reproductor::Modo::Seguir;
    ASSERT_TRUE(c.Elegir(t, 1));
    c.Avanzar(6 / 30.0);
    EXPECT_EQ(c.Animacion(), 0u);
    EXPECT_NEAR(c.Cuadro(), 3, 1e-9);

    // A game frame at a time: the instant animation 1 ends is already animation 0's resume frame
    // (its frame 2, posed as such), neither a frame of the one that ended nor the one after.
    Reproductor paso;
    paso.Forma = Reproductor::Modo::Seguir;
    ASSERT_TRUE(paso.Elegir(t, 1));
    const std::pair<uint32_t, double> esperados[] = {{1, 1}, {1, 2}, {1, 3}, {1, 4}, {0, 2},
                                                     {0, 3}, {0, 4}, {0, 0}, {0, 1}};
    for (const auto& [animacion, cuadro] : esperados) {
        paso.Avanzar(1 / 30.0);
        SCOPED_TRACE(testing::Message() << "animation " << animacion << " frame " << cuadro);
        EXPECT_EQ(paso.Animacion(), animacion);
        EXPECT_NEAR(paso.Cuadro(), cuadro, 1e-9);
    }
    Reproductor justo;
    justo.Forma = Reproductor::Modo::Seguir;
    ASSERT_TRUE(justo.Elegir(t, 1));
    justo.Velocidad = 0.5;
    justo.Avanzar(10 / 30.0); // exactly its five frames
    std::vector<glm::mat4> ahora, reanuda;
    ASSERT_TRUE(PosarMovible(l->nivel, t, l->objetos.Movibles[0], justo.Animacion(),
                             justo.Cuadro(), ahora));
    ASSERT_TRUE(PosarMovible(l->nivel, t, l->objetos.Movibles[0], 0, 2, reanuda));
    ExpectCerca(Punto(ahora, 1, 0, 0, 100), Punto(reanuda, 1, 0, 0, 100));
    ExpectCerca(Punto(ahora, 0, 0, 0, 0), Punto(reanuda, 0, 0, 0, 0));
    // A stall of an hour is cut short, not walked frame by frame, and lands within range.
    c.Avanzar(3600);
    EXPECT_LT(c.Cuadro(), c.Cuadros());
    c.Avanzar(INFINITY);
    EXPECT_LT(c.Cuadro(), c.Cuadros());

    // A next link out of the moveable (6) or round without end (7): played, and going on from
    // the end loops the animation itself. Both are 5 frames long, like animation 2.
    for (uint32_t roto : {6u, 7u}) {
        Reproductor s;
        s.Forma = Reproductor::Modo::Seguir;
        ASSERT_TRUE(s.Elegir(t, roto)) << roto;
        EXPECT_EQ(s.Cuadros(), t.Animaciones[roto].Duracion() + 1);
        s.Avanzar((s.Cuadros() + 1) / 30.0);
        EXPECT_EQ(s.Animacion(), roto);
        EXPECT_NEAR(s.Cuadro(), 1, 1e-9);
        std::vector<glm::mat4> mundos;
        EXPECT_TRUE(PosarMovible(l->nivel, t, l->objetos.Movibles[1], roto, s.Cuadro(), mundos));
    }
}

namespace {

// Stands for the window's player: what it is asked to play, in order, with a mark at the end of
// each step of time.
struct Grabadora : SumideroSonido {
    static constexpr uint16_t FIN_PASO = 0xFFFF;
    std::vector<uint16_t> oido;
    void Sonar(uint16_t id) override { oido.push_back(id); }
};

} // namespace

TEST(Reproductor, CadaSonidoEnSuCuadro) {
    fixture::NivelFixture f = fixture::NivelAnimado();
    // Animation 0 (frames 0..4): sound 9 at frame 0, sound 7 at frame 2 (in water: the top bit).
    // Animation 1 (frames 5..9, going on to animation 0 at frame 2): sound 11 at frame 9.
    f.comandos = {5, 0, 9, 5, 2, int16_t(0x8000 | 7), 3, 5, 9, 11};
    f.animaciones[0].numComandos = 3;
    f.animaciones[1].primerComando = 7;
    f.animaciones[1].numComandos = 1;
    const auto l = LeerNivelYObjetos(fixture::EscribirNivel(f));
    const trAnimaciones& t = l->objetos.Animaciones;
    constexpr uint16_t F = Grabadora::FIN_PASO;

    Grabadora g;
    Reproductor r;
    ASSERT_TRUE(r.Elegir(t, 0));
    auto paso = [&](Reproductor& rep, double cuadros) {
        rep.Avanzar(cuadros / 30, &g);
        g.oido.push_back(F);
    };
    paso(r, 0.5); // 0 .. 0.5: frame 0
    paso(r, 2);   // .. 2.5: frame 2
    paso(r, 2);   // .. 4.5: nothing
    paso(r, 1);   // past the end, looping to 0.5: frame 0 again
    paso(r, 100); // a stall of many turns: the end of one, the start of the last
    r.Pausado = true;
    paso(r, 10);
    r.Pausado = false;
    r.Velocidad = 0;
    paso(r, 10);
    r.Avanzar(1); // no sink: nothing to tell, and nothing breaks
    EXPECT_EQ(g.oido, (std::vector<uint16_t>{9, F, 7, F, F, 9, F, 7, 9, F, F, F}));

    // Going on: animation 1's frame 9, then animation 0 from its frame 2, whose sound is heard.
    g.oido.clear();
    Reproductor c;
    c.Forma = Reproductor::Modo::Seguir;
    ASSERT_TRUE(c.Elegir(t, 1));
    paso(c, 5.5);
    EXPECT_EQ(c.Animacion(), 0u);
    EXPECT_EQ(g.oido, (std::vector<uint16_t>{11, 7, F}));
}

TEST(PoseMovible, LaraCorreErguidaHaciaDelante) {
    const std::string ruta = std::string(TR4_NIVELES_REALES) + "/title-a.tr4";
    if (!std::filesystem::exists(ruta))
        GTEST_SKIP() << "no real level at " << ruta;
    const auto l = LeerNivelYObjetos(fixture::LeerArchivo(ruta));
    const trMovible *esqueleto = nullptr, *cuerpo = nullptr;
    for (const trMovible& m : l->objetos.Movibles) {
        if (m.Id == ID_LARA)
            esqueleto = &m;
        if (m.Id == ID_CUERPO_LARA)
            cuerpo = &m;
    }
    ASSERT_TRUE(esqueleto && cuerpo);
    const trMovible lara = ConMeshesDe(*esqueleto, *cuerpo);
    const trAnimaciones& t = l->objetos.Animaciones;
    EXPECT_EQ(t.Animaciones.size(), 496u);
    EXPECT_EQ(esqueleto->NumAnimaciones, 445u);
    // Her first animation is the run: it moves her forward, and at every frame of it she stands
    // upright (the neck, where her head hangs, 200 units above the hips) leaning into the run (head ahead of hips along +z), feet
    // apart along z.
    const trAnimacion& correr = t.Animaciones[esqueleto->Animacion];
    EXPECT_GT(correr.Velocidad, 0);
    std::vector<glm::mat4> mundos;
    for (uint32_t f = 0; f <= correr.Duracion(); f += 3) {
        SCOPED_TRACE(f);
        ASSERT_TRUE(PosarMovible(l->nivel, t, lara, esqueleto->Animacion, f + 0.5, mundos));
        ASSERT_EQ(mundos.size(), 15u);
        const glm::vec3 cadera = Transformar(mundos[0], 0, 0, 0);
        const glm::vec3 cabeza = Transformar(mundos[14], 0, 0, 0);
        const glm::vec3 pieIzq = Transformar(mundos[3], 0, 0, 0);
        const glm::vec3 pieDer = Transformar(mundos[6], 0, 0, 0);
        EXPECT_GT(cabeza.y - cadera.y, 200);
        EXPECT_LT(std::abs(cabeza.x - cadera.x), 100);
        EXPECT_GT(cabeza.z, cadera.z);
        EXPECT_LT(pieIzq.y, cadera.y);
        EXPECT_LT(pieDer.y, cadera.y);
    }
}
