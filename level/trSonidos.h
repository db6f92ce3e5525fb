#pragma once
// A level's sounds as plain records: which sound each id names, how it plays, and the samples the
// file carries after the level data. A sample is located and its WAVE header checked when read;
// its PCM comes from DecodificarMuestra.
#include <cstdint>
#include <string>
#include <vector>

// How a sound picks and repeats its samples, 8 bytes in the file.
struct trDetalleSonido {
    static constexpr uint32_t BYTES_EN_ARCHIVO = 8;

    uint16_t Muestra = 0; // its first sample among the level's
    uint8_t Volumen = 0, Alcance = 0, Probabilidad = 0, Tono = 0;
    uint16_t Banderas = 0;

    // The game picks one of this many samples from the first on.
    uint32_t NumMuestras() const { return (Banderas >> 2) & 0x3F; }
    // 0 once, 1 one at a time, 2 restarted, 3 looped.
    uint32_t Bucle() const { return Banderas & 3; }
};

// Why a sample cannot be played; Ninguno when it can.
enum class trFallaMuestra : uint8_t {
    Ninguno,
    FueraDelArchivo,  // its bytes run past the end of the file
    TamanosDistintos, // its stated sizes disagree with each other or with what it decodes to
    RiffDanado,       // no RIFF WAVE, or a header that lies about its size
    NoDecodifica,     // the WAVE's encoding cannot be read into PCM
};

struct trMuestra {
    // As the file holds them.
    uint32_t TamanoDescomprimido = 0, TamanoGuardado = 0;
    uint64_t Posicion = 0; // of its first byte in trNivel::Cola

    // From its WAVE header, when it has one.
    uint16_t Formato = 0; // 1 PCM, 2 MS-ADPCM...
    uint16_t Canales = 0, Bits = 0;
    uint32_t Frecuencia = 0;

    trFallaMuestra Falla = trFallaMuestra::Ninguno;
    std::string Motivo; // for a person, in the user's language; empty when readable

    bool Legible() const { return Falla == trFallaMuestra::Ninguno; }
};

// Decoded samples: 16-bit PCM, channels interleaved.
struct trPcm {
    uint32_t Frecuencia = 0;
    uint16_t Canales = 0;
    std::vector<int16_t> Valores;

    uint64_t Cuadros() const { return Canales ? Valores.size() / Canales : 0; }
    uint64_t BytesDatos() const { return Valores.size() * 2; }
};

struct trSonidos {
    // Sound id -> index in Detalles, -1 none. The format's 370 entries, or the longer map some
    // levels carry where the demo data stands.
    std::vector<int16_t> Mapa;
    bool MapaLargo = false;
    std::vector<trDetalleSonido> Detalles;
    std::vector<uint32_t> Indices; // the sample indices row, as stored
    std::vector<trMuestra> Muestras;
    uint64_t MuestrasDeclaradas = 0; // the file's count; more than Muestras when it ends early
};
