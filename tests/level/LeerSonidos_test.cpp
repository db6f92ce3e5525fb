// A level's sounds: the map and details read as records, the samples after the level data
// located and decoded (PCM and MS-ADPCM), and every damaged sample listed with its reason while
// the level still opens.
#include "DecodificarMuestra.h"
#include "LeerSonidos.h"
#include "NivelLeido.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <functional>

namespace {

using fixture::NivelFixture;

struct Sonoro {
    std::unique_ptr<NivelLeido> l;
    trSonidos s;
};

Sonoro Leer(const fixture::Bytes& archivo) {
    Sonoro r{LeerNivelYObjetos(archivo), {}};
    LeerSonidos(r.l->nivel, r.s);
    return r;
}

void PonerU32(fixture::Bytes& b, size_t en, uint32_t v) {
    std::memcpy(b.data() + en, &v, 4);
}

} // namespace

TEST(LeerSonidos, MapaDetallesYMuestrasDecodificadas) {
    const NivelFixture f = fixture::NivelSonoro();
    const auto r = Leer(fixture::EscribirNivel(f));
    const trSonidos& s = r.s;
    ASSERT_EQ(s.Mapa.size(), 370u);
    EXPECT_FALSE(s.MapaLargo);
    EXPECT_EQ(DetalleDeSonido(s, 0), 0);
    EXPECT_EQ(DetalleDeSonido(s, 7), 1);
    EXPECT_EQ(DetalleDeSonido(s, 1), -1);
    EXPECT_EQ(DetalleDeSonido(s, 5), -1); // detail 40 is not in the list
    EXPECT_EQ(DetalleDeSonido(s, 370), -1);
    ASSERT_EQ(s.Detalles.size(), 3u);
    const trDetalleSonido& d = s.Detalles[1];
    EXPECT_EQ(d.Muestra, 1);
    EXPECT_EQ(d.Volumen, 100);
    EXPECT_EQ(d.Alcance, 20);
    EXPECT_EQ(d.NumMuestras(), 2u);
    EXPECT_EQ(d.Bucle(), 3u);
    EXPECT_EQ(MuestrasDeSonido(s, d), (std::vector<uint32_t>{1, 2}));
    EXPECT_TRUE(MuestrasDeSonido(s, s.Detalles[2]).empty()); // sample 9 is not there

    ASSERT_EQ(s.Muestras.size(), 3u);
    EXPECT_EQ(s.MuestrasDeclaradas, 3u);
    EXPECT_EQ(s.Muestras[0].Formato, 1);
    EXPECT_EQ(s.Muestras[1].Formato, 2); // MS-ADPCM
    EXPECT_EQ(s.Muestras[1].Frecuencia, 22050u);
    trSonidos copia = s;
    std::vector<trPcm> pcm;
    EXPECT_EQ(DecodificarMuestras(r.l->nivel, copia, &pcm), 3u);
    // PCM comes back as it went in; ADPCM as the library's own decoder gives it.
    for (size_t i = 0; i < 3; ++i) {
        SCOPED_TRACE(i);
        EXPECT_TRUE(copia.Muestras[i].Legible()) << copia.Muestras[i].Motivo;
        EXPECT_EQ(pcm[i].Canales, 1);
        EXPECT_EQ(pcm[i].Frecuencia, 22050u);
    }
    EXPECT_EQ(pcm[0].Valores.size(), 100u);
    EXPECT_EQ(pcm[0].Valores[0], -15000);
    EXPECT_EQ(pcm[0].Valores[99], 300 * 99 - 15000);
    const auto adpcm = fixture::Onda(true, std::vector<int16_t>(3000)); // its length alone
    EXPECT_EQ(pcm[1].Valores.size(), adpcm.decodificados.size());
    EXPECT_GE(pcm[1].Valores.size(), 3000u);
    // A square wave of +-8000 stays near its levels through the 4-bit coding.
    EXPECT_NEAR(pcm[1].Valores[1125], -8000, 800);
    EXPECT_NEAR(pcm[1].Valores[1375], 8000, 800);

    // Written back as PCM, it decodes to the same values, and a PCM sample to its own size.
    const trBytes wave = WavePcm(pcm[1]);
    NivelFixture otra = f;
    otra.muestras = {{wave, {}, {}}};
    const auto vuelta = Leer(fixture::EscribirNivel(otra));
    trPcm leida;
    trMuestra m = vuelta.s.Muestras.at(0);
    ASSERT_TRUE(DecodificarMuestra(vuelta.l->nivel, m, leida)) << m.Motivo;
    EXPECT_EQ(leida.Valores, pcm[1].Valores);
    EXPECT_EQ(WavePcm(pcm[0]).size(), f.muestras[0].wave.size());
    EXPECT_TRUE(WavePcm(trPcm{}).empty());
}

// Each damage, one sample at a time: the level opens, the sample is listed unreadable with its
// reason, and no PCM comes out of it; the samples before it still play.
TEST(LeerSonidos, MuestrasDanadasDicenPorQue) {
    struct Caso {
        const char* nombre;
        std::function<void(NivelFixture&)> danar;
        size_t muestra;
        trFallaMuestra falla;
        const char* texto;
    };
    const Caso casos[] = {
        {"PCM con tamaños distintos", [](NivelFixture& f) { f.muestras[2].descomprimido = 999; }, 2,
         trFallaMuestra::TamanosDistintos, "999 bytes sin comprimir"},
        {"ADPCM que no da lo que dice", [](NivelFixture& f) { f.muestras[1].descomprimido = 12; },
         1, trFallaMuestra::TamanosDistintos, "12 bytes sin comprimir"},
        {"sin RIFF", [](NivelFixture& f) { f.muestras[2].wave[0] = 'X'; }, 2,
         trFallaMuestra::RiffDanado, "RIFF"},
        {"RIFF más largo que la muestra",
         [](NivelFixture& f) { PonerU32(f.muestras[2].wave, 4, 1u << 30); }, 2,
         trFallaMuestra::RiffDanado, "1073741832 bytes"},
        {"sin bloque fmt", [](NivelFixture& f) { std::memcpy(&f.muestras[2].wave[12], "junk", 4); },
         2, trFallaMuestra::RiffDanado, "fmt"},
        {"cero canales", [](NivelFixture& f) { f.muestras[2].wave[22] = 0; }, 2,
         trFallaMuestra::RiffDanado, "0 canales"},
        {"formato desconocido",
         [](NivelFixture& f) {
             f.muestras[2].wave[20] = 0x77;
             f.muestras[2].wave[21] = 0x77;
         },
         2, trFallaMuestra::NoDecodifica, "no se puede decodificar"},
        {"demasiado corta", [](NivelFixture& f) { f.muestras[2].wave.resize(6); }, 2,
         trFallaMuestra::RiffDanado, "RIFF"},
        {"pasa del final del archivo", [](NivelFixture& f) { f.muestras[2].guardado = 1u << 20; },
         2, trFallaMuestra::FueraDelArchivo, "1048576 bytes"},
        {"bloque de datos que miente",
         [](NivelFixture& f) {
             // The data chunk claims the most a WAVE can hold, in a sample of a few bytes.
             auto& w = f.muestras[0].wave;
             for (size_t i = 12; i + 8 <= w.size(); i += 8 + w[i + 4] + (w[i + 5] << 8))
                 if (std::memcmp(&w[i], "data", 4) == 0) {
                     PonerU32(w, i + 4, 0xFFFFFF00u);
                     break;
                 }
         },
         0, trFallaMuestra::Ninguno, ""},
    };
    for (const Caso& c : casos) {
        SCOPED_TRACE(c.nombre);
        NivelFixture f = fixture::NivelSonoro();
        c.danar(f);
        const auto r = Leer(fixture::EscribirNivel(f));
        trSonidos s = r.s;
        ASSERT_EQ(s.Muestras.size(), 3u);
        std::vector<trPcm> pcm;
        DecodificarMuestras(r.l->nivel, s, &pcm);
        const trMuestra& m = s.Muestras[c.muestra];
        if (c.falla == trFallaMuestra::Ninguno) {
            // Decoded only as far as the sample's bytes go, never past them.
            EXPECT_LE(pcm[c.muestra].BytesDatos(), 4 * uint64_t{m.TamanoGuardado});
            continue;
        }
        EXPECT_EQ(m.Falla, c.falla) << m.Motivo;
        EXPECT_NE(m.Motivo.find(c.texto), std::string::npos) << m.Motivo;
        EXPECT_STRNE(ClaveFalla(m.Falla), "");
        EXPECT_TRUE(pcm[c.muestra].Valores.empty());
        for (size_t i = 0; i < c.muestra; ++i)
            EXPECT_TRUE(s.Muestras[i].Legible()) << i << " " << s.Muestras[i].Motivo;
    }
}

TEST(LeerSonidos, CuentaQueElArchivoNoGuarda) {
    // The count says more samples than follow: the first missing one says so, no more are made.
    for (uint32_t cuenta : {4u, 0xFFFFFFFFu}) {
        fixture::ContenedorFixture c = fixture::ArmarContenedor(fixture::NivelSonoro());
        c.valorFinal = cuenta;
        trNivel n;
        std::string motivo;
        const fixture::Bytes archivo = fixture::Serializar(c);
        ASSERT_EQ(CargarNivelDeMemoria(archivo.data(), archivo.size(), n, &motivo), 1) << motivo;
        trSonidos s;
        LeerSonidos(n, s);
        EXPECT_EQ(s.MuestrasDeclaradas, cuenta);
        ASSERT_EQ(s.Muestras.size(), 4u);
        EXPECT_TRUE(s.Muestras[2].Legible());
        EXPECT_EQ(s.Muestras[3].Falla, trFallaMuestra::FueraDelArchivo);
        EXPECT_NE(s.Muestras[3].Motivo.find("antes de la muestra 3"), std::string::npos);
    }
    // No samples at all, and a level whose sound rows were never written.
    NivelFixture f = fixture::NivelAnimado();
    f.sinMapaSonido = true;
    const auto r = Leer(fixture::EscribirNivel(f));
    EXPECT_TRUE(r.s.Muestras.empty());
    EXPECT_TRUE(r.s.Mapa.empty());
    EXPECT_TRUE(r.s.Detalles.empty());
}

TEST(LeerSonidos, SonidosEntreCuadros) {
    // Animation 0 plays sound 7 at frame 2 (its first is 0); the empty-hands command plays none.
    NivelFixture f = fixture::NivelSonoro();
    f.comandos = {5, 2, 7, 3, 5, 4, int16_t(0x4000 | 9)};
    f.animaciones[0].numComandos = 3;
    const auto r = Leer(fixture::EscribirNivel(f));
    const trAnimaciones& t = r.l->objetos.Animaciones;
    struct Caso {
        uint32_t animacion;
        double desde, hasta;
        std::vector<uint16_t> ids;
    } casos[] = {
        {0, 0, 2, {}}, {0, 0, 2.01, {7}}, {0, 2, 3, {7}},  {0, 2.5, 5, {9}}, {0, 0, 5, {7, 9}},
        {0, 3, 3, {}}, {0, 4, 2, {}},     {0, NAN, 5, {}}, {1, 0, 5, {}},    {99, 0, 5, {}},
    };
    for (const Caso& c : casos) {
        std::vector<uint16_t> ids;
        SonidosEntre(t, c.animacion, c.desde, c.hasta, ids);
        EXPECT_EQ(ids, c.ids) << c.animacion << " " << c.desde << ".." << c.hasta;
    }
    // Frames count from the animation's first: animation 1 starts at game frame 5.
    f.comandos = {5, 7, 3};
    f.animaciones[0].numComandos = 0;
    f.animaciones[1].numComandos = 1;
    const auto r1 = Leer(fixture::EscribirNivel(f));
    std::vector<uint16_t> ids;
    SonidosEntre(r1.l->objetos.Animaciones, 1, 2, 3, ids);
    EXPECT_EQ(ids, std::vector<uint16_t>{3});
}
