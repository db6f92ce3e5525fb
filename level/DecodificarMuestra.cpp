#include "DecodificarMuestra.h"

#include "Idioma.h"
#include "LeerSonidos.h"

#include <algorithm>
#include <cstring>
#include <string>

#ifdef TR4_CON_SNDFILE
#include <sndfile.h>
#endif

namespace {

Hecho Fallar(trMuestra& m, trPcm& pcm, trFallaMuestra falla, std::string motivo) {
    m.Falla = falla;
    m.Motivo = std::move(motivo);
    pcm = {};
    return Hecho::Fallo(m.Motivo);
}

#ifdef TR4_CON_SNDFILE

constexpr uint16_t WAVE_PCM = 1;
constexpr uint64_t CABECERA_WAVE = 44;

// Bytes libsndfile reads, or writes, as a file.
struct Memoria {
    const uint8_t* Lectura = nullptr;
    trBytes* Escritura = nullptr;
    sf_count_t Tamano = 0, Posicion = 0;
};

sf_count_t Largo(void* u) {
    return static_cast<Memoria*>(u)->Tamano;
}

sf_count_t Buscar(sf_count_t desplazamiento, int desde, void* u) {
    auto& m = *static_cast<Memoria*>(u);
    sf_count_t base = desde == SEEK_CUR ? m.Posicion : desde == SEEK_END ? m.Tamano : 0;
    const sf_count_t nueva = base + desplazamiento;
    if (nueva < 0 || (m.Lectura && nueva > m.Tamano))
        return -1;
    m.Posicion = nueva;
    return m.Posicion;
}

sf_count_t LeerMemoria(void* destino, sf_count_t n, void* u) {
    auto& m = *static_cast<Memoria*>(u);
    if (!m.Lectura || n <= 0 || m.Posicion >= m.Tamano)
        return 0;
    n = std::min(n, m.Tamano - m.Posicion);
    std::memcpy(destino, m.Lectura + m.Posicion, size_t(n));
    m.Posicion += n;
    return n;
}

sf_count_t EscribirMemoria(const void* origen, sf_count_t n, void* u) {
    auto& m = *static_cast<Memoria*>(u);
    if (!m.Escritura || n <= 0)
        return 0;
    const auto fin = size_t(m.Posicion + n);
    if (fin > m.Escritura->size())
        m.Escritura->resize(fin);
    std::memcpy(m.Escritura->data() + m.Posicion, origen, size_t(n));
    m.Posicion += n;
    m.Tamano = std::max<sf_count_t>(m.Tamano, m.Posicion);
    return n;
}

sf_count_t Donde(void* u) {
    return static_cast<Memoria*>(u)->Posicion;
}

SF_VIRTUAL_IO Virtual() {
    return {Largo, Buscar, LeerMemoria, EscribirMemoria, Donde};
}

#endif

} // namespace

Hecho DecodificarMuestra(const trNivel& nivel, trMuestra& m, trPcm& pcm) {
    pcm = {};
    if (!m.Legible())
        return Hecho::Fallo(m.Motivo);
#ifndef TR4_CON_SNDFILE
    (void)nivel;
    return Fallar(m, pcm, trFallaMuestra::NoDecodifica,
                  Traducir("esta versión no decodifica sonidos"));
#else
    // Only what the RIFF header claims: trailing bytes of the record are none of the WAVE's.
    const uint8_t* bytes = BytesMuestra(nivel, m);
    uint32_t riff = 0;
    std::memcpy(&riff, bytes + 4, 4);
    Memoria memoria{bytes, nullptr, sf_count_t{riff} + 8, 0};
    SF_VIRTUAL_IO io = Virtual();
    SF_INFO info{};
    SNDFILE* sf = sf_open_virtual(&io, SFM_READ, &info, &memoria);
    if (!sf)
        return Fallar(m, pcm, trFallaMuestra::NoDecodifica,
                      Formatear(Traducir("no se puede decodificar: %s"), {sf_strerror(nullptr)}));
    struct Cerrar {
        SNDFILE* sf;
        ~Cerrar() { sf_close(sf); }
    } cerrar{sf};

    if ((info.format & SF_FORMAT_TYPEMASK) != SF_FORMAT_WAV || info.channels <= 0 ||
        info.samplerate <= 0 || info.frames < 0)
        return Fallar(m, pcm, trFallaMuestra::RiffDanado,
                      Traducir("el decodificador no lo lee como un WAVE"));
    const uint64_t valores = uint64_t(info.frames) * uint64_t(info.channels);
    const uint64_t tope = std::min(MAXIMO_BYTES_PCM, RAZON_MAXIMA_PCM * m.TamanoGuardado + 4096);
    if (info.channels > 16 || valores * 2 > tope)
        return Fallar(m, pcm, trFallaMuestra::TamanosDistintos,
                      Formatear(Traducir("dice tener %s cuadros de %s canales, demasiados para "
                                         "sus %s bytes"),
                                {std::to_string(info.frames), std::to_string(info.channels),
                                 std::to_string(m.TamanoGuardado)}));
    pcm.Valores.resize(size_t(valores));
    const sf_count_t leidos = sf_readf_short(sf, pcm.Valores.data(), info.frames);
    if (leidos != info.frames)
        return Fallar(m, pcm, trFallaMuestra::NoDecodifica,
                      Formatear(Traducir("se decodifican %s de sus %s cuadros"),
                                {std::to_string(std::max<sf_count_t>(leidos, 0)),
                                 std::to_string(info.frames)}));
    pcm.Canales = uint16_t(info.channels);
    pcm.Frecuencia = uint32_t(info.samplerate);
    if (m.Formato != WAVE_PCM && m.TamanoDescomprimido != pcm.BytesDatos() &&
        m.TamanoDescomprimido != pcm.BytesDatos() + CABECERA_WAVE)
        return Fallar(
            m, pcm, trFallaMuestra::TamanosDistintos,
            Formatear(Traducir("dice ocupar %s bytes sin comprimir, pero se decodifica "
                               "en %s"),
                      {std::to_string(m.TamanoDescomprimido), std::to_string(pcm.BytesDatos())}));
    return {};
#endif
}

uint32_t DecodificarMuestras(const trNivel& nivel, trSonidos& sonidos, std::vector<trPcm>* pcm) {
    uint32_t bien = 0;
    if (pcm)
        pcm->assign(sonidos.Muestras.size(), {});
    trPcm una;
    for (size_t i = 0; i < sonidos.Muestras.size(); ++i) {
        trPcm& destino = pcm ? (*pcm)[i] : una;
        // A sample that does not decode keeps its reason in its record, for the list to show.
        if (DecodificarMuestra(nivel, sonidos.Muestras[i], destino))
            ++bien;
    }
    return bien;
}

trBytes WavePcm(const trPcm& pcm) {
    trBytes r;
#ifdef TR4_CON_SNDFILE
    if (pcm.Canales == 0 || pcm.Frecuencia == 0 || pcm.Valores.empty())
        return r;
    Memoria memoria{nullptr, &r, 0, 0};
    SF_VIRTUAL_IO io = Virtual();
    SF_INFO info{};
    info.channels = pcm.Canales;
    info.samplerate = int(pcm.Frecuencia);
    info.format = SF_FORMAT_WAV | SF_FORMAT_PCM_16;
    SNDFILE* sf = sf_open_virtual(&io, SFM_WRITE, &info, &memoria);
    if (!sf)
        return {};
    const auto cuadros = sf_count_t(pcm.Cuadros());
    const bool bien = sf_writef_short(sf, pcm.Valores.data(), cuadros) == cuadros;
    if (sf_close(sf) != 0 || !bien)
        return {};
#else
    (void)pcm;
#endif
    return r;
}
