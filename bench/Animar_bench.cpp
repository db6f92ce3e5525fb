// Animations measured in one run on title-a: posing every item of the level for one frame (its
// moveable's first animation, at a frame that moves on every iteration) against drawing that
// frame of the level on the off-screen OpenGL surface; the level frame with its items animated
// (posed, their vertices sent again, drawn; "Ver -> Animar") against the still frame, and that
// posing and sending alone; and exporting Lara (moveable 0 on 8's meshes) with all her
// animations as .glb in memory against opening the level without a device. Lara's joints: the
// animated frame and her export against the same level opened without them (as before they
// were drawn).
//   build/release/bench/bench_animar [--benchmark_repetitions=N]
#include "EscritorNivel.h"
#include "Encuadre.h"
#include "ExportarGLTF.h"
#include "InformeCociente.h"
#include "NivelSubido.h"
#include "PoseMovible.h"
#include "SuperficieEGL.h"
#include "dxMain.h"

#include <GL/gl.h>
#include <benchmark/benchmark.h>

#include <cstdio>
#include <unordered_map>

namespace {

const char* const NIVEL = "title-a.tr4";
constexpr int ANCHO = 817, ALTO = 769;

struct Escena {
    std::unique_ptr<SuperficieEGL> superficie;
    dxMain principal;
    std::unique_ptr<dxDevice8> dispositivo;
    std::unique_ptr<NivelSubido> nivel;
    std::unique_ptr<NivelSubido> sinJuntas; // the same level, Lara without her joints
    std::vector<uint8_t> archivo;
    std::string error;
};
Escena* escena = nullptr;

void PosarItems(benchmark::State& estado) {
    const NivelSubido& n = *escena->nivel;
    std::unordered_map<int64_t, const trMovible*> porId;
    for (const trMovible& m : n.Objetos.Movibles)
        porId.emplace(m.Id, &m);
    std::vector<const trMovible*> items;
    for (const trItem& it : n.Objetos.Items)
        if (auto m = porId.find(it.Objeto); m != porId.end() && m->second->NumAnimaciones > 0)
            items.push_back(m->second);
    std::vector<glm::mat4> mundos;
    double cuadro = 0;
    int64_t posados = 0;
    for (auto _ : estado) {
        for (const trMovible* m : items)
            if (PosarMovible(*n.Nivel, n.Objetos.Animaciones, *m, m->Animacion, cuadro, mundos))
                ++posados;
        cuadro = cuadro > 20 ? 0 : cuadro + 0.5;
        benchmark::DoNotOptimize(mundos.data());
    }
    estado.counters["items_posed"] = double(posados) / double(estado.iterations());
}

// One level frame as the window draws it, finished on the device; false when any step failed, so
// that a refused frame is not timed as a fast one.
bool Cuadro(dxDevice8& d, const DibujoEscena& e) {
    const bool hecho = SUCCEEDED(d.Limpiar(1)) && SUCCEEDED(e.Dibujar(d, OpcionesNivel{})) &&
                       SUCCEEDED(d.Presentar());
    glFinish();
    return hecho;
}

void DibujarNivel(benchmark::State& estado) {
    dxDevice8& d = *escena->dispositivo;
    const DibujoEscena& e = *escena->nivel->Dibujo;
    const Esfera s = escena->nivel->Escena->EsferaNivel({});
    if (FAILED(EncuadrarEsfera(d, s.X, s.Y, s.Z, s.Radio, ANCHO, ALTO))) {
        estado.SkipWithError("the level could not be framed");
        return;
    }
    for (auto _ : estado) {
        if (!Cuadro(d, e)) {
            estado.SkipWithError("the device refused the frame");
            break;
        }
    }
}

// As the window draws a frame with Ver -> Animar on: one game frame on from the last.
void DibujarNivelAnimado(benchmark::State& estado, NivelSubido* nivel) {
    dxDevice8& d = *escena->dispositivo;
    NivelSubido& n = *nivel;
    DibujoEscena& e = *n.Dibujo;
    const Esfera s = n.Escena->EsferaNivel({});
    if (FAILED(EncuadrarEsfera(d, s.X, s.Y, s.Z, s.Radio, ANCHO, ALTO))) {
        estado.SkipWithError("the level could not be framed");
        return;
    }
    double cuadro = 0;
    for (auto _ : estado) {
        if (FAILED(e.Animar(n, cuadro))) {
            estado.SkipWithError("the device refused the items' vertices");
            break;
        }
        cuadro += 1;
        if (!Cuadro(d, e)) {
            estado.SkipWithError("the device refused the frame");
            break;
        }
    }
    (void)e.Detener();
    estado.counters["items_animated"] = n.Escena->ItemsAnimados();
    estado.counters["item_vertices"] = double(n.Escena->VerticesItems().size());
}

// The items' share of that frame: posed and sent to the device, nothing drawn.
void AnimarItems(benchmark::State& estado) {
    NivelSubido& n = *escena->nivel;
    DibujoEscena& e = *n.Dibujo;
    double cuadro = 0;
    for (auto _ : estado) {
        if (FAILED(e.Animar(n, cuadro)))
            estado.SkipWithError("the device refused the items' vertices");
        cuadro += 1;
        glFinish();
    }
    (void)e.Detener();
}

void Abrir(benchmark::State& estado) {
    const auto& a = escena->archivo;
    for (auto _ : estado) {
        std::unique_ptr<NivelAbierto> nivel;
        if (!AbrirNivelDeMemoria(a.data(), a.size(), nivel))
            estado.SkipWithError("the level did not open");
    }
}

void ExportarLara(benchmark::State& estado, const NivelAbierto* nivel) {
    OpcionesGLTF o{Elegido::Movible, ID_LARA};
    o.Animadas.MeshesDe = ID_CUERPO_LARA;
    o.Animadas.Todas = true;
    std::vector<ArchivoPorEscribir> archivos;
    for (auto _ : estado) {
        if (const Hecho h = ExportarGLTFEnMemoria(*nivel, o, "lara.glb", archivos); !h)
            estado.SkipWithError(h.Motivo().c_str());
    }
    if (!archivos.empty())
        estado.counters["glb_MiB"] = double(archivos[0].Bytes.size()) / (1 << 20);
}

} // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    Escena e;
    e.superficie = SuperficieEGL::Crear(ANCHO, ALTO, &e.error);
    e.archivo = fixture::LeerArchivo(std::string(TR4_NIVELES_REALES) + "/" + NIVEL);
    if (!e.superficie || FAILED(e.principal.IniciarD3D()) ||
        FAILED(e.principal.CrearDispositivo(e.superficie.get(), 1, e.dispositivo)) ||
        e.archivo.empty() ||
        !AbrirNivelDeMemoria(e.archivo.data(), e.archivo.size(), e.dispositivo.get(), e.nivel) ||
        !e.nivel->Escena || !e.nivel->Dibujo) {
        std::fprintf(stderr, "skipping the animation benchmarks: %s not drawn %s\n", NIVEL,
                     e.error.c_str());
        return 0;
    }
    // Opened again and built without the joints, on the same device.
    if (AbrirNivelDeMemoria(e.archivo.data(), e.archivo.size(), e.dispositivo.get(), e.sinJuntas)) {
        NivelSubido& n = *e.sinJuntas;
        n.Articulaciones = nullptr;
        n.Dibujo.reset(); // it draws the scene replaced below
        n.Escena = EscenaNivel::Crear(n);
        if (n.Escena)
            n.Dibujo = DibujoEscena::Crear(*n.Escena, n.Texturas.get(), e.dispositivo.get());
    }
    escena = &e;
    InformeCociente informe;
    benchmark::RegisterBenchmark("PosarItems", PosarItems)->Unit(benchmark::kMicrosecond);
    benchmark::RegisterBenchmark("DibujarNivel", DibujarNivel)->Unit(benchmark::kMicrosecond);
    benchmark::RegisterBenchmark("DibujarNivelAnimado", DibujarNivelAnimado, e.nivel.get())
        ->Unit(benchmark::kMicrosecond);
    if (e.sinJuntas && e.sinJuntas->Dibujo)
        benchmark::RegisterBenchmark("DibujarNivelAnimadoSinJuntas", DibujarNivelAnimado,
                                     e.sinJuntas.get())
            ->Unit(benchmark::kMicrosecond);
    benchmark::RegisterBenchmark("AnimarItems", AnimarItems)->Unit(benchmark::kMicrosecond);
    benchmark::RegisterBenchmark("Abrir", Abrir)->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("ExportarLara", ExportarLara, e.nivel.get())
        ->Unit(benchmark::kMillisecond);
    if (e.sinJuntas)
        benchmark::RegisterBenchmark("ExportarLaraSinJuntas", ExportarLara, e.sinJuntas.get())
            ->Unit(benchmark::kMillisecond);
    informe.Agregar({"posing every item / drawing the level frame", "PosarItems", "DibujarNivel"});
    informe.Agregar({"level frame with items animated / the still frame", "DibujarNivelAnimado",
                     "DibujarNivel"});
    informe.Agregar({"posing and sending the items alone / the still frame", "AnimarItems",
                     "DibujarNivel"});
    informe.Agregar({"export of Lara with all animations / open", "ExportarLara", "Abrir"});
    informe.Agregar({"animated level frame, Lara with joints / without", "DibujarNivelAnimado",
                     "DibujarNivelAnimadoSinJuntas"});
    informe.Agregar({"export of Lara with all animations, with joints / without", "ExportarLara",
                     "ExportarLaraSinJuntas"});
    benchmark::RunSpecifiedBenchmarks(&informe);
    benchmark::Shutdown();
    escena = nullptr;
}
