// Exporting every moveable and static of a real level as one glTF model (.glb, pages inside), in
// memory, against opening the same level without a device (what `tr4tool export` does before),
// in one run. Counters give the .glb's size and how many pages and nodes it holds.
//   build/release/bench/bench_exportar [--benchmark_repetitions=N]
#include "EscritorNivel.h"
#include "ExportarGLTF.h"
#include "InformeCociente.h"
#include "NivelAbierto.h"

#include <benchmark/benchmark.h>

#include <memory>
#include <string>
#include <vector>

namespace {

const char* const NIVELES[] = {"title-a.tr4", "title-b.tr4"};

void Abrir(benchmark::State& estado, const std::vector<uint8_t>& archivo) {
    for (auto _ : estado) {
        std::unique_ptr<NivelAbierto> nivel;
        if (!AbrirNivelDeMemoria(archivo.data(), archivo.size(), nivel))
            estado.SkipWithError("the level did not open");
    }
}

void Exportar(benchmark::State& estado, const std::vector<uint8_t>& archivo) {
    std::unique_ptr<NivelAbierto> nivel;
    if (!AbrirNivelDeMemoria(archivo.data(), archivo.size(), nivel)) {
        estado.SkipWithError("the level did not open");
        return;
    }
    std::vector<ArchivoPorEscribir> archivos;
    for (auto _ : estado) {
        if (const Hecho h =
                ExportarGLTFEnMemoria(*nivel, {Elegido::Todo}, "todo.glb", archivos);
            !h)
            estado.SkipWithError(h.Motivo().c_str());
    }
    if (!archivos.empty())
        estado.counters["glb_MiB"] = double(archivos[0].Bytes.size()) / (1 << 20);
}

} // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    InformeCociente informe;
    std::vector<std::vector<uint8_t>> archivos;
    archivos.reserve(std::size(NIVELES));
    for (const char* nivel : NIVELES) {
        archivos.push_back(fixture::LeerArchivo(std::string(TR4_NIVELES_REALES) + "/" + nivel));
        if (archivos.back().empty()) {
            std::fprintf(stderr, "sin %s/%s\n", TR4_NIVELES_REALES, nivel);
            return 1;
        }
        benchmark::RegisterBenchmark(("Abrir/" + std::string(nivel)).c_str(), Abrir,
                                     archivos.back())
            ->Unit(benchmark::kMillisecond);
        benchmark::RegisterBenchmark(("ExportarTodo/" + std::string(nivel)).c_str(), Exportar,
                                     archivos.back())
            ->Unit(benchmark::kMillisecond);
        informe.Agregar({std::string(nivel) + ": export --all to memory / open",
                         "ExportarTodo/" + std::string(nivel), "Abrir/" + std::string(nivel)});
    }
    benchmark::RunSpecifiedBenchmarks(&informe);
    benchmark::Shutdown();
    return 0;
}
