// Real levels made by other people, and damaged copies of them. Skipped when the folder of real
// levels is not beside the project (a user's fresh clone).
#include "CargarNivel.h"
#include "DecodificarMuestra.h"
#include "EscritorNivel.h"
#include "LeerMeshes.h"
#include "LeerSectores.h"
#include "LeerSonidos.h"

#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <set>
#include <string>

namespace {

struct Esperado {
    const char* archivo;
    uint16_t cuartos;
    int32_t meshes;
    uint32_t texturasObjeto, paginas;
    // Floor data: sectors, those with a chain, triggers, portals, floor and ceiling slants, and
    // triangulated floors or ceilings.
    uint32_t sectores, conDatos, disparadores, portales, inclinadosSuelo, inclinadosTecho,
        triangulados;
    uint32_t muestras;
    size_t mapaSonido; // entries: the format's 370, or the longer map later tools write
};

// Names the level in test listings instead of dumping the struct's bytes.
void PrintTo(const Esperado& e, std::ostream* os) {
    *os << e.archivo;
}

class NivelReal : public ::testing::TestWithParam<Esperado> {
  protected:
    void SetUp() override {
        const std::string ruta = std::string(TR4_NIVELES_REALES) + "/" + GetParam().archivo;
        archivo_ = fixture::LeerArchivo(ruta);
        if (archivo_.empty())
            GTEST_SKIP() << "no real level at " << ruta;
    }

    std::array<size_t, 5> Bloques() const { return fixture::PosicionesEnArchivo(archivo_); }

    // A damaged copy must end in a refusal with a reason, and leave the loaded level alone.
    void ExpectRechazo(const fixture::Bytes& danado, const std::string& que) {
        SCOPED_TRACE(que);
        trNivel nivel;
        nivel.NumCuartos = 12345;
        std::string motivo;
        EXPECT_EQ(CargarNivelDeMemoria(danado.data(), danado.size(), nivel, &motivo), 0);
        EXPECT_FALSE(motivo.empty());
        EXPECT_EQ(motivo.find('\n'), std::string::npos) << motivo;
        EXPECT_EQ(nivel.NumCuartos, 12345);
    }

    fixture::Bytes archivo_;
};

} // namespace

TEST_P(NivelReal, CifrasConocidas) {
    trNivel nivel;
    std::string motivo;
    ASSERT_EQ(CargarNivelDeMemoria(archivo_.data(), archivo_.size(), nivel, &motivo), 1) << motivo;
    EXPECT_EQ(nivel.Version, 0x00345254u);
    EXPECT_EQ(nivel.NumCuartos, GetParam().cuartos);
    EXPECT_EQ(nivel.Cuartos.size(), GetParam().cuartos);
    EXPECT_EQ(nivel.TexturasObjeto.size(), GetParam().texturasObjeto);
    EXPECT_EQ(nivel.NumPaginas(), GetParam().paginas);
    EXPECT_EQ(nivel.DatosMesh.size(), nivel.NumPalabrasMesh * 2u);
    EXPECT_EQ(nivel.Bloques[2].TamanoInflado, 524288u);

    std::unique_ptr<Lista_Mesh> lista;
    ASSERT_EQ(LeerMeshes(nivel.DatosMesh.data(), uint32_t(nivel.DatosMesh.size()), lista), 1);
    EXPECT_EQ(lista->Cantidad(), GetParam().meshes);
    // Every mesh pointer of the level names the start of one of our records.
    std::vector<uint32_t> punteros(nivel.NumPunterosMesh);
    std::memcpy(punteros.data(), nivel.PunterosMesh.data(), nivel.PunterosMesh.size());
    std::set<uint32_t> inicios;
    uint32_t inicio = 0;
    for (int i = 0; i < lista->Cantidad(); ++i) {
        trMesh* m = nullptr;
        (void)lista->ObtenerMesh(i, m);
        inicios.insert(inicio);
        inicio += 10 + 2 + 6 * uint32_t(m->Vertices.size()) + 2 + 6 * uint32_t(m->Normales.size()) +
                  2 * uint32_t(m->Luces.size()) + 2 + 12 * uint32_t(m->Rectangulos.size()) + 2 +
                  10 * uint32_t(m->Triangulos.size()) + (m->Alineacion ? 2 : 0);
    }
    EXPECT_EQ(inicio, nivel.DatosMesh.size());
    for (uint32_t p : punteros)
        EXPECT_TRUE(inicios.count(p)) << p;
}

// Counted by a reading of our own written apart from this one, with bit 15 of an action word
// marking the last action: every chain ends cleanly and names only what the level holds.
TEST_P(NivelReal, DatosDeSuelo) {
    trNivel nivel;
    ASSERT_EQ(CargarNivelDeMemoria(archivo_.data(), archivo_.size(), nivel), 1);
    const trLogica l = LeerLogica(nivel);
    const Esperado& e = GetParam();
    EXPECT_EQ(l.Sectores, e.sectores);
    EXPECT_EQ(l.SectoresConDatos, e.conDatos);
    EXPECT_EQ(l.Disparadores.size(), e.disparadores);
    EXPECT_EQ(l.Funciones[1], e.portales);
    EXPECT_EQ(l.Funciones[2], e.inclinadosSuelo);
    EXPECT_EQ(l.Funciones[3], e.inclinadosTecho);
    uint32_t triangulados = 0;
    for (int f = 7; f <= 18; ++f)
        triangulados += l.Funciones[size_t(f)];
    EXPECT_EQ(triangulados, e.triangulados);
    EXPECT_TRUE(l.Avisos.empty()) << l.Avisos.front().Texto;
    for (const trDisparador& d : l.Disparadores)
        for (const trAccion& a : d.Acciones)
            if (a.Tipo == uint8_t(trTipoAccion::Objeto)) {
                EXPECT_LT(a.Parametro, nivel.Items.size() / 24);
            }
}

// Each sample decodes whole: as a PCM WAVE again it is the size its record states, and every
// sound the map names picks from samples the level holds.
TEST_P(NivelReal, CadaMuestraSeDecodificaASuTamano) {
    trNivel nivel;
    std::string motivo;
    ASSERT_EQ(CargarNivelDeMemoria(archivo_.data(), archivo_.size(), nivel, &motivo), 1) << motivo;
    trSonidos s;
    LeerSonidos(nivel, s);
    ASSERT_EQ(s.Muestras.size(), GetParam().muestras);
    EXPECT_EQ(s.Mapa.size(), GetParam().mapaSonido);
    EXPECT_EQ(s.MapaLargo, GetParam().mapaSonido != 370);
    std::vector<trPcm> pcm;
    EXPECT_EQ(DecodificarMuestras(nivel, s, &pcm), GetParam().muestras);
    for (size_t i = 0; i < s.Muestras.size(); ++i) {
        SCOPED_TRACE(i);
        const trMuestra& m = s.Muestras[i];
        EXPECT_TRUE(m.Legible()) << m.Motivo;
        EXPECT_EQ(pcm[i].Frecuencia, 22050u);
        // Its data chunk whole; other chunks (cue points, lists) are left out of the PCM WAVE.
        const uint8_t* w = BytesMuestra(nivel, m);
        uint32_t datos = 0;
        for (uint32_t k = 12, t = 0; k + 8 <= m.TamanoGuardado; k += 8 + t + (t & 1)) {
            std::memcpy(&t, w + k + 4, 4);
            if (std::memcmp(w + k, "data", 4) == 0)
                datos = t;
        }
        EXPECT_EQ(pcm[i].BytesDatos(), datos);
        EXPECT_EQ(WavePcm(pcm[i]).size(), 44 + uint64_t{datos});
        EXPECT_LE(44 + uint64_t{datos}, m.TamanoDescomprimido);
    }
    size_t nombrados = 0;
    for (uint32_t id = 0; id < s.Mapa.size(); ++id) {
        if (s.Mapa[id] < 0)
            continue;
        ++nombrados;
        const int32_t d = DetalleDeSonido(s, id);
        ASSERT_GE(d, 0) << id;
        EXPECT_FALSE(MuestrasDeSonido(s, s.Detalles[size_t(d)]).empty()) << id;
    }
    EXPECT_EQ(nombrados, s.Detalles.size());
}

TEST_P(NivelReal, CortadoAntesDeLaCola) {
    const auto bloques = Bloques();
    std::vector<size_t> cortes = {0, 4, 9, 10, 17};
    for (size_t b : bloques)
        for (size_t d : {0, 1, 4, 7, 8, 9, 100})
            cortes.push_back(b + d);
    for (size_t k = 1; k < 24; ++k)
        cortes.push_back(bloques.back() * k / 24);
    for (size_t corte : cortes) {
        if (corte < bloques.back() + 4)
            ExpectRechazo(fixture::Bytes(archivo_.begin(), archivo_.begin() + corte),
                          "cut at " + std::to_string(corte));
    }
}

TEST_P(NivelReal, BitsCambiadosEnLosBloques) {
    const auto bloques = Bloques();
    std::mt19937 azar(1234);
    for (int b = 0; b < 4; ++b) {
        const size_t desde = bloques[b] + 8, hasta = bloques[b + 1] - 8 * (b < 3);
        for (int k = 0; k < 6; ++k) {
            fixture::Bytes danado = archivo_;
            const size_t en = std::uniform_int_distribution<size_t>(desde, hasta - 1)(azar);
            danado[en] ^= uint8_t(1u << (azar() % 8));
            ExpectRechazo(danado, "block " + std::to_string(b + 1) + " byte " + std::to_string(en));
        }
    }
}

// Anywhere in the file a flipped bit ends in a clear result; the tail and most header values are
// used by nothing, so those flips may load.
TEST_P(NivelReal, BitsCambiadosEnCualquierParte) {
    std::mt19937 azar(99);
    for (int k = 0; k < 16; ++k) {
        fixture::Bytes danado = archivo_;
        const size_t en = k < 8 ? size_t(k * 3) : azar() % danado.size();
        danado[en] ^= uint8_t(1u << (azar() % 8));
        trNivel nivel;
        std::string motivo;
        if (CargarNivelDeMemoria(danado.data(), danado.size(), nivel, &motivo) == 0) {
            EXPECT_FALSE(motivo.empty()) << en;
        }
    }
}

TEST_P(NivelReal, TamanosQueMienten) {
    const auto bloques = Bloques();
    for (int b = 0; b < 4; ++b)
        for (int campo = 0; campo < 2; ++campo)
            for (uint32_t valor : {0u, 1u, 0xFFFFFFFFu, 0x7FFFFFFFu}) {
                fixture::Bytes danado = archivo_;
                std::memcpy(&danado[bloques[b] + 4 * campo], &valor, 4);
                ExpectRechazo(danado, "block " + std::to_string(b + 1) + " field " +
                                          std::to_string(campo) + " = " + std::to_string(valor));
            }
    // One byte smaller than its stream inflates to.
    for (int b = 0; b < 4; ++b) {
        fixture::Bytes danado = archivo_;
        uint32_t inflado;
        std::memcpy(&inflado, &danado[bloques[b]], 4);
        --inflado;
        std::memcpy(&danado[bloques[b]], &inflado, 4);
        ExpectRechazo(danado, "block " + std::to_string(b + 1) + " one byte short");
    }
}

INSTANTIATE_TEST_SUITE_P(Niveles, NivelReal,
                         ::testing::Values(Esperado{"title-a.tr4", 42, 191, 1792, 15, 3042,
                                                                    447, 13, 135, 84, 171, 71, 7, 370},
                                           Esperado{"title-b.tr4", 2, 94, 2839, 35, 472, 1,
                                                                    1, 0, 0, 0, 0, 7, 2048}),
                         [](const auto& info) {
                             return std::string(info.param.archivo).substr(0, 7) == "title-a"
                                        ? std::string("TitleA")
                                        : std::string("TitleB");
                         });

namespace {

// What an independent walk of each file, field by field to its last byte, counts.
struct EsperadoClasico {
    const char* archivo;
    int juego;
    uint16_t cuartos;
    uint32_t verticesCuartos, rectangulosCuartos, triangulosCuartos;
    int32_t meshes;
    uint32_t rectangulosMesh, triangulosMesh, punteros, animaciones, movibles, texturasObjeto,
        paginas, items, datosSuelo;
};

void PrintTo(const EsperadoClasico& e, std::ostream* os) {
    *os << e.archivo;
}

class NivelClasicoReal : public ::testing::TestWithParam<EsperadoClasico> {
  protected:
    void SetUp() override {
        const std::string ruta = std::string(TR4_NIVELES_REALES) + "/classic/" + GetParam().archivo;
        archivo_ = fixture::LeerArchivo(ruta);
        if (archivo_.empty())
            GTEST_SKIP() << "no real level at " << ruta;
    }
    fixture::Bytes archivo_;
};

} // namespace

TEST_P(NivelClasicoReal, CifrasDeUnaLecturaIndependiente) {
    const EsperadoClasico& e = GetParam();
    trNivel nivel;
    std::string motivo;
    ASSERT_EQ(CargarNivelDeMemoria(archivo_.data(), archivo_.size(), nivel, &motivo), 1) << motivo;
    EXPECT_EQ(nivel.Juego, e.juego);
    EXPECT_EQ(nivel.NumCuartos, e.cuartos);
    uint32_t vertices = 0, rectangulos = 0, triangulos = 0;
    for (const trCuarto& c : nivel.Cuartos) {
        vertices += uint32_t(c.Vertices.size() / 12);
        rectangulos += uint32_t(c.Rectangulos.size() / 10);
        triangulos += uint32_t(c.Triangulos.size() / 8);
    }
    EXPECT_EQ(vertices, e.verticesCuartos);
    EXPECT_EQ(rectangulos, e.rectangulosCuartos);
    EXPECT_EQ(triangulos, e.triangulosCuartos);
    EXPECT_EQ(nivel.NumPunterosMesh, e.punteros);
    EXPECT_EQ(nivel.NumAnimaciones, e.animaciones);
    EXPECT_EQ(nivel.Animaciones.size(), e.animaciones * 40u);
    EXPECT_EQ(nivel.NumMovibles, e.movibles);
    EXPECT_EQ(nivel.TexturasObjeto.size(), e.texturasObjeto) << "no coloured faces: no more";
    EXPECT_EQ(nivel.NumPaginas(), e.paginas);
    EXPECT_EQ(nivel.Items.size(), e.items * 24u);
    EXPECT_EQ(nivel.NumDatosSuelo, e.datosSuelo);

    std::unique_ptr<Lista_Mesh> lista;
    ASSERT_EQ(LeerMeshes(nivel.DatosMesh.data(), uint32_t(nivel.DatosMesh.size()), lista), 1);
    ASSERT_EQ(lista->Cantidad(), e.meshes);
    uint32_t rm = 0, tm = 0;
    std::set<uint32_t> inicios;
    for (int i = 0; i < lista->Cantidad(); ++i) {
        trMesh* m = nullptr;
        ASSERT_TRUE(lista->ObtenerMesh(i, m));
        rm += uint32_t(m->Rectangulos.size());
        tm += uint32_t(m->Triangulos.size());
        inicios.insert(m->Inicio);
        for (const auto& f : m->Rectangulos)
            EXPECT_LT(f.Textura, nivel.TexturasObjeto.size());
    }
    EXPECT_EQ(rm, e.rectangulosMesh);
    EXPECT_EQ(tm, e.triangulosMesh);
    for (size_t i = 0; i + 4 <= nivel.PunterosMesh.size(); i += 4) {
        uint32_t p;
        std::memcpy(&p, nivel.PunterosMesh.data() + i, 4);
        EXPECT_TRUE(inicios.count(p)) << "pointer " << i / 4 << " names a record";
    }
    // Every page texel set: the palette's or the 16-bit pages' opacity bit decides alpha.
    size_t transparentes = 0;
    for (size_t i = 3; i < nivel.DatosBloque[0].size(); i += 4)
        transparentes += nivel.DatosBloque[0][i] == 0;
    EXPECT_GT(transparentes, 0u);
    EXPECT_LT(transparentes, nivel.DatosBloque[0].size() / 4);

    // The fifth game's samples: one per sample index, each MS-ADPCM decoding to the 16-bit PCM
    // size its record states; every sound its 450-entry map names finds its samples.
    if (e.juego == 5) {
        trSonidos s;
        LeerSonidos(nivel, s);
        EXPECT_EQ(s.Mapa.size(), 450u);
        ASSERT_EQ(s.Muestras.size(), nivel.NumIndicesMuestra);
        ASSERT_FALSE(s.Muestras.empty());
        std::vector<trPcm> pcm;
        EXPECT_EQ(DecodificarMuestras(nivel, s, &pcm), s.Muestras.size());
        for (size_t i = 0; i < s.Muestras.size(); ++i) {
            EXPECT_TRUE(s.Muestras[i].Legible()) << i << ": " << s.Muestras[i].Motivo;
            EXPECT_EQ(pcm[i].BytesDatos(), s.Muestras[i].TamanoDescomprimido) << i;
        }
        for (uint32_t id = 0; id < s.Mapa.size(); ++id) {
            if (const int32_t d = DetalleDeSonido(s, id); d >= 0) {
                EXPECT_FALSE(MuestrasDeSonido(s, s.Detalles[size_t(d)]).empty()) << id;
            }
        }
    }
}

// Cut anywhere, and any bit flipped: a clear result, the game named when refused.
TEST_P(NivelClasicoReal, CortadoOCambiadoTerminaEnUnResultadoClaro) {
    const std::string juego =
        "nivel de Tomb Raider " + std::to_string(GetParam().juego) + " dañado: ";
    // The fifth game's file is told by its third block's size: cut before it, it reads as a
    // damaged fourth-game level.
    size_t nombrado = 0;
    if (GetParam().juego == 5) {
        nombrado = 10;
        for (int b = 0; b < 2; ++b) {
            uint32_t comprimido;
            std::memcpy(&comprimido, archivo_.data() + nombrado + 4, 4);
            nombrado += 8 + comprimido;
        }
        nombrado += 4;
    }
    // A cut among the sounds that follow the level data leaves a level that opens, its cut
    // samples unreadable, as the fourth game's does.
    trNivel entero;
    ASSERT_EQ(CargarNivelDeMemoria(archivo_.data(), archivo_.size(), entero, nullptr), 1);
    const size_t cola = archivo_.size() - entero.Cola.size();
    for (size_t k = 1; k < 40; ++k) {
        const size_t corte = archivo_.size() * k / 40 + k;
        trNivel nivel;
        if (corte > cola) {
            EXPECT_EQ(CargarNivelDeMemoria(archivo_.data(), corte, nivel, nullptr), 1) << corte;
            continue;
        }
        nivel.NumCuartos = 12345;
        std::string motivo;
        EXPECT_EQ(CargarNivelDeMemoria(archivo_.data(), corte, nivel, &motivo), 0) << corte;
        if (corte >= nombrado) {
            EXPECT_EQ(motivo.rfind(juego, 0), 0u) << motivo;
        }
        EXPECT_EQ(nivel.NumCuartos, 12345);
    }
    std::mt19937 azar(7);
    for (int k = 0; k < 24; ++k) {
        fixture::Bytes danado = archivo_;
        const size_t en = 4 + azar() % (danado.size() - 4);
        danado[en] ^= uint8_t(1u << (azar() % 8));
        trNivel nivel;
        std::string motivo;
        if (CargarNivelDeMemoria(danado.data(), danado.size(), nivel, &motivo) == 0 &&
            en >= nombrado) {
            EXPECT_EQ(motivo.rfind(juego, 0), 0u) << en << ": " << motivo;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(
    Niveles, NivelClasicoReal,
    ::testing::Values(
        EsperadoClasico{"tr1-b.phd", 1, 4, 325, 297, 4, 101, 1525, 794, 151, 205, 27, 593, 6, 2, 98},
        EsperadoClasico{"tr2-b.tr2", 2, 4, 324, 297, 4, 135, 2370, 1152, 266, 335, 48, 845, 8, 2, 98},
        EsperadoClasico{"tr3-b.tr2", 3, 4, 324, 297, 4, 141, 2708, 1753, 302, 434, 61, 978, 6, 2,
                        104},
        EsperadoClasico{"tr5-b.trc", 5, 4, 324, 297, 4, 443, 6777, 3694, 590, 764, 151, 1954, 11,
                        4, 98}),
    [](const auto& info) { return "TR" + std::to_string(info.param.juego); });
