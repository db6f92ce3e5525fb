// Opening a real level end to end as the window does after its dialog: load and inflate, parse the
// meshes, make the texture pages and convert and upload every mesh on the off-screen OpenGL
// surface, against only inflating the same four blocks with zlib, in one run.
// The open includes the whole level's scene (rooms, statics and items built into one buffer and
// uploaded with the pages as one texture array); `Escena/` builds that alone again, against the
// open.
// Reading and assembling every object of the level (moveables posed by their first frame,
// statics), against that open, in the same run.
// Reading every room's sectors and floor data (`Logica/`), and building and uploading the trigger
// tiles (`Capa/`), each against the open.
// Then the same level opened, drawn and closed 50 times in a row, reporting the resident memory
// after the first open and after the last (Linux only).
// The first three games' shared levels are opened the same way (one uncompressed stream, no
// blocks to inflate), against title-a per megabyte of file.
//   build/release/bench/bench_apertura [--benchmark_repetitions=N]
#include "CargarNivel.h"
#include "Ensamblaje.h"
#include "EscritorNivel.h"
#include "InflarBloques.h"
#include "InformeCociente.h"
#include "LeerObjetos.h"
#include "LeerSectores.h"
#include "Monticulo.h"
#include "NivelSubido.h"
#include "SuperficieEGL.h"
#include "dxBufferTextura.h"
#include "dxMain.h"

#include <GL/gl.h>
#include <benchmark/benchmark.h>
#include <unistd.h>
#include <zlib.h>

#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

namespace {

const char* const NIVELES[] = {"title-a.tr4", "title-b.tr4"};

struct Dispositivo {
    std::unique_ptr<SuperficieEGL> superficie;
    dxMain principal;
    std::unique_ptr<dxDevice8> dispositivo;
};
Dispositivo* global = nullptr;

// Only the file's part, for the breakdown.
void Cargar(benchmark::State& estado, const std::vector<uint8_t>& archivo) {
    for (auto _ : estado) {
        trNivel nivel;
        if (!CargarNivelDeMemoria(archivo.data(), archivo.size(), nivel))
            estado.SkipWithError("the level did not load");
    }
}

// The earlier level is released as the next one replaces it, as in the window.
void Abrir(benchmark::State& estado, const std::vector<uint8_t>& archivo) {
    std::unique_ptr<NivelSubido> nivel;
    for (auto _ : estado) {
        if (!AbrirNivelDeMemoria(archivo.data(), archivo.size(), global->dispositivo.get(),
                                 nivel)) {
            estado.SkipWithError("the level did not open");
            return;
        }
        // Uploads are only done once GL has taken them.
        glFinish();
    }
    estado.counters["meshes"] = nivel->Cantidad();
    estado.counters["pages"] = nivel->Texturas->NumPaginas();
    estado.counters["room_faces"] =
        nivel->Escena->Contar().Rectangulos + nivel->Escena->Contar().Triangulos;
}

// What the open spends on the level's scene: rooms read, statics and items placed, one buffer
// of world vertices and the pages as one array uploaded.
void Escena(benchmark::State& estado, const std::vector<uint8_t>& archivo) {
    std::unique_ptr<NivelSubido> nivel;
    if (!AbrirNivelDeMemoria(archivo.data(), archivo.size(), global->dispositivo.get(), nivel)) {
        estado.SkipWithError("the level did not open");
        return;
    }
    for (auto _ : estado) {
        nivel->Dibujo.reset();
        nivel->Escena = EscenaNivel::Crear(*nivel);
        nivel->Dibujo = DibujoEscena::Crear(*nivel->Escena, nivel->Texturas.get(),
                                            global->dispositivo.get());
        glFinish();
    }
}

// What an open adds for objects, and what the window does per pick: every object read from the
// level's arrays and assembled, its sphere included.
void Objetos(benchmark::State& estado, const std::vector<uint8_t>& archivo) {
    std::unique_ptr<NivelAbierto> nivel;
    if (!AbrirNivelDeMemoria(archivo.data(), archivo.size(), nivel) || !nivel->Meshes) {
        estado.SkipWithError("the level did not open");
        return;
    }
    size_t piezas = 0;
    for (auto _ : estado) {
        trObjetos objetos;
        LeerObjetos(*nivel->Nivel, nivel->Meshes.get(), objetos);
        piezas = 0;
        for (const trMovible& m : objetos.Movibles)
            piezas += ArmarMovible(m, *nivel->Meshes).Piezas.size();
        for (const trEstatico& e : objetos.Estaticos)
            piezas += ArmarEstatico(e, *nivel->Meshes).Piezas.size();
        benchmark::DoNotOptimize(piezas);
    }
    estado.counters["objects"] =
        double(nivel->Objetos.Movibles.size() + nivel->Objetos.Estaticos.size());
    estado.counters["meshes_placed"] = double(piezas);
}

// What an open adds for the level's logic: every sector's floor data walked.
void Logica(benchmark::State& estado, const std::vector<uint8_t>& archivo) {
    std::unique_ptr<NivelAbierto> nivel;
    if (!AbrirNivelDeMemoria(archivo.data(), archivo.size(), nivel)) {
        estado.SkipWithError("the level did not open");
        return;
    }
    size_t disparadores = 0;
    for (auto _ : estado) {
        const trLogica l = LeerLogica(*nivel->Nivel);
        disparadores = l.Disparadores.size();
        benchmark::DoNotOptimize(disparadores);
    }
    estado.counters["sectors"] = double(nivel->Logica.Sectores);
    estado.counters["triggers"] = double(disparadores);
}

// The trigger tiles built and uploaded to the device, as Ver -> Disparadores draws them.
void Capa(benchmark::State& estado, const std::vector<uint8_t>& archivo) {
    std::unique_ptr<NivelAbierto> nivel;
    if (!AbrirNivelDeMemoria(archivo.data(), archivo.size(), nivel)) {
        estado.SkipWithError("the level did not open");
        return;
    }
    for (auto _ : estado) {
        auto capa = DibujoDisparadores::Crear(nivel->Logica, global->dispositivo.get());
        glFinish();
        benchmark::DoNotOptimize(capa);
    }
}

// Resident bytes of this process now; 0 where /proc is missing.
double Residente() {
    std::ifstream statm("/proc/self/statm");
    double paginas = 0, residentes = 0;
    if (!(statm >> paginas >> residentes))
        return 0;
    return residentes * double(sysconf(_SC_PAGESIZE));
}

// The window's cycle: open (releasing the level before), draw every mesh once, present.
void AbrirCincuenta(benchmark::State& estado, const std::vector<uint8_t>& archivo) {
    constexpr int VECES = 50;
    for (auto _ : estado) {
        std::unique_ptr<NivelSubido> nivel;
        double primera = 0;
        for (int i = 0; i < VECES; ++i) {
            if (!AbrirNivelDeMemoria(archivo.data(), archivo.size(), global->dispositivo.get(),
                                     nivel)) {
                estado.SkipWithError("the level did not open");
                return;
            }
            for (int m = 0; m < nivel->Cantidad(); ++m)
                (void)global->dispositivo->DibujarBuffer(nivel->Buffer(m), 0);
            (void)global->dispositivo->Presentar();
            glFinish();
            if (i == 0)
                primera = Residente();
        }
        const double ultima = Residente();
        estado.counters["rss_first_MB"] = primera / 1e6;
        estado.counters["rss_50th_MB"] = ultima / 1e6;
        estado.counters["growth_pct"] = primera > 0 ? 100 * (ultima - primera) / primera : 0;
    }
}

} // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    // As the viewer does, so that memory and speed are the viewer's.
    ConservarMonticulo();
    Dispositivo d;
    std::string motivo;
    d.superficie = SuperficieEGL::Crear(817, 769, &motivo);
    if (!d.superficie || FAILED(d.principal.IniciarD3D()) ||
        FAILED(d.principal.CrearDispositivo(d.superficie.get(), 1, d.dispositivo))) {
        std::fprintf(stderr, "skipping the open benchmark: no OpenGL device %s\n", motivo.c_str());
        return 0;
    }
    global = &d;
    std::vector<std::vector<uint8_t>> archivos;
    archivos.reserve(std::size(NIVELES) + 4); // the classic levels below too
    InformeCociente informe;
    for (const char* nivel : NIVELES) {
        archivos.push_back(fixture::LeerArchivo(std::string(TR4_NIVELES_REALES) + "/" + nivel));
        if (archivos.back().empty()) {
            std::fprintf(stderr, "skipping %s: not found in %s\n", nivel, TR4_NIVELES_REALES);
            continue;
        }
        using Medida = void (*)(benchmark::State&, const std::vector<uint8_t>&);
        const std::pair<const char*, Medida> medidas[] = {{"Inflar/", InflarBloques},
                                                          {"Cargar/", Cargar},
                                                          {"Abrir/", Abrir},
                                                          {"Escena/", Escena},
                                                          {"Objetos/", Objetos},
                                                          {"Logica/", Logica},
                                                          {"Capa/", Capa}};
        for (auto [nombre, f] : medidas)
            benchmark::RegisterBenchmark((nombre + std::string(nivel)).c_str(), f, archivos.back())
                ->Unit(benchmark::kMillisecond);
        benchmark::RegisterBenchmark(("AbrirCincuenta/" + std::string(nivel)).c_str(),
                                     AbrirCincuenta, archivos.back())
            ->Unit(benchmark::kMillisecond)
            ->Iterations(1);
        informe.Agregar({std::string(nivel) + ": open / bare inflate",
                         std::string("Abrir/") + nivel, std::string("Inflar/") + nivel});
        informe.Agregar({std::string(nivel) + ": level scene built and uploaded / open",
                         std::string("Escena/") + nivel, std::string("Abrir/") + nivel});
        informe.Agregar({std::string(nivel) + ": every object read and assembled / open",
                         std::string("Objetos/") + nivel, std::string("Abrir/") + nivel});
        informe.Agregar({std::string(nivel) + ": all floor data read / open",
                         std::string("Logica/") + nivel, std::string("Abrir/") + nivel});
        informe.Agregar({std::string(nivel) + ": trigger tiles built and uploaded / open",
                         std::string("Capa/") + nivel, std::string("Abrir/") + nivel});
        informe.Agregar({std::string(nivel) + ": load only / bare inflate",
                         std::string("Cargar/") + nivel, std::string("Inflar/") + nivel});
    }
    const std::vector<uint8_t> titulo =
        fixture::LeerArchivo(std::string(TR4_NIVELES_REALES) + "/title-a.tr4");
    for (const char* nivel :
         {"classic/tr1-b.phd", "classic/tr2-b.tr2", "classic/tr3-b.tr2", "classic/tr5-b.trc"}) {
        archivos.push_back(fixture::LeerArchivo(std::string(TR4_NIVELES_REALES) + "/" + nivel));
        if (archivos.back().empty() || titulo.empty()) {
            std::fprintf(stderr, "skipping %s: not found in %s\n", nivel, TR4_NIVELES_REALES);
            continue;
        }
        benchmark::RegisterBenchmark((std::string("Abrir/") + nivel).c_str(), Abrir,
                                     archivos.back())
            ->Unit(benchmark::kMillisecond);
        informe.Agregar({std::string(nivel) + ": open per MB / title-a open per MB",
                         std::string("Abrir/") + nivel, "Abrir/title-a.tr4",
                         double(titulo.size()) / double(archivos.back().size())});
    }
    benchmark::RunSpecifiedBenchmarks(&informe);
    benchmark::Shutdown();
    global = nullptr;
}
