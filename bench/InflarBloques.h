#pragma once
// The baseline every level benchmark is measured against: zlib alone inflating the file's four
// blocks one after another, the container walked once beforehand so the loop does nothing but
// zlib's work. Beside it, libdeflate alone on one thread, to tell what the library gives from
// what the threads give.
#include "EscritorNivel.h"

#include <benchmark/benchmark.h>
#include <libdeflate.h>
#include <zlib.h>

#include <cstring>
#include <memory>
#include <vector>

struct BloqueArchivo {
    const uint8_t* flujo;
    uint32_t comprimido, inflado;
};

inline std::vector<BloqueArchivo> BloquesDelArchivo(const std::vector<uint8_t>& archivo) {
    std::vector<BloqueArchivo> bloques;
    const auto en = fixture::PosicionesEnArchivo(archivo);
    for (int b = 0; b < 4; ++b) {
        BloqueArchivo k;
        std::memcpy(&k.inflado, &archivo[en[b]], 4);
        std::memcpy(&k.comprimido, &archivo[en[b] + 4], 4);
        k.flujo = &archivo[en[b] + 8];
        bloques.push_back(k);
    }
    return bloques;
}

inline void InflarBloquesLibdeflate(benchmark::State& estado, const std::vector<uint8_t>& archivo) {
    const auto bloques = BloquesDelArchivo(archivo);
    std::unique_ptr<libdeflate_decompressor, void (*)(libdeflate_decompressor*)> d(
        libdeflate_alloc_decompressor(), &libdeflate_free_decompressor);
    for (auto _ : estado) {
        for (const auto& b : bloques) {
            std::unique_ptr<uint8_t[]> destino(new uint8_t[b.inflado]);
            if (libdeflate_zlib_decompress(d.get(), b.flujo, b.comprimido, destino.get(), b.inflado,
                                           nullptr) != LIBDEFLATE_SUCCESS) {
                estado.SkipWithError("a block did not inflate");
                return;
            }
            benchmark::DoNotOptimize(destino.get());
        }
    }
    estado.SetBytesProcessed(int64_t(estado.iterations()) * int64_t(archivo.size()));
}

inline void InflarBloques(benchmark::State& estado, const std::vector<uint8_t>& archivo) {
    const auto bloques = BloquesDelArchivo(archivo);
    for (auto _ : estado) {
        for (const auto& b : bloques) {
            std::unique_ptr<uint8_t[]> destino(new uint8_t[b.inflado]);
            uLongf escritos = b.inflado;
            if (uncompress(destino.get(), &escritos, b.flujo, b.comprimido) != Z_OK) {
                estado.SkipWithError("a block did not inflate");
                return;
            }
            benchmark::DoNotOptimize(destino.get());
        }
    }
    estado.SetBytesProcessed(int64_t(estado.iterations()) * int64_t(archivo.size()));
}
