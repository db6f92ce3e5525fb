// Loading a real level from memory against only inflating its four blocks with zlib, one after
// another, in one run: the floor a load had before its blocks were inflated by libdeflate on
// several threads. libdeflate alone on one thread is measured too. The load also reports the most
// memory it held through operator new, against the inflated bytes it had to keep. Reading and
// decoding every sample of the level is set against the load.
//   build/release/bench/bench_carga [--benchmark_repetitions=N]
#include "CargarNivel.h"
#include "DecodificarMuestra.h"
#include "EscritorNivel.h"
#include "InflarBloques.h"
#include "InformeCociente.h"
#include "LeerMeshes.h"
#include "LeerSonidos.h"

#include <benchmark/benchmark.h>
#include <zlib.h>

#include <malloc.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <iterator>
#include <map>
#include <memory>
#include <new>
#include <string>
#include <vector>

namespace {
std::atomic<int64_t> enUso{0}, pico{0};
}

// Every allocation of the program is counted, so the load's peak includes what the standard
// containers take, not only the blocks.
void* operator new(size_t n) {
    void* p = std::malloc(n ? n : 1);
    if (!p)
        throw std::bad_alloc();
    const int64_t ahora = enUso += int64_t(malloc_usable_size(p));
    int64_t antes = pico.load();
    while (ahora > antes && !pico.compare_exchange_weak(antes, ahora)) {
    }
    return p;
}
namespace {
void Liberar(void* p) {
    if (p)
        enUso -= int64_t(malloc_usable_size(p));
    std::free(p);
}
} // namespace
void operator delete(void* p) noexcept {
    Liberar(p);
}
void operator delete(void* p, size_t) noexcept {
    Liberar(p);
}

namespace {

const char* const NIVELES[] = {"title-a.tr4", "title-b.tr4"};

void Cargar(benchmark::State& estado, const std::vector<uint8_t>& archivo) {
    int64_t mayor = 0, inflados = 0;
    for (auto _ : estado) {
        const int64_t base = enUso.load();
        pico = base;
        auto nivel = std::make_unique<trNivel>();
        if (!CargarNivelDeMemoria(archivo.data(), archivo.size(), *nivel)) {
            estado.SkipWithError("the level did not load");
            return;
        }
        std::unique_ptr<Lista_Mesh> lista;
        LeerMeshes(nivel->DatosMesh.data(), static_cast<uint32_t>(nivel->DatosMesh.size()), lista);
        benchmark::DoNotOptimize(lista->Cantidad());
        mayor = std::max(mayor, pico.load() - base);
        inflados = 0;
        for (const auto& d : nivel->DatosBloque)
            inflados += int64_t(d.size());
    }
    estado.SetBytesProcessed(int64_t(estado.iterations()) * int64_t(archivo.size()));
    estado.counters["peak_MiB"] = double(mayor) / (1 << 20);
    estado.counters["peak/inflated"] = double(mayor) / double(inflados);
}

// The level loaded once; each run locates and decodes all its samples to 16-bit PCM.
void Sonidos(benchmark::State& estado, const std::vector<uint8_t>& archivo) {
    auto nivel = std::make_unique<trNivel>();
    if (!CargarNivelDeMemoria(archivo.data(), archivo.size(), *nivel)) {
        estado.SkipWithError("the level did not load");
        return;
    }
    uint64_t bytes = 0;
    for (auto _ : estado) {
        trSonidos s;
        LeerSonidos(*nivel, s);
        std::vector<trPcm> pcm;
        if (DecodificarMuestras(*nivel, s, &pcm) != s.Muestras.size()) {
            estado.SkipWithError("a sample did not decode");
            return;
        }
        bytes = 0;
        for (const trPcm& p : pcm)
            bytes += p.BytesDatos();
        benchmark::DoNotOptimize(bytes);
    }
    estado.counters["pcm_KiB"] = double(bytes) / 1024;
}

} // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    std::vector<std::vector<uint8_t>> archivos;
    archivos.reserve(std::size(NIVELES));
    for (const char* nivel : NIVELES) {
        archivos.push_back(fixture::LeerArchivo(std::string(TR4_NIVELES_REALES) + "/" + nivel));
        if (archivos.back().empty()) {
            std::fprintf(stderr, "skipping %s: not found in %s\n", nivel, TR4_NIVELES_REALES);
            continue;
        }
        benchmark::RegisterBenchmark((std::string("Inflar/") + nivel).c_str(), InflarBloques,
                                     archivos.back())
            ->Unit(benchmark::kMillisecond);
        benchmark::RegisterBenchmark((std::string("InflarLibdeflate/") + nivel).c_str(),
                                     InflarBloquesLibdeflate, archivos.back())
            ->Unit(benchmark::kMillisecond);
        // Wall time: the load's threads are its own, not the benchmark's.
        benchmark::RegisterBenchmark((std::string("Cargar/") + nivel).c_str(), Cargar,
                                     archivos.back())
            ->Unit(benchmark::kMillisecond)
            ->UseRealTime();
        benchmark::RegisterBenchmark((std::string("Sonidos/") + nivel).c_str(), Sonidos,
                                     archivos.back())
            ->Unit(benchmark::kMillisecond)
            ->UseRealTime();
    }
    InformeCociente informe;
    for (const char* nivel : NIVELES) {
        informe.Agregar({std::string(nivel) + ": load / bare zlib inflate",
                         std::string("Cargar/") + nivel + "/real_time",
                         std::string("Inflar/") + nivel});
        informe.Agregar({std::string(nivel) + ": load / bare libdeflate inflate",
                         std::string("Cargar/") + nivel + "/real_time",
                         std::string("InflarLibdeflate/") + nivel});
        informe.Agregar({std::string(nivel) + ": decode every sample / load",
                         std::string("Sonidos/") + nivel + "/real_time",
                         std::string("Cargar/") + nivel + "/real_time"});
    }
    benchmark::RunSpecifiedBenchmarks(&informe);
    benchmark::Shutdown();
}
