#pragma once
// The baseline every level benchmark is measured against: zlib alone inflating the file's four
// blocks, the container walked once beforehand so the loop does nothing but zlib's work.
#include "EscritorNivel.h"

#include <benchmark/benchmark.h>
#include <zlib.h>

#include <cstring>
#include <memory>
#include <vector>

inline void InflarBloques(benchmark::State& estado, const std::vector<uint8_t>& archivo) {
    struct Bloque {
        const uint8_t* flujo;
        uint32_t comprimido, inflado;
    };
    std::vector<Bloque> bloques;
    const auto en = fixture::PosicionesEnArchivo(archivo);
    for (int b = 0; b < 4; ++b) {
        Bloque k;
        std::memcpy(&k.inflado, &archivo[en[b]], 4);
        std::memcpy(&k.comprimido, &archivo[en[b] + 4], 4);
        k.flujo = &archivo[en[b] + 8];
        bloques.push_back(k);
    }
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
