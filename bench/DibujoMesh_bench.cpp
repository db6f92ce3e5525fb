// Frame time of the largest mesh of a real level drawn as the viewer draws it, one draw call per
// primitive with its own fill, cull and texture state, against the same vertices drawn in one
// call, on the off-screen OpenGL surface, in one run.
//   build/release/bench/bench_dibujo [--benchmark_repetitions=N]
#include "CargarNivel.h"
#include "EscritorNivel.h"
#include "InformeCociente.h"
#include "LeerMeshes.h"
#include "SuperficieEGL.h"
#include "dxBufferTextura.h"
#include "dxMain.h"
#include "trTextura.h"

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
    trNivel nivel;
    std::unique_ptr<Lista_Mesh> lista;
    std::unique_ptr<trTextura> paginas;
    std::unique_ptr<dxBufferTextura> porPrimitiva;
    IDirect3DVertexBuffer8* lista1 = nullptr; // the same triangles as one list
    UINT triangulos = 0;
    int caras = 0, indice = -1;
    std::string error;

    ~Escena() {
        if (lista1)
            lista1->Release();
    }
};

// Until the mesh conversion lands: the faces of one mesh as textured polygons, positions
// (x, -y, z), rectangle corners in the order 0, 1, 3, 2, page from the object texture's tile.
void LlenarBuffer(const trMesh& m, const trNivel& n, const trTextura& paginas, dxBufferTextura& b) {
    auto uv = [](uint16_t c) { return float(c >> 8) / 256.f; };
    auto pos = [&](uint16_t v, auto& p) {
        const trVector16& x = m.Vertices[v];
        p.AgregarVertice(float(x.X), float(-int32_t(x.Y)), float(x.Z));
    };
    for (const trRectanguloTex& r : m.Rectangulos) {
        auto q = std::make_unique<dxCuadradoTex>(0x08);
        if (r.Textura < n.TexturasObjeto.size()) {
            const auto& t = n.TexturasObjeto[r.Textura];
            const auto& e = t.Esquinas;
            q->SetTextura(paginas.GetTextura(t.Tile), uv(e[0].X), uv(e[0].Y), uv(e[1].X),
                          uv(e[1].Y), uv(e[3].X), uv(e[3].Y), uv(e[2].X), uv(e[2].Y));
        }
        for (int c : {0, 1, 3, 2})
            if (r.Vertices[c] < m.Vertices.size())
                pos(r.Vertices[c], *q);
        b.AgregarPoligono(std::move(q));
    }
    for (const trTrianguloTex& r : m.Triangulos) {
        auto t3 = std::make_unique<dxTrianguloTex>(0x08);
        if (r.Textura < n.TexturasObjeto.size()) {
            const auto& t = n.TexturasObjeto[r.Textura];
            const auto& e = t.Esquinas;
            t3->SetTextura(paginas.GetTextura(t.Tile & 0x7FFF), uv(e[0].X), uv(e[0].Y), uv(e[1].X),
                           uv(e[1].Y), uv(e[2].X), uv(e[2].Y));
        }
        for (int c : {0, 1, 2})
            if (r.Vertices[c] < m.Vertices.size())
                pos(r.Vertices[c], *t3);
        b.AgregarPoligono(std::move(t3));
    }
}

std::unique_ptr<Escena> Preparar() {
    auto e = std::make_unique<Escena>();
    e->superficie = SuperficieEGL::Crear(817, 769, &e->error);
    if (!e->superficie)
        return e;
    auto archivo = fixture::LeerArchivo(std::string(TR4_NIVELES_REALES) + "/" + NIVEL);
    if (archivo.empty() ||
        !CargarNivelDeMemoria(archivo.data(), archivo.size(), e->nivel, &e->error)) {
        e->error = std::string(NIVEL) + " not read " + e->error;
        return e;
    }
    LeerMeshes(e->nivel.DatosMesh.data(), uint32_t(e->nivel.DatosMesh.size()), e->lista);
    e->principal.IniciarD3D();
    if (!e->lista ||
        FAILED(e->principal.CrearDispositivo(e->superficie.get(), 1, e->dispositivo))) {
        e->error = "no meshes or no device";
        return e;
    }
    dxDevice8& d = *e->dispositivo;
    d.SetColorFondo(0, 0, 0);
    d.SetProyeccion(1.0f, 3000.0f, 817.f / 769.f, float(M_PI / 4));
    e->paginas = std::make_unique<trTextura>(&e->nivel);
    e->paginas->CrearTexturas(&d);

    for (int i = 0; i < e->lista->Cantidad(); ++i) {
        trMesh* m = nullptr;
        e->lista->ObtenerMesh(i, m);
        int caras = int(m->Rectangulos.size() + m->Triangulos.size());
        if (caras > e->caras)
            e->caras = caras, e->indice = i;
    }
    trMesh* m = nullptr;
    e->lista->ObtenerMesh(e->indice, m);
    e->porPrimitiva = std::make_unique<dxBufferTextura>();
    LlenarBuffer(*m, e->nivel, *e->paginas, *e->porPrimitiva);
    d.CargarBuffer(e->porPrimitiva.get());
    d.SetOjo(m->CentroX, -m->CentroY, m->CentroZ - 1500.f);
    d.SetObjetivo(m->CentroX, -m->CentroY, m->CentroZ);

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
    e->lista1->Unlock();
    return e;
}

Escena* escena = nullptr;

void PorPrimitiva(benchmark::State& estado) {
    dxDevice8& d = *escena->dispositivo;
    float angulo = 0;
    for (auto _ : estado) {
        angulo += 0.02f;
        d.Limpiar(1);
        escena->porPrimitiva->RotarY(angulo);
        d.DibujarBuffer(escena->porPrimitiva.get(), estado.range(0));
        d.Presentar();
        glFinish();
    }
    estado.counters["draw_calls"] = escena->caras;
}

void UnaLlamada(benchmark::State& estado) {
    dxDevice8& d = *escena->dispositivo;
    IDirect3DDevice8* dev = d.GetDispositivo();
    float angulo = 0;
    for (auto _ : estado) {
        angulo += 0.02f;
        d.Limpiar(1);
        D3DXMATRIX giro;
        D3DXMatrixRotationY(&giro, angulo);
        dev->SetStreamSource(0, escena->lista1, 20);
        dev->SetVertexShader(0x102);
        dev->SetTransform(D3DTS_WORLD, &giro);
        dev->BeginScene();
        dev->SetRenderState(D3DRS_FILLMODE,
                            estado.range(0) == 2 ? D3DFILL_WIREFRAME : D3DFILL_SOLID);
        dev->SetRenderState(D3DRS_CULLMODE, D3DCULL_CCW);
        dev->SetTexture(0, estado.range(0) == 2 ? nullptr : escena->paginas->GetTextura(0));
        dev->DrawPrimitive(D3DPT_TRIANGLELIST, 0, escena->triangulos);
        dev->EndScene();
        d.Presentar();
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
    informe.Agregar({"wireframe: per primitive / one call", "PorPrimitiva/wireframe/2",
                     "UnaLlamada/wireframe/2"});
    benchmark::RunSpecifiedBenchmarks(&informe);
    benchmark::Shutdown();
    escena = nullptr;
}
