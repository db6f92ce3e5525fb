// Picking by a ray into the scene's own geometry, without a device: what the ray meets first,
// from which side, among what is shown; the ray under a pixel; the sector under a point.
#include "EscritorNivel.h"
#include "InicioNivel.h"
#include "MatrizDispositivo.h"
#include "NivelAbierto.h"
#include "Seleccion.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

namespace {

using T = DuenioCara::Tipo;

// A ray along +z (towards the walls' fronts) through a point of the level (its own axes).
Rayo HaciaZ(float x, float y, float z = -5000) {
    Rayo r;
    r.Origen = {x, -y, z};
    r.Direccion = {0, 0, 1};
    return r;
}

std::unique_ptr<NivelAbierto> Abrir(const fixture::Bytes& archivo) {
    std::unique_ptr<NivelAbierto> n;
    Hecho hecho;
    EXPECT_TRUE((hecho = AbrirNivelDeMemoria(archivo.data(), archivo.size(), n))) << hecho.Motivo();
    return n;
}

} // namespace

TEST(Seleccion, ElRayoEligeItemEstaticoYCuartoDeLaEscena) {
    const auto nivel = Abrir(fixture::EscribirNivel(fixture::NivelCuartos()));
    ASSERT_TRUE(nivel && nivel->Escena);
    const EscenaNivel& e = *nivel->Escena;
    struct {
        OpcionesNivel o;
        Rayo rayo;
        T clase;
        int32_t indice, cuarto;
        float z; // where it is met
        const char* porque;
    } casos[] = {
        {{}, HaciaZ(-400, -256), T::Estatico, 0, 0, 1024, "static 10, the first placement"},
        {{}, HaciaZ(400, -256), T::Item, 0, 1, 1024, "the first item"},
        {{}, HaciaZ(-1536, -512), T::Cuarto, 0, 0, 2048, "room 0's red wall"},
        {{}, HaciaZ(-1536, -1536), T::Cuarto, 0, 0, 2048, "its untextured wall above"},
        {{.Items = false}, HaciaZ(1536, -512), T::Cuarto, 1, 1, 2048, "room 1's green wall"},
        {{.Alternos = true}, HaciaZ(1536, -512), T::Cuarto, 2, 2, 2048, "flipped: room 2"},
    };
    for (const auto& c : casos) {
        SCOPED_TRACE(c.porque);
        const auto a = e.Elegir(c.rayo, c.o);
        ASSERT_TRUE(a);
        const DuenioCara& d = e.Geometria().Partes[a->Parte].Duenio;
        EXPECT_EQ(d.Clase, c.clase);
        EXPECT_EQ(d.Indice, c.indice);
        EXPECT_EQ(d.Cuarto, c.cuarto);
        EXPECT_NEAR(a->Punto.z, c.z, 1);
    }

    // What is hidden is not picked: the ray goes on, here into nothing.
    EXPECT_FALSE(e.Elegir(HaciaZ(-400, -256), {.Estaticos = false}));
    EXPECT_FALSE(e.Elegir(HaciaZ(400, -256), {.Items = false}));

    // From behind, a one-sided wall is culled and let through; a double-sided one is met.
    Rayo atras = HaciaZ(-1536, -512, 5000);
    atras.Direccion = {0, 0, -1};
    EXPECT_FALSE(e.Elegir(atras, {}));
    atras.Origen.x = 1536;
    atras.Origen.y = 1536;
    const auto doble = e.Elegir(atras, {});
    ASSERT_TRUE(doble);
    EXPECT_EQ(e.Geometria().Partes[doble->Parte].Duenio.Indice, 1);
    // Past everything, nothing.
    EXPECT_FALSE(e.Elegir(HaciaZ(9000, 0), {}));

    // The outline's part and the framing of what was picked.
    const int32_t parte = e.ParteDe({T::Item, 0});
    ASSERT_GE(parte, 0);
    const Esfera s = e.EsferaParte(parte);
    EXPECT_NEAR(s.X, 512, 1);
    EXPECT_NEAR(s.Z, 1024, 1);
    EXPECT_EQ(e.ParteDe({T::Item, 2}), -1) << "an item naming a moveable the level lacks";
}

// Within one room or one mesh the ray takes the nearest face it meets, not the first in the
// face list: in this fixture the room's far wall (z 3072) and the mesh's far face come first.
TEST(Seleccion, DentroDeUnaParteGanaLaCaraMasCercana) {
    fixture::NivelFixture f = fixture::NivelMezclas();
    // The mesh's faces at z 600 (the large one, listed first) and 300, placed 2000 nearer.
    f.cuartos[0].estaticos = {{0, 0, -2000, 0, 0, 0, 1}};
    const auto nivel = Abrir(fixture::EscribirNivel(f));
    ASSERT_TRUE(nivel && nivel->Escena);
    const EscenaNivel& e = *nivel->Escena;
    const struct {
        OpcionesNivel o;
        Rayo rayo;
        T clase;
        float z;
        const char* porque;
    } casos[] = {
        {{.Estaticos = false}, HaciaZ(-512, -512), T::Cuarto, 2048, "the wall before the far one"},
        {{.Estaticos = false}, HaciaZ(768, -512), T::Cuarto, 1024, "nearer of three on one line"},
        {{.Estaticos = false}, HaciaZ(-2048, -512), T::Cuarto, 3072, "the far wall alone"},
        {{}, HaciaZ(-200, -200), T::Estatico, -1700, "the mesh's nearer face"},
        {{}, HaciaZ(800, -200), T::Estatico, -1400, "its far face alone"},
    };
    for (const auto& c : casos) {
        SCOPED_TRACE(c.porque);
        const auto a = e.Elegir(c.rayo, c.o);
        ASSERT_TRUE(a);
        EXPECT_EQ(e.Geometria().Partes[a->Parte].Duenio.Clase, c.clase);
        EXPECT_NEAR(a->Punto.z, c.z, 1);
        EXPECT_NEAR(a->Distancia, c.z + 5000, 1);
    }
}

// On a real level, rays every way from the middle of each room: what is picked is the nearest of
// all the triangles the ray meets, whichever part holds it and wherever in the part it comes.
TEST(Seleccion, EnTitleAElAciertoEsElMasCercanoDeTodos) {
    const auto archivo = fixture::LeerArchivo(std::string(TR4_NIVELES_REALES) + "/title-a.tr4");
    if (archivo.empty())
        GTEST_SKIP() << "no real level title-a.tr4";
    const auto nivel = Abrir(archivo);
    ASSERT_TRUE(nivel && nivel->Escena);
    const GeometriaElegible& g = nivel->Escena->Geometria();
    constexpr int RAYOS = 48;
    int aciertos = 0, cuartos = 0;
    for (const ParteElegible& cuarto : g.Partes) {
        if (cuarto.Duenio.Clase != T::Cuarto)
            continue;
        ++cuartos;
        for (int k = 0; k < RAYOS; ++k) {
            // Spread over the sphere: heights evenly apart, turned by the golden angle.
            const float y = 1 - (float(k) + 0.5f) * 2 / RAYOS, r = std::sqrt(1 - y * y);
            const float giro = float(k) * 2.39996323f;
            Rayo rayo;
            rayo.Origen = {(cuarto.Minimo[0] + cuarto.Maximo[0]) / 2,
                           (cuarto.Minimo[1] + cuarto.Maximo[1]) / 2,
                           (cuarto.Minimo[2] + cuarto.Maximo[2]) / 2};
            rayo.Direccion = {r * std::cos(giro), y, r * std::sin(giro)};
            // Every triangle of every part the ray's line goes through.
            float cerca = INFINITY;
            for (const ParteElegible& p : g.Partes) {
                if (!CortarCaja(rayo, p.Minimo, p.Maximo))
                    continue;
                for (uint32_t t = p.Primero; t < p.Primero + p.Cuantos; ++t)
                    if (const auto d =
                            CortarTriangulo(rayo, g.Triangulos[t].P, g.Triangulos[t].DobleCara))
                        cerca = std::min(cerca, *d);
            }
            const auto a = ElegirPrimero(g, rayo);
            SCOPED_TRACE(testing::Message() << "room part " << &cuarto - g.Partes.data()
                                            << ", ray " << k);
            ASSERT_EQ(a.has_value(), std::isfinite(cerca));
            if (a) {
                EXPECT_EQ(a->Distancia, cerca);
                ++aciertos;
            }
        }
    }
    EXPECT_GT(cuartos, 10);
    EXPECT_GT(aciertos, cuartos * RAYOS / 2) << "most rays meet the level";
}

TEST(Seleccion, ElRayoDeUnPixelSaleDelOjoYPasaPorLoQueSeVeAlli) {
    D3DXMATRIX vista, proyeccion;
    const D3DXVECTOR3 ojo{100, 200, -300}, objetivo{100, 200, 700}, arriba{0, 1, 0};
    D3DXMatrixLookAtLH(&vista, &ojo, &objetivo, &arriba);
    D3DXMatrixPerspectiveFovLH(&proyeccion, 0.785398163f, 2.f, 1, 5000);
    const Rayo centro = RayoPorPixel(MatrizGLM(vista), MatrizGLM(proyeccion), 100, 50, 200, 100);
    EXPECT_NEAR(centro.Origen.x, 100, 1e-2);
    EXPECT_NEAR(centro.Origen.z, -300, 1e-2);
    EXPECT_NEAR(centro.Direccion.z, 1, 1e-5);
    // The top edge of the view is half the field of view above the axis; the left edge, the
    // width-over-height times as far to the left.
    const Rayo arribaIzq = RayoPorPixel(MatrizGLM(vista), MatrizGLM(proyeccion), 0, 0, 200, 100);
    const float t = std::tan(0.785398163f / 2);
    EXPECT_NEAR(arribaIzq.Direccion.y / arribaIzq.Direccion.z, t, 1e-4);
    EXPECT_NEAR(arribaIzq.Direccion.x / arribaIzq.Direccion.z, -2 * t, 1e-4);
}

TEST(Seleccion, ElSectorBajoUnPuntoSegunLaRejillaDelCuarto) {
    trCuarto c;
    c.Info[0] = uint32_t(-2048);
    c.Info[1] = 1024;
    c.DimensionSectores1 = 3; // along z
    c.DimensionSectores2 = 2; // along x
    c.Sectores.assign(6 * 8, 0);
    // Sector x 1, z 2: index 2 + 1 * 3 = 5.
    const uint8_t quinto[8] = {7, 0, 0x34, 0x12, 255, uint8_t(-4), 3, uint8_t(-12)};
    std::copy(std::begin(quinto), std::end(quinto), c.Sectores.begin() + 5 * 8);
    const auto s = SectorEn(c, -2048 + 1024 + 10, 1024 + 2048 + 1000);
    ASSERT_TRUE(s);
    EXPECT_EQ(s->X, 1);
    EXPECT_EQ(s->Z, 2);
    EXPECT_EQ(s->Caja, 0x1234);
    EXPECT_EQ(s->IndiceSuelo, 7);
    EXPECT_EQ(s->AlturaSuelo(), -1024);
    EXPECT_EQ(s->AlturaTecho(), -3072);
    EXPECT_EQ(s->CuartoArriba, 3);
    EXPECT_FALSE(SectorEn(c, -2049, 2000)) << "west of the room";
    EXPECT_FALSE(SectorEn(c, 0, 2000)) << "past its two columns";
    c.Sectores.resize(5 * 8);
    EXPECT_FALSE(SectorEn(c, -1000, 3500)) << "its bytes cut short";
}

// Lara's start in the level that ships with the viewer's tests: the view opens behind her, and
// her item wears the body's meshes.
TEST(Seleccion, TitleAAbreDetrasDeLaraYLaraLlevaElCuerpo) {
    const auto archivo = fixture::LeerArchivo(std::string(TR4_NIVELES_REALES) + "/title-a.tr4");
    if (archivo.empty())
        GTEST_SKIP() << "no real level title-a.tr4";
    const auto nivel = Abrir(archivo);
    ASSERT_TRUE(nivel && nivel->Escena);
    const auto inicio = InicioEnLara(nivel->Objetos, nivel->Nivel->Cuartos.size(), &*nivel->Escena);
    ASSERT_TRUE(inicio);
    const trItem& lara = nivel->Objetos.Items[size_t(inicio->Item)];
    EXPECT_EQ(lara.Objeto, 0);
    // Looking at her chest from behind and above, at most a few metres away.
    const glm::vec3 a{inicio->Ojo.x - lara.X, inicio->Ojo.y + lara.Y, inicio->Ojo.z - lara.Z};
    const float lejos = std::hypot(a.x, a.z);
    EXPECT_GT(lejos, 100);
    EXPECT_LE(lejos, DISTANCIA_DETRAS + 1);
    EXPECT_GT(a.y, ALTURA_PECHO);
    const float g = float(uint16_t(lara.Angulo)) * 6.2831853f / 65536;
    EXPECT_NEAR(std::remainder(inicio->Guinada - g, 6.2831853f), 0, 1e-4);
    EXPECT_NEAR(a.x / lejos, -std::sin(g), 1e-3) << "behind her back";
    EXPECT_NEAR(a.z / lejos, -std::cos(g), 1e-3);
    EXPECT_LT(inicio->Cabeceo, 0);

    // Her item is made of moveable 8's meshes, not her own stand-ins, and her joints'.
    const trMovible* cuerpo = nullptr;
    for (const trMovible& m : nivel->Objetos.Movibles)
        if (m.Id == ID_CUERPO_LARA)
            cuerpo = &m;
    ASSERT_NE(cuerpo, nullptr);
    std::vector<int32_t> esperadas;
    for (int32_t m : cuerpo->Meshes)
        if (m >= 0)
            esperadas.push_back(m);
    ASSERT_TRUE(nivel->Articulaciones);
    for (const auto& junta : nivel->Articulaciones->Juntas())
        esperadas.push_back(junta.Mesh);
    EXPECT_EQ(nivel->Escena->MeshesDeItem(inicio->Item), esperadas);
    // And a click on her says so: rays from the eye to her faces meet her, not the room.
    const int32_t parte = nivel->Escena->ParteDe({T::Item, inicio->Item});
    ASSERT_GE(parte, 0);
    const ParteElegible& ella = nivel->Escena->Geometria().Partes[size_t(parte)];
    int suyos = 0, otros = 0;
    for (uint32_t t = ella.Primero; t < ella.Primero + ella.Cuantos; t += 7) {
        const auto& p = nivel->Escena->Geometria().Triangulos[t].P;
        const glm::vec3 c{(p[0][0] + p[1][0] + p[2][0]) / 3, (p[0][1] + p[1][1] + p[2][1]) / 3,
                            (p[0][2] + p[1][2] + p[2][2]) / 3};
        Rayo rayo;
        rayo.Origen = inicio->Ojo;
        const glm::vec3 d{c.x - rayo.Origen.x, c.y - rayo.Origen.y, c.z - rayo.Origen.z};
        const float l = std::hypot(d.x, d.y, d.z);
        rayo.Direccion = {d.x / l, d.y / l, d.z / l};
        const auto a = nivel->Escena->Elegir(rayo, {});
        (a && int32_t(a->Parte) == parte ? suyos : otros) += 1;
    }
    EXPECT_GT(suyos, 3 * otros) << "her faces seen from behind her, from the opening view";
}

// Lara a quarter sector in front of room 0's red wall, her back to it: straight behind her, or
// higher, the wall stands in the way; the view swings round her instead of pressing the eye to
// her back, as far back as it stands where nothing is in the way.
TEST(Seleccion, ConUnMuroASuEspaldaLaVistaLaRodeaEnVezDePegarseAElla) {
    fixture::NivelFixture n = fixture::NivelCuartos();
    struct Caso {
        int32_t z;     // her place before the wall at z 2048, x -1536, on the floor
        bool rodea;    // the way straight behind her is cut short
    };
    for (const Caso c : {Caso{1800, true}, Caso{-2000, false}}) {
        SCOPED_TRACE(c.z);
        n.items = {{.objeto = 0, .cuarto = 0, .x = -1536, .y = 0, .z = c.z,
                    .angulo = int16_t(0x8000)}}; // facing -z
        const auto nivel = Abrir(fixture::EscribirNivel(n));
        ASSERT_TRUE(nivel && nivel->Escena);
        const auto inicio = InicioEnLara(nivel->Objetos, nivel->Nivel->Cuartos.size(),
                                         &*nivel->Escena);
        ASSERT_TRUE(inicio);
        const D3DXVECTOR3 d{inicio->Ojo.x - inicio->Pivote.x, inicio->Ojo.y - inicio->Pivote.y,
                            inicio->Ojo.z - inicio->Pivote.z};
        const float lejos = std::hypot(d.x, d.y, d.z);
        EXPECT_NEAR(lejos, std::hypot(DISTANCIA_DETRAS, ALTURA_OJO - ALTURA_PECHO), 1);
        EXPECT_EQ(std::abs(d.x) > 100, c.rodea) << "swung round her only when the wall is there";
        EXPECT_GT(d.z, 0) << "still from behind her";
        // It looks at her: along the line from the eye to her chest, and nothing of a room
        // between.
        const float g = inicio->Guinada, p = inicio->Cabeceo;
        EXPECT_NEAR(-d.x / lejos, std::sin(g) * std::cos(p), 1e-3);
        EXPECT_NEAR(-d.y / lejos, std::sin(p), 1e-3);
        EXPECT_NEAR(-d.z / lejos, std::cos(g) * std::cos(p), 1e-3);
        const Rayo haciaElla{inicio->Ojo, {-d.x / lejos, -d.y / lejos, -d.z / lejos}};
        const auto a = ElegirPrimero(nivel->Escena->Geometria(), haciaElla, [](const ParteElegible& q) {
            return q.Duenio.Clase == T::Cuarto;
        });
        EXPECT_TRUE(!a || a->Distancia > lejos) << "a wall between the eye and her";
    }
}
