// Levels of the first three games, written by the fixture writer in each game's own records, read
// into the same model a fourth-game level of the same description fills.
#include "ConvencionesNivel.h"
#include "EscritorClasico.h"
#include "LeerAnimaciones.h"
#include "LeerClasico.h"
#include "LeerCuartos.h"
#include "NivelLeido.h"
#include "TablaNombres.h"

#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <sstream>

namespace nombres_incluidos {
extern const char* const TR1;
extern const char* const TR2;
extern const char* const TR3;
} // namespace nombres_incluidos

namespace {

using fixture::Bytes;

class PorJuego : public ::testing::TestWithParam<int> {};

// The keyframes of NivelAnimado (12 words: box and root, mesh 0 turned about y alone in one word
// of 12 bits, mesh 1 by two words) in the game's own layout: the first game counts its rotation
// words and swaps each pair, and has no one-axis form; the next two turn one axis in 10 bits.
std::vector<uint16_t> CuadrosDelJuego(const std::vector<uint16_t>& tr4, int juego) {
    std::vector<uint16_t> r;
    for (size_t c = 0; c + 12 <= tr4.size(); c += 12) {
        r.insert(r.end(), tr4.begin() + ptrdiff_t(c), tr4.begin() + ptrdiff_t(c + 9));
        const uint16_t y10 = uint16_t((tr4[c + 9] & 0xFFF) >> 2);
        if (juego == 1) {
            r.push_back(2);
            r.push_back(uint16_t((y10 & 0x3F) << 10)); // the second word first
            r.push_back(uint16_t(y10 >> 6));
            r.push_back(tr4[c + 11]);
            r.push_back(tr4[c + 10]);
        } else {
            r.push_back(uint16_t(0x8000 | y10));
            r.push_back(tr4[c + 10]);
            r.push_back(tr4[c + 11]);
        }
    }
    return r;
}

fixture::NivelFixture AnimadoDelJuego(int juego) {
    fixture::NivelFixture n = fixture::NivelAnimado();
    n.cuadros = CuadrosDelJuego(n.cuadros, juego);
    if (juego == 1)
        for (auto& a : n.animaciones) {
            // Keyframes 14 words apart instead of 12, and no frame size: the reader finds it.
            a.cuadro = a.cuadro / 24 * 28;
            a.tamano = 0;
        }
    return n;
}

} // namespace

// Rooms, meshes, placements, textures and pages of NivelCuartos read as the fourth game's.
TEST_P(PorJuego, LosCuartosYLasMeshesSonLosDelMismoNivelDeTR4) {
    const int juego = GetParam();
    const auto base = fixture::NivelCuartos();
    const auto tr4 = LeerNivelYObjetos(fixture::EscribirNivel(base));
    const auto clasico = LeerNivelYObjetos(fixture::EscribirNivelClasico(juego, base));
    const trNivel& a = tr4->nivel;
    const trNivel& b = clasico->nivel;
    EXPECT_EQ(b.Juego, juego);
    EXPECT_EQ(b.Version, fixture::VersionClasica(juego));

    const auto ca = LeerCuartos(a), cb = LeerCuartos(b);
    ASSERT_EQ(ca.size(), cb.size());
    for (size_t r = 0; r < ca.size(); ++r) {
        SCOPED_TRACE(r);
        EXPECT_EQ(cb[r].X, ca[r].X);
        EXPECT_EQ(cb[r].Alterno, ca[r].Alterno);
        ASSERT_EQ(cb[r].Vertices.size(), ca[r].Vertices.size());
        for (size_t v = 0; v < ca[r].Vertices.size(); ++v) {
            EXPECT_EQ(cb[r].Vertices[v].X, ca[r].Vertices[v].X);
            EXPECT_EQ(cb[r].Vertices[v].Y, ca[r].Vertices[v].Y);
            EXPECT_EQ(cb[r].Vertices[v].Z, ca[r].Vertices[v].Z);
            // Grey levels keep the red channel for all three; the third game keeps the colour.
            const uint16_t c = ca[r].Vertices[v].Color, rojo = (c >> 10) & 31;
            EXPECT_EQ(cb[r].Vertices[v].Color,
                      juego == 3 ? c : uint16_t(rojo << 10 | rojo << 5 | rojo));
        }
        ASSERT_EQ(cb[r].Caras.size(), ca[r].Caras.size());
        for (size_t f = 0; f < ca[r].Caras.size(); ++f) {
            EXPECT_EQ(cb[r].Caras[f].Textura, ca[r].Caras[f].Textura);
            EXPECT_EQ(cb[r].Caras[f].DobleCara, ca[r].Caras[f].DobleCara);
            EXPECT_EQ(0, std::memcmp(cb[r].Caras[f].Vertices, ca[r].Caras[f].Vertices,
                                     sizeof ca[r].Caras[f].Vertices));
        }
        EXPECT_EQ(cb[r].Descartadas, ca[r].Descartadas);
    }

    // Meshes: the same records in the fourth game's layout, every pointer on its record.
    ASSERT_EQ(clasico->lista->Cantidad(), tr4->lista->Cantidad());
    for (int i = 0; i < tr4->lista->Cantidad(); ++i) {
        trMesh *ma = nullptr, *mb = nullptr;
        ASSERT_TRUE(tr4->lista->ObtenerMesh(i, ma) && clasico->lista->ObtenerMesh(i, mb));
        EXPECT_EQ(mb->Vertices.size(), ma->Vertices.size());
        ASSERT_EQ(mb->Rectangulos.size(), ma->Rectangulos.size());
        ASSERT_EQ(mb->Triangulos.size(), ma->Triangulos.size());
        for (size_t f = 0; f < ma->Rectangulos.size(); ++f)
            EXPECT_EQ(mb->Rectangulos[f].Textura, ma->Rectangulos[f].Textura);
    }
    const auto& oa = tr4->objetos;
    const auto& ob = clasico->objetos;
    ASSERT_EQ(ob.Movibles.size(), oa.Movibles.size());
    for (size_t i = 0; i < oa.Movibles.size(); ++i)
        EXPECT_EQ(ob.Movibles[i].Meshes, oa.Movibles[i].Meshes);
    ASSERT_EQ(ob.Estaticos.size(), oa.Estaticos.size());
    for (size_t i = 0; i < oa.Estaticos.size(); ++i)
        EXPECT_EQ(ob.Estaticos[i].Mesh, oa.Estaticos[i].Mesh);
    ASSERT_EQ(ob.Items.size(), oa.Items.size());
    for (size_t i = 0; i < oa.Items.size(); ++i) {
        EXPECT_EQ(ob.Items[i].Objeto, oa.Items[i].Objeto);
        EXPECT_EQ(ob.Items[i].Cuarto, oa.Items[i].Cuarto);
        EXPECT_EQ(ob.Items[i].X, oa.Items[i].X);
        EXPECT_EQ(ob.Items[i].Z, oa.Items[i].Z);
        EXPECT_EQ(ob.Items[i].Angulo, oa.Items[i].Angulo);
        EXPECT_EQ(ob.Items[i].Banderas, oa.Items[i].Banderas);
    }
    ASSERT_EQ(ob.Colocaciones.size(), oa.Colocaciones.size());
    for (size_t i = 0; i < oa.Colocaciones.size(); ++i) {
        EXPECT_EQ(ob.Colocaciones[i].Id, oa.Colocaciones[i].Id);
        EXPECT_EQ(ob.Colocaciones[i].X, oa.Colocaciones[i].X);
        EXPECT_EQ(ob.Colocaciones[i].Rotacion, oa.Colocaciones[i].Rotacion);
    }

    ASSERT_EQ(b.TexturasObjeto.size(), a.TexturasObjeto.size());
    for (size_t t = 0; t < a.TexturasObjeto.size(); ++t) {
        EXPECT_EQ(b.TexturasObjeto[t].Tile, a.TexturasObjeto[t].Tile);
        for (int k = 0; k < 4; ++k)
            EXPECT_EQ(b.TexturasObjeto[t].Esquinas[k].X, a.TexturasObjeto[t].Esquinas[k].X);
    }
    // Pages: the 16-bit ones keep 5 bits a channel; the first game's palette 6. The quadrants'
    // full channels survive both within a step.
    ASSERT_EQ(b.NumPaginas(), a.NumPaginas());
    ASSERT_EQ(b.DatosBloque[0].size(), a.DatosBloque[0].size());
    const int paso = juego == 1 ? 4 : 8;
    for (size_t i = 0; i < a.DatosBloque[0].size(); i += 4 * 997)
        for (int k = 0; k < 4; ++k)
            EXPECT_NEAR(b.DatosBloque[0][i + size_t(k)], a.DatosBloque[0][i + size_t(k)], paso)
                << "texel " << i / 4;
}

// Keyframes: the first game's counted, swapped words and the 10-bit one-axis turns of the next two
// give the turns the fourth game's words give.
TEST_P(PorJuego, LosCuadrosGiranComoLosDeTR4) {
    const int juego = GetParam();
    const auto tr4 = LeerNivelYObjetos(fixture::EscribirNivel(fixture::NivelAnimado()));
    const auto clasico =
        LeerNivelYObjetos(fixture::EscribirNivelClasico(juego, AnimadoDelJuego(juego)));
    const auto& aa = tr4->objetos.Animaciones.Animaciones;
    const auto& ab = clasico->objetos.Animaciones.Animaciones;
    ASSERT_EQ(ab.size(), aa.size());
    int comparadas = 0;
    for (size_t i = 0; i < aa.size(); ++i) {
        SCOPED_TRACE(i);
        // The first game's frame size comes from the keyframe itself, so the fixture's faults of
        // frame size (none, too small) are not faults there.
        if (juego != 1) {
            EXPECT_EQ(ab[i].Motivo, aa[i].Motivo);
        }
        if (!aa[i].Jugable())
            continue;
        ASSERT_TRUE(ab[i].Jugable()) << ClaveMotivo(ab[i].Motivo);
        EXPECT_EQ(ab[i].Claves, aa[i].Claves);
        EXPECT_EQ(ab[i].Velocidad, aa[i].Velocidad);
        EXPECT_EQ(ab[i].Siguiente, aa[i].Siguiente);
        for (uint32_t k = 0; k < aa[i].Claves; ++k) {
            trCuadroClave ka, kb;
            ASSERT_TRUE(
                LeerCuadroClave(tr4->nivel, InicioClave(aa[i], k), aa[i].TamanoCuadro, 2, ka));
            ASSERT_TRUE(
                LeerCuadroClave(clasico->nivel, InicioClave(ab[i], k), ab[i].TamanoCuadro, 2, kb));
            EXPECT_EQ(kb.RaizX, ka.RaizX);
            EXPECT_EQ(kb.RaizY, ka.RaizY);
            for (size_t m = 0; m < 2; ++m) {
                EXPECT_NEAR(kb.Giros[m].X, ka.Giros[m].X, 1e-5f) << "key " << k << " mesh " << m;
                EXPECT_NEAR(kb.Giros[m].Y, ka.Giros[m].Y, 1e-5f) << "key " << k << " mesh " << m;
                EXPECT_NEAR(kb.Giros[m].Z, ka.Giros[m].Z, 1e-5f) << "key " << k << " mesh " << m;
            }
            ++comparadas;
        }
    }
    EXPECT_GE(comparadas, 6);
    // Moveable 3's first frame poses it as the fourth game's does.
    ASSERT_FALSE(clasico->objetos.Movibles.empty());
    EXPECT_TRUE(clasico->objetos.Movibles[0].Completo);
    EXPECT_NEAR(clasico->objetos.Movibles[0].Giros[1].X, tr4->objetos.Movibles[0].Giros[1].X,
                1e-5f);
}

// A coloured face is drawn from a page of palette colours: its texture names a texel of the
// entry's colour.
TEST_P(PorJuego, LasCarasDeColorTomanSuColorDeLaPaleta) {
    const int juego = GetParam();
    auto n = fixture::NivelCuartos();
    fixture::MeshFixture m;
    m.vertices = {{0, 0, 0}, {100, 0, 0}, {100, 100, 0}, {0, 100, 0}};
    // Entry 1 is the first colour of the pages (palettes are built in texel order).
    const uint16_t entrada = 1;
    m.rectangulosColor = {{{0, 1, 2, 3}, uint16_t(juego == 1 ? entrada : entrada << 8)}};
    m.triangulosColor = {{{0, 1, 2}, uint16_t(juego == 1 ? entrada : entrada << 8)}};
    m.rectangulos = {{{0, 1, 2, 3}, 0}};
    n.meshes.push_back(m);
    const auto l = LeerNivelYObjetos(fixture::EscribirNivelClasico(juego, n));
    const trNivel& nivel = l->nivel;
    const uint32_t paginasDelNivel = uint32_t(n.paginas.size() / trNivel::BYTES_PAGINA);
    ASSERT_EQ(nivel.NumPaginas(), paginasDelNivel + 1) << "a page of colours";
    trMesh* mesh = nullptr;
    ASSERT_TRUE(l->lista->ObtenerMesh(l->lista->Cantidad() - 1, mesh));
    ASSERT_EQ(mesh->Rectangulos.size(), 2u);
    ASSERT_EQ(mesh->Triangulos.size(), 1u);
    EXPECT_EQ(mesh->Rectangulos[0].Textura, 0) << "textured faces first";
    for (uint16_t textura : {mesh->Rectangulos[1].Textura, mesh->Triangulos[0].Textura}) {
        const trTexturaObjeto* t = TexturaObjeto(nivel, textura);
        ASSERT_NE(t, nullptr);
        EXPECT_EQ(PaginaDeTextura(*t, false), paginasDelNivel);
        // The first texel of the level's pages is the colour entry 1 holds.
        const uint8_t* esperado = n.paginas.data();
        const uint8_t* texel =
            nivel.DatosBloque[0].data() +
            size_t(PaginaDeTextura(*t, false)) * trNivel::BYTES_PAGINA +
            4 * size_t(TexelEsquina(t->Esquinas[0].Y) * 256 + TexelEsquina(t->Esquinas[0].X));
        for (int k = 0; k < 3; ++k)
            EXPECT_NEAR(texel[k], esperado[k], 4) << "channel " << k;
        EXPECT_EQ(texel[3], 255);
    }
}

// Every section cut short, a count that no longer matches, bytes left over: refused with the
// game and the section named, and what was open left alone.
TEST_P(PorJuego, LosDanosSeRechazanNombrandoJuegoYSeccion) {
    const int juego = GetParam();
    fixture::SeccionesClasico s;
    auto n = AnimadoDelJuego(juego);
    n.paginas = fixture::PaginaCuadrantes(0xFFFF0000, 0xFF00FF00, 0xFF0000FF, 0xFFFFFFFF);
    const Bytes sano = fixture::EscribirNivelClasico(juego, n, &s);
    {
        trNivel nivel;
        std::string motivo;
        ASSERT_EQ(CargarNivelDeMemoria(sano.data(), sano.size(), nivel, &motivo), 1) << motivo;
    }
    const std::string juegoTexto = "nivel de Tomb Raider " + std::to_string(juego) + " dañado: ";
    auto cortado = [&](size_t n) { return Bytes(sano.begin(), sano.begin() + ptrdiff_t(n)); };
    auto cambiado = [&](size_t en, uint32_t valor) {
        Bytes b = sano;
        std::memcpy(b.data() + en, &valor, 4);
        return b;
    };
    const struct {
        const char* caso;
        Bytes archivo;
        std::string pista;
    } tabla[] = {
        {"version sola", cortado(4), juego == 1 ? "sin el número de páginas" : "sin la paleta"},
        {"paginas cortadas", cortado(s.paginas + 4 + 100),
         "(" + std::to_string(s.paginas + 104) + " bytes) sin las páginas de 8 bits"},
        {"cuartos sin cuenta", cortado(s.cuartos + 1), "sin el número de cuartos"},
        {"cuenta de cuartos enorme",
         [&] {
             Bytes b = sano;
             b[s.cuartos] = b[s.cuartos + 1] = 0xFF;
             return b;
         }(),
         "los cuartos (65535 × "},
        {"meshes cortadas", cortado(s.meshes + 4 + 6), "los datos de meshes"},
        {"palabras de meshes de mas", cambiado(s.meshes, 0x7FFFFFFF),
         "los datos de meshes (2147483647 × 2"},
        {"punteros de mas", cambiado(s.punteros, 3), ""},
        {"punteros de menos", cambiado(s.punteros, 1), ""},
        {"animaciones cortadas", cortado(s.animaciones + 4 + 40), "las animaciones (8 × 32"},
        // The rows between the animations and the keyframes: each named for itself.
        {"cambios de estado de mas",
         cambiado(s.animaciones + 4 + 32 * n.animaciones.size(), 0x10000000),
         "los cambios de estado (268435456 × 6"},
        {"arboles cortados", cortado(s.cuadros - 2), "los árboles de meshes"},
        {"cuadros cortados", cortado(s.cuadros + 10), "los cuadros de animación"},
        {"items cortados", cortado(s.items + 3), "sin el número de items"},
        {"bytes de mas",
         [&] {
             Bytes b = sano;
             b.push_back(0);
             return b;
         }(),
         "sobran 1 bytes tras los índices de muestras"},
    };
    for (const auto& c : tabla) {
        SCOPED_TRACE(c.caso);
        trNivel nivel;
        nivel.NumCuartos = 12345;
        std::string motivo;
        EXPECT_EQ(CargarNivelDeMemoria(c.archivo.data(), c.archivo.size(), nivel, &motivo), 0);
        EXPECT_EQ(motivo.rfind(juegoTexto, 0), 0u) << motivo;
        EXPECT_NE(motivo.find(c.pista), std::string::npos) << motivo;
        EXPECT_EQ(motivo.find('\n'), std::string::npos) << motivo;
        EXPECT_EQ(nivel.NumCuartos, 12345) << "what was open stays";
    }
    // The first game's keyframes are walked by their own count: one that runs past the frames.
    if (juego == 1) {
        Bytes b = sano;
        b[s.cuadros + 4 + 18] = 0xFF;
        trNivel nivel;
        std::string motivo;
        EXPECT_EQ(CargarNivelDeMemoria(b.data(), b.size(), nivel, &motivo), 0);
        EXPECT_NE(motivo.find("los cuadros de animación"), std::string::npos) << motivo;
    }
}

INSTANTIATE_TEST_SUITE_P(Clasicos, PorJuego, ::testing::Values(1, 2, 3),
                         [](const auto& i) { return "TR" + std::to_string(i.param); });

// Grey levels: 0 the brightest, the texel as painted at 4096 and below, black at 8191.
TEST(LeerClasico, LasLucesGrisesSeVuelvenColores) {
    const struct {
        int16_t luz;
        uint16_t canal;
    } tabla[] = {{0, 31}, {4096, 15}, {4095, 16}, {7136, 4}, {8191, 0}, {-5, 31}, {32767, 0}};
    for (const auto& [luz, canal] : tabla)
        EXPECT_EQ(ColorDeLuzClasica(luz), uint16_t(canal << 10 | canal << 5 | canal)) << luz;
}

// The built-in tables are the files in level/nombres, and a user's table is read by its rules.
TEST(TablaNombres, LasTablasIncluidasSonLasDeLosArchivosYLasDelUsuarioSeLeen) {
    const char* incluidas[] = {nombres_incluidos::TR1, nombres_incluidos::TR2,
                               nombres_incluidos::TR3};
    for (int juego = 1; juego <= 3; ++juego) {
        std::ifstream f(std::string(TR4_RAIZ) + "/level/nombres/tr" + std::to_string(juego) +
                        ".tsv");
        ASSERT_TRUE(f) << "level/nombres/tr" << juego << ".tsv";
        std::stringstream texto;
        texto << f.rdbuf();
        EXPECT_EQ(texto.str(), incluidas[juego - 1]) << "game " << juego;
        EXPECT_EQ(NombresDeJuego(juego).Movible(0), "Lara");
    }
    EXPECT_EQ(NombresDeJuego(3).Movible(315), "Lara skin");
    EXPECT_EQ(NombresDeJuego(1).Estatico(0), "") << "the public tables name no statics";
    EXPECT_EQ(NombresDeJuego(9).Movible(0), "");

    TablaNombres t;
    t.Cargar("# comment\n0\tLara\tmoveable\r\n 12 \t Guard \n8\tbad line\n"
             "x\tnot a number\tmoveable\n43\tA column\tstatic\n99\t\tmoveable\n7");
    EXPECT_EQ(t.Movible(0), "Lara");
    EXPECT_EQ(t.Movible(12), "Guard");
    EXPECT_EQ(t.Movible(8), "bad line") << "a kind is optional";
    EXPECT_EQ(t.Movible(43), "");
    EXPECT_EQ(t.Estatico(43), "A column");
    EXPECT_EQ(t.Movible(99), "") << "no name, no entry";
    EXPECT_EQ(t.Movible(7), "");
    EXPECT_EQ(ConNombre("movible_12", t.Movible(12)), "movible_12 Guard");
    EXPECT_EQ(ConNombre("movible_13", t.Movible(13)), "movible_13");
    EXPECT_FALSE(t.CargarArchivo("/no/such/file.tsv"));
    EXPECT_EQ(t.Movible(0), "Lara") << "a missing file leaves the table";
}

// Lara wears her own meshes in the first two games and a body moveable in the later ones.
TEST(LeerClasico, ElCuerpoDeLaraDependeDelJuego) {
    EXPECT_EQ(IdCuerpoLara(1), ID_LARA);
    EXPECT_EQ(IdCuerpoLara(2), ID_LARA);
    EXPECT_EQ(IdCuerpoLara(3), 315u);
    EXPECT_EQ(IdCuerpoLara(4), ID_CUERPO_LARA);
    EXPECT_EQ(IdCuerpoLara(5), ID_CUERPO_LARA);
}
