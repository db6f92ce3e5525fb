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
