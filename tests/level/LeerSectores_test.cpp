#include "LeerSectores.h"
#include "Idioma.h"
#include "NivelLeido.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <tuple>

namespace {

trLogica Logica(const fixture::NivelFixture& f, trFinAcciones fin = trFinAcciones::Bit15Ultima) {
    const auto l = LeerNivelYObjetos(fixture::EscribirNivel(f));
    return LeerLogica(l->nivel, fin);
}

std::string Avisos(const trLogica& l) {
    std::string texto;
    for (const auto& a : l.Avisos)
        texto += std::to_string(a.Cuarto) + "/" + std::to_string(a.Sector) + ": " + a.Texto + "\n";
    return texto;
}

using Esquinas = std::array<int32_t, 4>; // corners 00, 01, 10, 11 (x then z)

} // namespace

TEST(LeerSectores, CadaFuncionEnSuSector) {
    const trLogica l = Logica(fixture::NivelLogica());
    ASSERT_TRUE(l.Avisos.empty()) << Avisos(l);
    ASSERT_EQ(l.Cuartos.size(), 2u);
    const trCuartoLogica& c = l.Cuartos[0];
    EXPECT_EQ(c.NumZ, 4);
    EXPECT_EQ(c.NumX, 5);
    EXPECT_EQ(l.Sectores, 21u);
    EXPECT_EQ(l.SectoresConDatos, 17u);

    EXPECT_EQ(c.Sectores[0].Portal, 1);
    EXPECT_EQ(c.Sectores[19].Portal, -1);

    // Floor 2 clicks down, slant +2 along x: corners at x = 0 two clicks lower; -1 along z:
    // corners at z = 1 one click lower. The ceiling at -4, slant (+1, +1): corners at x = 1 and
    // at z = 0 one click higher each.
    const trSector& inclinado = c.Sectores[1];
    EXPECT_TRUE(inclinado.SueloS.Inclinada);
    EXPECT_EQ(inclinado.SueloS.InclinacionX, 2);
    EXPECT_EQ(inclinado.SueloS.InclinacionZ, -1);
    EXPECT_EQ(inclinado.SueloS.Y, (Esquinas{1024, 1280, 512, 768}));
    EXPECT_EQ(inclinado.TechoS.Y, (Esquinas{-1280, -1024, -1536, -1280}));
    EXPECT_EQ(inclinado.SueloS.Diagonal, trDiagonal::Ninguna);

    // Floor nibbles (corners 10, 00, 01, 11) 1, 3, 0, 2: the highest, 3, stands at the floor's
    // own height and each click less lies a click lower. The ceiling's nibbles name corners 11,
    // 01, 00, 10: only corner 00 is 15 clicks below the others, which rise from -4 to -19.
    const trSector& cortado = c.Sectores[2];
    EXPECT_TRUE(cortado.SueloS.Triangulada);
    EXPECT_EQ(cortado.SueloS.Y, (Esquinas{0, 768, 512, 256}));
    EXPECT_EQ(cortado.SueloS.Diagonal, trDiagonal::Esquinas1y2);
    EXPECT_EQ(cortado.SueloS.MitadPortal, 0);
    EXPECT_EQ(cortado.SueloS.AlturaTriangulo[0], 1);
    EXPECT_EQ(cortado.SueloS.AlturaTriangulo[1], -2);
    EXPECT_EQ(cortado.TechoS.Y, (Esquinas{-1024, -4864, -4864, -4864}));
    EXPECT_EQ(cortado.TechoS.Diagonal, trDiagonal::Esquinas0y3);
    EXPECT_EQ(cortado.TechoS.MitadPortal, 1);
    EXPECT_EQ(cortado.CuartoAbajo, 1);
    EXPECT_EQ(cortado.CuartoArriba, 1);

    const trSector& marcas = c.Sectores[3];
    EXPECT_TRUE(marcas.Muerte);
    EXPECT_EQ(marcas.Trepar, 1 | 8);
    EXPECT_TRUE(marcas.Mono);
    EXPECT_TRUE(marcas.DisparaDisparador);
    EXPECT_TRUE(marcas.Escarabajo);
    EXPECT_EQ(marcas.Disparador, -1);
    EXPECT_FALSE(c.Sectores[0].Muerte);
    // A flat sector keeps its own heights at every corner.
    EXPECT_EQ(c.Sectores[18].SueloS.Y, (Esquinas{0, 0, 0, 0}));
    EXPECT_EQ(c.Sectores[18].TechoS.Y, (Esquinas{-1024, -1024, -1024, -1024}));

    for (int f : {1, 2, 3, 4, 5, 6, 11, 18, 19, 20, 21})
        EXPECT_GE(l.Funciones[size_t(f)], 1u) << f;
    EXPECT_EQ(l.Funciones[4], 13u);

    // Where a point of the world falls.
    EXPECT_EQ(SectorEn(l, 0, -1024 + 1500, 2048 + 2100), &c.Sectores[1 * 4 + 2]);
    EXPECT_EQ(SectorEn(l, 0, -1025, 2048), nullptr);
    EXPECT_EQ(SectorEn(l, 0, -1024 + 5 * 1024, 2048), nullptr);
    EXPECT_EQ(SectorEn(l, 7, 0, 0), nullptr);
}

TEST(LeerSectores, CadaTipoDeDisparadorYCadaAccion) {
    const trLogica l = Logica(fixture::NivelLogica());
    ASSERT_EQ(l.Disparadores.size(), 13u);
    struct Accion {
        trTipoAccion tipo;
        uint16_t parametro;
        int extra = -1; // -1: none
    };
    struct Caso {
        int32_t item;
        std::vector<Accion> acciones;
    };
    using A = trTipoAccion;
    const Caso casos[13] = {
        {-1, {{A::Objeto, 0}, {A::Camara, 0, 0x8103}}},
        {-1, {{A::Corriente, 1}}},
        {1, {{A::Objeto, 1}, {A::MapaAlterno, 1}}},
        {2, {{A::Objeto, 2}, {A::AlternoEncendido, 1}, {A::AlternoApagado, 1}}},
        {-1, {{A::MirarItem, 0}}},
        {-1, {{A::FinNivel, 3}}},
        {-1, {{A::Musica, 105}}},
        {-1, {{A::Efecto, 96}}},
        {-1, {{A::Secreto, 1}}},
        {-1, {{A::LimpiarCuerpos, 0}}},
        {-1, {{A::Vuelo, 2, 0x8100}}},
        {-1, {{A::Cinematica, 4}}},
        {-1, {{A::Objeto, 3}}},
    };
    for (size_t t = 0; t < 13; ++t) {
        SCOPED_TRACE("trigger type " + std::to_string(t));
        const trDisparador& d = l.Disparadores[t];
        EXPECT_EQ(d.Tipo, t);
        EXPECT_EQ(d.Cuarto, 0u);
        EXPECT_EQ(d.Sector, 4 + t);
        EXPECT_EQ(d.X, (4 + t) / 4);
        EXPECT_EQ(d.Z, (4 + t) % 4);
        EXPECT_EQ(l.Cuartos[0].Sectores[4 + t].Disparador, int32_t(t));
        EXPECT_EQ(d.Item, casos[t].item);
        ASSERT_EQ(d.Acciones.size(), casos[t].acciones.size());
        for (size_t k = 0; k < d.Acciones.size(); ++k) {
            EXPECT_EQ(d.Acciones[k].Tipo, uint8_t(casos[t].acciones[k].tipo)) << k;
            EXPECT_EQ(d.Acciones[k].Parametro, casos[t].acciones[k].parametro) << k;
            EXPECT_EQ(d.Acciones[k].ConExtra, casos[t].acciones[k].extra >= 0) << k;
            if (casos[t].acciones[k].extra >= 0) {
                EXPECT_EQ(d.Acciones[k].Extra, casos[t].acciones[k].extra) << k;
            }
        }
    }
    const trDisparador& primero = l.Disparadores[0];
    EXPECT_EQ(primero.Tiempo, -5);
    EXPECT_TRUE(primero.UnaVez);
    EXPECT_EQ(primero.Mascara, 31);
    EXPECT_EQ(primero.Acciones[1].Tiempo(), 3);
    EXPECT_TRUE(primero.Acciones[1].UnaVez());
    EXPECT_FALSE(l.Disparadores[1].UnaVez);
    EXPECT_EQ(l.Disparadores[1].Mascara, 0);
    EXPECT_TRUE(l.Disparadores[10].Acciones[0].UnaVez());
}

// Bit 15 of an action word marks the last action. Read as "another follows", the same floor
// data runs on into the next sectors' words and off the end of the array.
TEST(LeerSectores, SoloUnaLecturaDelBit15TerminaLimpia) {
    const auto f = fixture::NivelLogica();
    const trLogica bien = Logica(f, trFinAcciones::Bit15Ultima);
    const trLogica mal = Logica(f, trFinAcciones::Bit15Sigue);
    EXPECT_TRUE(bien.Avisos.empty()) << Avisos(bien);
    EXPECT_FALSE(mal.Avisos.empty());
    EXPECT_NE(Avisos(mal).find("pasa del final"), std::string::npos) << Avisos(mal);
}

TEST(LeerSectores, CadenasDanadasSeAvisanPorSector) {
    FijarIdioma(Idioma::Espanol);
    struct Caso {
        const char* que;
        std::function<void(fixture::NivelFixture&)> danar;
        uint32_t sector;
        const char* aviso;
    };
    const Caso casos[] = {
        {"index past the array",
         [](auto& n) { n.cuartos[0].sectores[19].datos = 60000; }, 19, "pasado el final"},
        {"chain without an end",
         [](auto& n) {
             n.cuartos[0].sectores[19].datos = uint16_t(n.datosSuelo.size());
             n.datosSuelo.push_back(0x0005);
         },
         19, "pasa del final"},
        {"portal word cut by the end",
         [](auto& n) {
             n.cuartos[0].sectores[19].datos = uint16_t(n.datosSuelo.size());
             n.datosSuelo.push_back(0x8001);
         },
         19, "pasa del final"},
        {"chain that never ends",
         [](auto& n) {
             n.cuartos[0].sectores[19].datos = uint16_t(n.datosSuelo.size());
             n.datosSuelo.insert(n.datosSuelo.end(), 100, 0x0005);
             n.datosSuelo.push_back(0x8005);
         },
         19, "no termina"},
        {"unknown function", [](auto& n) { n.datosSuelo[1] = 0x801F; }, 0, "desconocida, 31"},
        {"portal to no room", [](auto& n) { n.datosSuelo[2] = 9; }, 0, "cuarto 9, que no existe"},
        {"room below that does not exist",
         [](auto& n) { n.cuartos[0].sectores[18].abajo = 40; }, 18, "abajo, 40, no existe"},
        {"object past the items",
         [](auto& n) { n.items.resize(3); }, 16, "el item 3; el nivel tiene 3"},
        {"camera past the cameras",
         [](auto& n) { n.camaras.resize(1); }, 5, "la cámara 1; el nivel tiene 1"},
        {"flyby sequence nobody flies",
         [](auto& n) { n.camarasVuelo = {n.camarasVuelo[2]}; }, 14, "secuencia de vuelo 2"},
        {"trigger cut after its setup",
         [](auto& n) {
             n.cuartos[0].sectores[19].datos = uint16_t(n.datosSuelo.size());
             n.datosSuelo.insert(n.datosSuelo.end(), {0x8004, 0x0000, 0x0400});
         },
         19, "pasa del final"},
    };
    for (const Caso& c : casos) {
        SCOPED_TRACE(c.que);
        auto f = fixture::NivelLogica();
        c.danar(f);
        const trLogica l = Logica(f);
        bool visto = false;
        for (const auto& a : l.Avisos)
            visto = visto || (a.Cuarto == 0 && a.Sector == c.sector &&
                              a.Texto.find(c.aviso) != std::string::npos);
        EXPECT_TRUE(visto) << Avisos(l);
        // The rest of the level is read all the same.
        EXPECT_EQ(l.Cuartos[0].Sectores[1].SueloS.Y, (Esquinas{1024, 1280, 512, 768}));
    }
}

TEST(LeerSectores, CamarasVuelosFuentesYCuartos) {
    const trLogica l = Logica(fixture::NivelLogica());
    ASSERT_EQ(l.Camaras.size(), 2u);
    EXPECT_EQ(l.Camaras[1].X, -500);
    EXPECT_EQ(l.Camaras[1].Z, 2500);
    EXPECT_EQ(l.Camaras[1].Banderas, 1);
    ASSERT_EQ(l.CamarasVuelo.size(), 3u);
    EXPECT_EQ(l.CamarasVuelo[1].X, 10);
    EXPECT_EQ(l.CamarasVuelo[1].HaciaZ, 1024);
    ASSERT_EQ(l.Secuencias.size(), 3u);
    EXPECT_EQ(l.Secuencias[0], (std::vector<uint32_t>{2}));
    EXPECT_TRUE(l.Secuencias[1].empty());
    EXPECT_EQ(l.Secuencias[2], (std::vector<uint32_t>{1, 0})); // flown by their own index
    ASSERT_EQ(l.FuentesSonido.size(), 1u);
    EXPECT_EQ(l.FuentesSonido[0].Y, -256);
    EXPECT_EQ(l.FuentesSonido[0].Sonido, 7);
    EXPECT_EQ(l.FuentesSonido[0].Banderas, 0x8000);
    EXPECT_TRUE(l.Cuartos[0].Agua());
    EXPECT_EQ(l.Cuartos[0].Banderas, 9);
    EXPECT_EQ(l.Cuartos[0].Alterno, 1);
    EXPECT_EQ(l.Cuartos[0].GrupoAlterno, 3);
    EXPECT_EQ(l.Cuartos[0].X, -1024);
    EXPECT_FALSE(l.Cuartos[1].Agua());
    EXPECT_EQ(l.Cuartos[1].Alterno, -1);
    // Room 0's two lights, read past their colour to the intensity; room 1 has none.
    ASSERT_EQ(l.Cuartos[0].Luces.size(), 2u);
    const trLuzCuarto& luz = l.Cuartos[0].Luces[0];
    EXPECT_EQ(std::tuple(luz.X, luz.Y, luz.Z), std::tuple(2500, -300, 5000));
    EXPECT_EQ(std::tuple(luz.Rojo, luz.Verde, luz.Azul), std::tuple(255, 128, 0));
    EXPECT_EQ(luz.Intensidad, 31);
    EXPECT_EQ(l.Cuartos[0].Luces[1].Tipo, 0);
    EXPECT_TRUE(l.Cuartos[1].Luces.empty());
}

TEST(LeerSectores, NombresDeTiposYAcciones) {
    EXPECT_STREQ(ClaveDisparador(10), "heavy_switch");
    EXPECT_STREQ(ClaveDisparador(13), "unknown");
    EXPECT_STREQ(ClaveAccion(4), "flip_on");
    EXPECT_STREQ(ClaveAccion(13), "cutscene");
    EXPECT_STREQ(ClaveFuncion(20), "trigger_triggerer");
    FijarIdioma(Idioma::Ingles);
    EXPECT_STREQ(NombreDisparador(2), "switch");
    EXPECT_STREQ(NombreAccion(12), "flyby");
    FijarIdioma(Idioma::Espanol);
    EXPECT_STREQ(NombreAccion(12), "vuelo");
}
