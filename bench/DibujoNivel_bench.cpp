// Frame time of a whole real level as the "Nivel" view draws it (every room, static and item,
// batched by the level scene), against the same triangles drawn in one call and against a call
// per triangle, on the off-screen OpenGL surface at the viewer's default size, in one run. Two
// views: the whole level framed, and from just outside its largest room, which fills the frame.
// Also: the frame with its blend modes against every face drawn opaque, from those views and
// from where the view opens (behind Lara), and one pick by a ray through the view's centre.
// And the frame with the trigger tiles over it (Ver -> Disparadores) against the frame alone, and
// a sector pick: the ray's pick and the floor data record of the sector under what it met.
//   build/release/bench/bench_nivel [--benchmark_repetitions=N]
#include "CamaraVuelo.h"
#include "Encuadre.h"
#include "EscritorNivel.h"
#include "InicioNivel.h"
#include "InformeCociente.h"
#include "LeerSectores.h"
#include "Monticulo.h"
#include "MatrizDispositivo.h"
#include "NivelSubido.h"
#include "SuperficieEGL.h"
#include "dxMain.h"

#include <GL/gl.h>
#include <benchmark/benchmark.h>

#include <cstdio>

namespace {

const char* const NIVEL = "title-a.tr4";
constexpr int ANCHO = 817, ALTO = 769;

struct Escena {
    std::unique_ptr<SuperficieEGL> superficie;
    dxMain principal;
    std::unique_ptr<dxDevice8> dispositivo;
    std::unique_ptr<NivelSubido> nivel;
    int32_t cuartoMayor = 0;
    std::string error;
};
Escena* escena = nullptr;

enum Vista { NIVEL_ENTERO = 0, CUARTO_MAYOR = 1, LARA = 2 };

void Encuadrar(int vista) {
    const EscenaNivel& e = *escena->nivel->Escena;
    if (vista == LARA) {
        const auto inicio =
            InicioEnLara(escena->nivel->Objetos, size_t(e.NumCuartos()), &e);
        CamaraVuelo c;
        if (inicio)
            c.Situar(VectorDX(inicio->Ojo), inicio->Guinada, inicio->Cabeceo, VectorDX(inicio->Pivote),
                     e.EsferaNivel({}));
        (void)c.Aplicar(*escena->dispositivo, ANCHO, ALTO);
        return;
    }
    const Esfera s =
        vista == NIVEL_ENTERO ? e.EsferaNivel({}) : e.EsferaCuarto(escena->cuartoMayor);
    (void)EncuadrarEsfera(*escena->dispositivo, s.X, s.Y, s.Z,
                    vista == NIVEL_ENTERO ? s.Radio : s.Radio / 2, ANCHO, ALTO);
}

template <HRESULT (DibujoEscena::*Dibujar)(dxDevice8&, const OpcionesNivel&) const>
void Cuadro(benchmark::State& estado) {
    dxDevice8& d = *escena->dispositivo;
    const DibujoEscena& e = *escena->nivel->Dibujo;
    Encuadrar(int(estado.range(0)));
    for (auto _ : estado) {
        (void)d.Limpiar(1);
        if (FAILED((e.*Dibujar)(d, OpcionesNivel{}))) {
            estado.SkipWithError("the level was not drawn");
            break;
        }
        (void)d.Presentar();
        glFinish();
    }
    estado.counters["draw_calls"] = e.LlamadasDibujo();
    estado.counters["triangles"] = double(e.TriangulosDibujados());
}

// The same frame with or without its blend modes.
template <bool Mezclas> void CuadroMezclas(benchmark::State& estado) {
    dxDevice8& d = *escena->dispositivo;
    const DibujoEscena& e = *escena->nivel->Dibujo;
    Encuadrar(int(estado.range(0)));
    OpcionesNivel o;
    o.Mezclas = Mezclas;
    for (auto _ : estado) {
        (void)d.Limpiar(1);
        if (FAILED(e.Dibujar(d, o))) {
            estado.SkipWithError("the level was not drawn");
            break;
        }
        (void)d.Presentar();
        glFinish();
    }
    estado.counters["draw_calls"] = e.LlamadasDibujo();
}

// One click's pick at the view's centre, as the window makes it.
void Eleccion(benchmark::State& estado) {
    dxDevice8& d = *escena->dispositivo;
    const EscenaNivel& e = *escena->nivel->Escena;
    Encuadrar(int(estado.range(0)));
    int aciertos = 0;
    for (auto _ : estado) {
        const Rayo r = RayoPorPixel(MatrizGLM(d.GetVista()), MatrizGLM(d.GetProyeccion()), ANCHO / 2.f, ALTO / 2.f,
                                    ANCHO, ALTO);
        const auto a = e.Elegir(r, {});
        aciertos += a.has_value();
        benchmark::DoNotOptimize(a);
    }
    estado.counters["hit"] = aciertos > 0;
    estado.counters["triangles"] = double(e.Geometria().Triangulos.size());
}

// The frame with the trigger and kill tiles drawn over it.
void CuadroDisparadores(benchmark::State& estado) {
    dxDevice8& d = *escena->dispositivo;
    const DibujoEscena& e = *escena->nivel->Dibujo;
    const DibujoDisparadores* capa = escena->nivel->Capa.get();
    if (!capa) {
        estado.SkipWithError("no trigger tiles");
        return;
    }
    Encuadrar(int(estado.range(0)));
    OpcionesNivel o;
    o.Disparadores = true;
    for (auto _ : estado) {
        (void)d.Limpiar(1);
        if (FAILED(e.Dibujar(d, o)) || FAILED(capa->Dibujar(d, o))) {
            estado.SkipWithError("the level was not drawn");
            break;
        }
        (void)d.Presentar();
        glFinish();
    }
    estado.counters["tiles"] = capa->Baldosas();
}

// A click's sector as the details dock finds it: the pick, then the sector under its point.
void EleccionSector(benchmark::State& estado) {
    dxDevice8& d = *escena->dispositivo;
    const EscenaNivel& e = *escena->nivel->Escena;
    Encuadrar(int(estado.range(0)));
    int sectores = 0;
    for (auto _ : estado) {
        const Rayo r = RayoPorPixel(MatrizGLM(d.GetVista()), MatrizGLM(d.GetProyeccion()),
                                    ANCHO / 2.f, ALTO / 2.f, ANCHO, ALTO);
        const auto a = e.Elegir(r, {});
        const trSector* s = nullptr;
        if (a)
            s = SectorEn(escena->nivel->Logica,
                         size_t(e.Geometria().Partes[a->Parte].Duenio.Cuarto), a->Punto.x,
                         a->Punto.z);
        sectores += s != nullptr;
        benchmark::DoNotOptimize(s);
    }
    estado.counters["sector"] = sectores > 0;
}

} // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    // As the window and tr4tool run.
    ConservarMonticulo();
    Escena e;
    e.superficie = SuperficieEGL::Crear(ANCHO, ALTO, &e.error);
    const auto archivo = fixture::LeerArchivo(std::string(TR4_NIVELES_REALES) + "/" + NIVEL);
    if (!e.superficie || FAILED(e.principal.IniciarD3D()) ||
        FAILED(e.principal.CrearDispositivo(e.superficie.get(), 1, e.dispositivo)) ||
        archivo.empty() ||
        !AbrirNivelDeMemoria(archivo.data(), archivo.size(), e.dispositivo.get(), e.nivel) ||
        !e.nivel->Escena || !e.nivel->Dibujo) {
        std::fprintf(stderr, "skipping the level frame benchmark: %s not drawn %s\n", NIVEL,
                     e.error.c_str());
        return 0;
    }
    escena = &e;
    float mayor = 0;
    for (int32_t r = 0; r < e.nivel->Escena->NumCuartos(); ++r)
        if (e.nivel->Escena->EsferaCuarto(r).Radio > mayor)
            mayor = e.nivel->Escena->EsferaCuarto(r).Radio, e.cuartoMayor = r;
    const EscenaNivel::Cuentas n = e.nivel->Escena->Contar();
    std::printf("%s: %d rooms (%d rectangles, %d triangles), %d statics and %d items placed, "
                "%d x %d\n",
                NIVEL, n.Cuartos, n.Rectangulos, n.Triangulos, n.EstaticosColocados,
                n.ItemsColocados, ANCHO, ALTO);
    InformeCociente informe;
    for (int vista : {NIVEL_ENTERO, CUARTO_MAYOR}) {
        const std::string v = vista == NIVEL_ENTERO ? "level" : "room";
        benchmark::RegisterBenchmark(("Lotes/" + v).c_str(), Cuadro<&DibujoEscena::Dibujar>)
            ->Arg(vista)
            ->Unit(benchmark::kMillisecond);
        benchmark::RegisterBenchmark(("UnaLlamada/" + v).c_str(),
                                     Cuadro<&DibujoEscena::DibujarEnUnaLlamada>)
            ->Arg(vista)
            ->Unit(benchmark::kMillisecond);
        benchmark::RegisterBenchmark(("PorPrimitiva/" + v).c_str(),
                                     Cuadro<&DibujoEscena::DibujarPorPrimitiva>)
            ->Arg(vista)
            ->Unit(benchmark::kMillisecond);
        const std::string a = "/" + std::to_string(vista);
        informe.Agregar({v + ": batched / one call", "Lotes/" + v + a, "UnaLlamada/" + v + a});
        informe.Agregar(
            {v + ": per triangle / batched", "PorPrimitiva/" + v + a, "Lotes/" + v + a});
    }
    for (int vista : {NIVEL_ENTERO, CUARTO_MAYOR, LARA}) {
        const std::string v = vista == NIVEL_ENTERO ? "level" : vista == CUARTO_MAYOR ? "room" : "lara";
        const std::string a = "/" + std::to_string(vista);
        benchmark::RegisterBenchmark(("ConMezclas/" + v).c_str(), CuadroMezclas<true>)
            ->Arg(vista)
            ->Unit(benchmark::kMillisecond);
        benchmark::RegisterBenchmark(("SinMezclas/" + v).c_str(), CuadroMezclas<false>)
            ->Arg(vista)
            ->Unit(benchmark::kMillisecond);
        // In the frames' unit, so that the ratio below compares like with like.
        benchmark::RegisterBenchmark(("Eleccion/" + v).c_str(), Eleccion)
            ->Arg(vista)
            ->Unit(benchmark::kMillisecond);
        informe.Agregar({v + ": blend modes / all opaque", "ConMezclas/" + v + a,
                         "SinMezclas/" + v + a});
        informe.Agregar({v + ": one pick / one frame", "Eleccion/" + v + a, "ConMezclas/" + v + a});
        benchmark::RegisterBenchmark(("ConDisparadores/" + v).c_str(), CuadroDisparadores)
            ->Arg(vista)
            ->Unit(benchmark::kMillisecond);
        benchmark::RegisterBenchmark(("EleccionSector/" + v).c_str(), EleccionSector)
            ->Arg(vista)
            ->Unit(benchmark::kMillisecond);
        informe.Agregar({v + ": with trigger tiles / without", "ConDisparadores/" + v + a,
                         "ConMezclas/" + v + a});
    }
    benchmark::RunSpecifiedBenchmarks(&informe);
    benchmark::Shutdown();
    escena = nullptr;
}
