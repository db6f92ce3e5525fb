#include "LeerSonidos.h"

#include "Idioma.h"
#include "LeerAnimaciones.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <string>

namespace {

// Row of the level data that holds the sound map, as the row walk numbers them.
constexpr int FILA_MAPA_SONIDO = 53;
// Command number of a sound at a frame, and the bits of its id.
constexpr int16_t COMANDO_SONIDO = 5;
constexpr uint16_t BITS_ID_SONIDO = 0x3FFF;
// Format tag of plain PCM in a WAVE's "fmt " chunk.
constexpr uint16_t WAVE_PCM = 1;

template <class T> T Leer(const uint8_t* p) {
    T v;
    std::memcpy(&v, p, sizeof v);
    return v;
}

void Fallar(trMuestra& m, trFallaMuestra falla, std::string motivo) {
    m.Falla = falla;
    m.Motivo = std::move(motivo);
}

// The RIFF WAVE header of the sample's bytes: its size within what is stored, and the format
// chunk the decoder and the listing need.
void RevisarWave(const uint8_t* p, trMuestra& m) {
    const uint32_t n = m.TamanoGuardado;
    if (n < 12 || std::memcmp(p, "RIFF", 4) != 0 || std::memcmp(p + 8, "WAVE", 4) != 0)
        return Fallar(m, trFallaMuestra::RiffDanado,
                      Traducir("no empieza como un archivo WAVE (RIFF … WAVE)"));
    const uint64_t riff = uint64_t{Leer<uint32_t>(p + 4)} + 8;
    if (riff > n)
        return Fallar(m, trFallaMuestra::RiffDanado,
                      Formatear(Traducir("su cabecera RIFF dice %s bytes, pero la muestra guarda "
                                         "%s"),
                                {std::to_string(riff), std::to_string(n)}));
    // Chunks are word-aligned; a size that runs past the RIFF ends the walk.
    for (uint64_t i = 12; i + 8 <= riff;) {
        const uint32_t tamano = Leer<uint32_t>(p + i + 4);
        if (std::memcmp(p + i, "fmt ", 4) == 0) {
            if (tamano < 16 || i + 8 + tamano > riff)
                break;
            m.Formato = Leer<uint16_t>(p + i + 8);
            m.Canales = Leer<uint16_t>(p + i + 10);
            m.Frecuencia = Leer<uint32_t>(p + i + 12);
            m.Bits = Leer<uint16_t>(p + i + 22);
            if (m.Canales == 0 || m.Frecuencia == 0)
                return Fallar(m, trFallaMuestra::RiffDanado,
                              Formatear(Traducir("su formato dice %s canales a %s Hz"),
                                        {std::to_string(m.Canales), std::to_string(m.Frecuencia)}));
            // Plain PCM is stored as it plays: both sizes are the file's.
            if (m.Formato == WAVE_PCM && m.TamanoDescomprimido != m.TamanoGuardado)
                return Fallar(m, trFallaMuestra::TamanosDistintos,
                              Formatear(Traducir("es PCM, pero dice ocupar %s bytes sin "
                                                 "comprimir y %s guardados"),
                                        {std::to_string(m.TamanoDescomprimido),
                                         std::to_string(m.TamanoGuardado)}));
            return;
        }
        i += 8 + uint64_t{tamano} + (tamano & 1);
    }
    Fallar(m, trFallaMuestra::RiffDanado, Traducir("su WAVE no tiene un bloque «fmt » legible"));
}

void LeerMapa(const trNivel& nivel, trSonidos& s) {
    if (!nivel.MapaSonidoLargo.empty()) {
        s.Mapa = nivel.MapaSonidoLargo;
        s.MapaLargo = true;
        return;
    }
    if (nivel.FilaNoLeida == 0 || nivel.FilaNoLeida > FILA_MAPA_SONIDO) {
        s.Mapa.assign(std::begin(nivel.MapaSonido), std::end(nivel.MapaSonido));
        return;
    }
    // Levels of later tools write a longer map where the demo data count stands; read as demo
    // data it is whole, and only the format's shorter map that follows cannot be.
    if (nivel.FilaNoLeida == FILA_MAPA_SONIDO && !nivel.DatosDemo.empty()) {
        s.Mapa.resize(nivel.DatosDemo.size() / 2);
        std::memcpy(s.Mapa.data(), nivel.DatosDemo.data(), s.Mapa.size() * 2);
        s.MapaLargo = true;
    }
}

void LocalizarMuestras(const trNivel& nivel, trSonidos& s) {
    s.MuestrasDeclaradas = nivel.ValorFinal;
    const uint64_t total = nivel.Cola.size();
    uint64_t posicion = 0;
    const uint32_t cuantas = std::min(nivel.ValorFinal, MAXIMO_MUESTRAS);
    for (uint32_t i = 0; i < cuantas; ++i) {
        trMuestra m;
        if (total - posicion < 8) {
            // Nothing more to locate: one entry says why the rest is missing.
            m.Posicion = posicion;
            Fallar(m, trFallaMuestra::FueraDelArchivo,
                   Formatear(Traducir("el archivo termina antes de la muestra %s"),
                             {std::to_string(i)}));
            s.Muestras.push_back(std::move(m));
            return;
        }
        m.TamanoDescomprimido = Leer<uint32_t>(nivel.Cola.data() + posicion);
        m.TamanoGuardado = Leer<uint32_t>(nivel.Cola.data() + posicion + 4);
        posicion += 8;
        m.Posicion = posicion;
        if (m.TamanoGuardado > total - posicion) {
            Fallar(m, trFallaMuestra::FueraDelArchivo,
                   Formatear(Traducir("dice guardar %s bytes, pero al archivo solo le quedan %s"),
                             {std::to_string(m.TamanoGuardado), std::to_string(total - posicion)}));
            m.TamanoGuardado = 0;
            s.Muestras.push_back(std::move(m));
            return;
        }
        RevisarWave(nivel.Cola.data() + posicion, m);
        posicion += m.TamanoGuardado;
        s.Muestras.push_back(std::move(m));
    }
}

} // namespace

void LeerSonidos(const trNivel& nivel, trSonidos& sonidos) {
    trSonidos s;
    LeerMapa(nivel, s);
    const size_t detalles = nivel.DetallesSonido.size() / trDetalleSonido::BYTES_EN_ARCHIVO;
    s.Detalles.resize(detalles);
    for (size_t i = 0; i < detalles; ++i) {
        const uint8_t* p = nivel.DetallesSonido.data() + trDetalleSonido::BYTES_EN_ARCHIVO * i;
        s.Detalles[i] = {Leer<uint16_t>(p), p[2], p[3], p[4], p[5], Leer<uint16_t>(p + 6)};
    }
    s.Indices.resize(nivel.IndicesMuestra.size() / 4);
    if (!s.Indices.empty())
        std::memcpy(s.Indices.data(), nivel.IndicesMuestra.data(), s.Indices.size() * 4);
    LocalizarMuestras(nivel, s);
    sonidos = std::move(s);
}

int32_t DetalleDeSonido(const trSonidos& sonidos, uint32_t id) {
    if (id >= sonidos.Mapa.size())
        return -1;
    const int16_t d = sonidos.Mapa[id];
    return d >= 0 && size_t(d) < sonidos.Detalles.size() ? d : -1;
}

std::vector<uint32_t> MuestrasDeSonido(const trSonidos& sonidos, const trDetalleSonido& d) {
    std::vector<uint32_t> r;
    for (uint32_t k = 0; k < d.NumMuestras(); ++k)
        if (const uint32_t i = uint32_t{d.Muestra} + k; i < sonidos.Muestras.size())
            r.push_back(i);
    return r;
}

void SonidosEntre(const trAnimaciones& todas, uint32_t animacion, double desde, double hasta,
                  std::vector<uint16_t>& ids) {
    if (animacion >= todas.Animaciones.size() || !(desde < hasta))
        return;
    const trAnimacion& a = todas.Animaciones[animacion];
    for (const trComandoAnimacion& c : ComandosDe(todas, a)) {
        if (c.Tipo != COMANDO_SONIDO)
            continue;
        // The command names a game frame of the level's numbering, as the animation's range.
        const double cuadro = double(int32_t{uint16_t(c.Argumentos[0])}) - a.PrimerCuadro;
        if (cuadro >= desde && cuadro < hasta)
            ids.push_back(uint16_t(c.Argumentos[1]) & BITS_ID_SONIDO);
    }
}

const char* ClaveFalla(trFallaMuestra falla) {
    switch (falla) {
    case trFallaMuestra::Ninguno:
        return "";
    case trFallaMuestra::FueraDelArchivo:
        return "past_end";
    case trFallaMuestra::TamanosDistintos:
        return "sizes_disagree";
    case trFallaMuestra::RiffDanado:
        return "damaged_riff";
    case trFallaMuestra::NoDecodifica:
        return "undecodable";
    }
    return "";
}
