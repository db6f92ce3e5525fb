// Frame time of the largest mesh of a real level drawn as the viewer draws it, one draw call per
// primitive with its own fill, cull and texture state, against the same vertices drawn in one
// call, on the off-screen OpenGL surface, in one run.
//   build/release/bench/bench_dibujo [--benchmark_repetitions=N]
#include "Encuadre.h"
#include "EscritorNivel.h"
#include "InformeCociente.h"
#include "Monticulo.h"
#include "NivelSubido.h"
#include "SuperficieEGL.h"
#include "dxBufferTextura.h"
#include "dxMain.h"

#include <GL/gl.h>
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdio>
#include <cstring>

namespace {

const char* const NIVEL = "title-b.tr4";

struct Escena {
    std::unique_ptr<SuperficieEGL> superficie;
    dxMain principal;
    std::unique_ptr<dxDevice8> dispositivo;
    std::unique_ptr<NivelSubido> nivel;
    dxBufferTextura* porPrimitiva = nullptr;
    IDirect3DVertexBuffer8* lista1 = nullptr; // the same triangles as one list
    UINT triangulos = 0;
    int caras = 0, indice = -1;
    std::string error;

    ~Escena() {
        if (lista1)
            lista1->Release();
    }
};

std::unique_ptr<Escena> Preparar() {
    auto e = std::make_unique<Escena>();
    e->superficie = SuperficieEGL::Crear(817, 769, &e->error);
    if (!e->superficie)
        return e;
    (void)e->principal.IniciarD3D();
    if (FAILED(e->principal.CrearDispositivo(e->superficie.get(), 1, e->dispositivo))) {
        e->error = "no device";
        return e;
    }
    dxDevice8& d = *e->dispositivo;
    (void)d.SetColorFondo(0, 0, 0);
    (void)SetProyeccionVisor(d, 817, 769);
    auto archivo = fixture::LeerArchivo(std::string(TR4_NIVELES_REALES) + "/" + NIVEL);
    const Hecho abierto = archivo.empty()
                              ? Hecho::Fallo("")
                              : AbrirNivelDeMemoria(archivo.data(), archivo.size(), &d, e->nivel);
    if (!abierto) {
        e->error = std::string(NIVEL) + " not read " + abierto.Motivo();
        return e;
    }
    for (int i = 0; i < e->nivel->Cantidad(); ++i) {
        const trMesh* m = e->nivel->Mesh(i);
        int caras = int(m->Rectangulos.size() + m->Triangulos.size());
        if (caras > e->caras)
            e->caras = caras, e->indice = i;
    }
    if (e->indice < 0) {
        e->error = "no mesh with faces";
        return e;
    }
    e->porPrimitiva = e->nivel->Buffer(e->indice);
    (void)EncuadrarMesh(d, *e->nivel->Mesh(e->indice));

    // The same vertices as one triangle list: each quad's strip becomes two triangles.
    auto* v = static_cast<const dxVerticeTextura*>(e->porPrimitiva->GetVertices());
    std::vector<dxVerticeTextura> tris;
    for (int p = 0, a = 0; p < e->porPrimitiva->GetTriangulos() + e->porPrimitiva->GetCuadrados();
         ++p) {
        if (e->porPrimitiva->GetFlags(p) & 0x01) {
            for (int k : {0, 1, 2, 1, 3, 2})
                tris.push_back(v[a + k]);
            a += 4;
        } else {
            for (int k : {0, 1, 2})
                tris.push_back(v[a + k]);
            a += 3;
        }
    }
    e->triangulos = UINT(tris.size() / 3);
    IDirect3DDevice8* dev = d.GetDispositivo();
    BYTE* destino = nullptr;
    const UINT largo = UINT(tris.size() * sizeof(dxVerticeTextura));
    if (FAILED(dev->CreateVertexBuffer(largo, 0, 0x102, D3DPOOL_DEFAULT, &e->lista1)) ||
        FAILED(e->lista1->Lock(0, largo, &destino, 0))) {
        e->error = "the single-call buffer was refused";
        return e;
    }
    std::memcpy(destino, tris.data(), largo);
    (void)e->lista1->Unlock();
    return e;
}

Escena* escena = nullptr;

void PorPrimitiva(benchmark::State& estado) {
    dxDevice8& d = *escena->dispositivo;
    float angulo = 0;
    for (auto _ : estado) {
        angulo += 0.02f;
        (void)d.Limpiar(1);
        escena->porPrimitiva->RotarY(angulo);
        (void)d.DibujarBuffer(escena->porPrimitiva, estado.range(0));
        (void)d.Presentar();
        glFinish();
    }
    estado.counters["draw_calls"] = escena->caras;
}

// The same with freed memory kept at the heap's top, as the window and tr4tool run.
void PorPrimitivaConservando(benchmark::State& estado) {
    ConservarMonticulo();
    PorPrimitiva(estado);
    ConservarMonticulo(128 << 10);
}

void UnaLlamada(benchmark::State& estado) {
    dxDevice8& d = *escena->dispositivo;
    IDirect3DDevice8* dev = d.GetDispositivo();
    float angulo = 0;
    for (auto _ : estado) {
        angulo += 0.02f;
        (void)d.Limpiar(1);
        D3DXMATRIX giro;
        D3DXMatrixRotationY(&giro, angulo);
        (void)dev->SetStreamSource(0, escena->lista1, 20);
        (void)dev->SetVertexShader(0x102);
        (void)dev->SetTransform(D3DTS_WORLD, &giro);
        (void)dev->BeginScene();
        (void)dev->SetRenderState(D3DRS_FILLMODE,
                            estado.range(0) == 2 ? D3DFILL_WIREFRAME : D3DFILL_SOLID);
        (void)dev->SetRenderState(D3DRS_CULLMODE, D3DCULL_CCW);
        (void)dev->SetTexture(0, estado.range(0) == 2 ? nullptr : escena->nivel->TexturasDispositivo->GetTextura(0));
        (void)dev->DrawPrimitive(D3DPT_TRIANGLELIST, 0, escena->triangulos);
        (void)dev->EndScene();
        (void)d.Presentar();
        glFinish();
    }
    estado.counters["draw_calls"] = 1;
}

} // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    auto preparada = Preparar();
    if (!preparada->error.empty()) {
        std::fprintf(stderr, "skipping the draw benchmark: %s\n", preparada->error.c_str());
        return 0;
    }
    escena = preparada.get();
    int cambios = 0;
    for (int i = 1; i < escena->caras; ++i)
        cambios += escena->porPrimitiva->GetTextura(i) != escena->porPrimitiva->GetTextura(i - 1);
    std::printf("%s: mesh %d, %d faces (%d rectangles, %d triangles), %u triangles drawn, "
                "%d page changes\n",
                NIVEL, escena->indice, escena->caras, escena->porPrimitiva->GetCuadrados(),
                escena->porPrimitiva->GetTriangulos(), escena->triangulos, cambios);
    benchmark::RegisterBenchmark("PorPrimitiva/textured", PorPrimitiva)
        ->Arg(0)
        ->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("PorPrimitiva/textured/heap_kept", PorPrimitivaConservando)
        ->Arg(0)
        ->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("UnaLlamada/textured", UnaLlamada)
        ->Arg(0)
        ->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("PorPrimitiva/wireframe", PorPrimitiva)
        ->Arg(2)
        ->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("UnaLlamada/wireframe", UnaLlamada)
        ->Arg(2)
        ->Unit(benchmark::kMillisecond);
    InformeCociente informe;
    informe.Agregar(
        {"textured: per primitive / one call", "PorPrimitiva/textured/0", "UnaLlamada/textured/0"});
    informe.Agregar({"textured, heap kept: per primitive / one call",
                     "PorPrimitiva/textured/heap_kept/0", "UnaLlamada/textured/0"});
    informe.Agregar({"textured: per primitive, heap trimmed / heap kept", "PorPrimitiva/textured/0",
                     "PorPrimitiva/textured/heap_kept/0"});
    informe.Agregar({"wireframe: per primitive / one call", "PorPrimitiva/wireframe/2",
                     "UnaLlamada/wireframe/2"});
    benchmark::RunSpecifiedBenchmarks(&informe);
    benchmark::Shutdown();
    escena = nullptr;
}
