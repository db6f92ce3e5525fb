// Whole level files as any bytes, taken the way the viewer takes them: loaded, their meshes read,
// their pages made, every mesh converted and uploaded, then every buffer drawn textured and in
// wireframe, all against the recording device so no OpenGL is needed; then every object exported
// as glTF, in memory only.
#include "CargarNivel.h"
#include "DibujoEnsamblaje.h"
#include "ExportarGLTF.h"
#include "Grabador.h"
#include "Invariantes.h"
#include "MutadorBloques.h"
#include "NivelSubido.h"
#include "PoseMovible.h"
#include "dxBufferTextura.h"
#include "dxDevice8.h"

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

namespace {

// Faces whose vertex indices all name vertices the mesh has: the ones the conversion must keep.
template <class Cara> int32_t Validas(const std::vector<Cara>& caras, size_t vertices) {
    int32_t n = 0;
    for (const Cara& c : caras) {
        bool ok = true;
        for (uint16_t v : c.Vertices)
            ok = ok && v < vertices;
        n += ok;
    }
    return n;
}

void ComprobarAbierto(const NivelSubido& a, dxDevice8& dispositivo, RegistroGrabador& registro) {
    COMPROBAR(a.Nivel && a.Texturas);
    COMPROBAR(a.Cantidad() >= 0);
    COMPROBAR(a.Meshes || a.Cantidad() == 0);
    COMPROBAR(a.Buffer(-1) == nullptr && a.Buffer(a.Cantidad()) == nullptr);
    COMPROBAR(a.Mesh(-1) == nullptr && a.Mesh(a.Cantidad()) == nullptr);
    COMPROBAR(a.Buffers.Cantidad() == size_t(a.Cantidad()));

    for (int i = 0; i < a.Cantidad(); ++i) {
        dxBufferTextura* b = a.Buffer(i);
        const trMesh* m = a.Mesh(i);
        COMPROBAR(b && m);
        COMPROBAR(b->GetCuadrados() == Validas(m->Rectangulos, m->Vertices.size()));
        COMPROBAR(b->GetTriangulos() == Validas(m->Triangulos, m->Vertices.size()));
        const bool caras = b->GetCuadrados() + b->GetTriangulos() > 0;
        // Every mesh with a face reaches the device, sized for exactly its vertices.
        COMPROBAR((b->GetVertexBuffer() != nullptr) == caras);
        if (caras)
            COMPROBAR(b->GetVertexBuffer()->GetLength() ==
                      uint64_t(b->GetNumVertices()) * b->GetStride());

        // The log only matters for the draw just made; clearing it keeps big levels cheap.
        registro.Limpiar();
        COMPROBAR(dispositivo.DibujarBuffer(b, 0) == D3D_OK);
        COMPROBAR(dispositivo.DibujarBuffer(b, 2) == D3D_OK);
        registro.Limpiar();
    }
    COMPROBAR(registro.DibujosFueraDeRango == 0);

    // Every object assembled, framed and drawn, whatever its records say.
    fuzz::ComprobarObjetos(*a.Nivel, a.Meshes.get(), a.Objetos);

    // The whole level built as the "Nivel" view draws it: it counts what the rooms and
    // placements hold; the recorder cannot draw batches, so a draw is refused, not attempted.
    std::vector<trGeometriaCuarto> cuartos;
    const trColocacionesCuartos colocaciones =
        fuzz::ComprobarCuartos(*a.Nivel, a.Objetos, &cuartos);
    COMPROBAR(a.Escena);
    const EscenaNivel::Cuentas n = a.Escena->Contar();
    int64_t rectangulos = 0, triangulos = 0;
    for (const trGeometriaCuarto& g : cuartos) {
        rectangulos += g.Rectangulos;
        triangulos += g.Triangulos;
    }
    COMPROBAR(n.Cuartos == a.Escena->NumCuartos() && size_t(n.Cuartos) == cuartos.size());
    COMPROBAR(n.Rectangulos == rectangulos && n.Triangulos == triangulos);
    COMPROBAR(uint32_t(n.EstaticosColocados) == colocaciones.Estaticos &&
              uint32_t(n.EstaticosOmitidos) == colocaciones.EstaticosOmitidos);
    COMPROBAR(uint32_t(n.ItemsColocados) == colocaciones.Items &&
              uint32_t(n.ItemsOmitidos) == colocaciones.ItemsOmitidos);
    // Unflipped, every group flipped, and each group the level has on its own.
    std::vector<OpcionesNivel> volteos{{}, {.Alternos = true}};
    for (uint8_t g : a.Escena->Clases().Grupos())
        volteos.push_back({.GrupoAlterno = g});
    for (const OpcionesNivel& o : volteos) {
        const Esfera e = a.Escena->EsferaNivel(o);
        COMPROBAR(std::isfinite(e.X) && std::isfinite(e.Y) && std::isfinite(e.Z));
        COMPROBAR(std::isfinite(e.Radio) && e.Radio >= 1);
    }
    // Water tinted and back: the colours as built.
    const std::vector<VerticeEscena> construidos = a.Escena->Vertices();
    COMPROBAR(a.Dibujo->TenirAgua(true) == D3D_OK && a.Dibujo->TenirAgua(false) == D3D_OK);
    COMPROBAR(construidos.empty() || std::memcmp(a.Escena->Vertices().data(), construidos.data(),
                                                 construidos.size() * sizeof construidos[0]) == 0);
    for (int32_t r = -1; r <= n.Cuartos; ++r)
        COMPROBAR(std::isfinite(a.Escena->EsferaCuarto(r).Radio));
    COMPROBAR(a.Dibujo && a.Dibujo->Dibujar(dispositivo, {}) == E_FAIL);
    // Its items in motion, at frames within and far past any animation, then still again as
    // they were built.
    const std::vector<VerticeEscena> quietos = a.Escena->VerticesItems();
    for (double cuadro : {0.0, 2.5, 1e6}) {
        COMPROBAR(a.Dibujo->Animar(a, cuadro) == D3D_OK);
        COMPROBAR(a.Escena->VerticesItems().size() == quietos.size());
    }
    COMPROBAR(a.Dibujo->Detener() == D3D_OK);
    COMPROBAR(a.Escena->VerticesItems().size() == quietos.size());
    COMPROBAR(quietos.empty() || std::memcmp(a.Escena->VerticesItems().data(), quietos.data(),
                                             quietos.size() * sizeof(VerticeEscena)) == 0);
    if (!a.Meshes)
        return;
    auto dibujar = [&](const Ensamblaje& e) {
        COMPROBAR(std::isfinite(e.Radio) && e.Radio >= 0);
        COMPROBAR(EncuadrarEnsamblaje(dispositivo, e, 817, 769) == D3D_OK);
        COMPROBAR(DibujarEnsamblaje(dispositivo, e, a.Buffers, 0.5f, true, true) == D3D_OK);
        registro.Limpiar();
    };
    for (const trMovible& m : a.Objetos.Movibles) {
        const Ensamblaje e = ArmarMovible(m, *a.Meshes);
        COMPROBAR(e.Piezas.size() <= m.Meshes.size());
        dibujar(e);
    }
    for (const trEstatico& s : a.Objetos.Estaticos)
        dibujar(ArmarEstatico(s, *a.Meshes));
    // Every moveable posed by a few of its animations at frames the input picks, in range and
    // far out of it; a pose is finite, and the player always lands within its animation.
    std::vector<glm::mat4> mundos;
    uint32_t semilla = uint32_t(a.Objetos.Animaciones.Animaciones.size() * 2654435761u);
    for (const trMovible& m : a.Objetos.Movibles)
        for (uint32_t i = m.Animacion; i < m.Animacion + std::min(m.NumAnimaciones, 4u); ++i) {
            semilla = semilla * 1103515245u + 12345u;
            const double cuadro = double(semilla % 4096) / 16.0 - 8.0;
            if (PosarMovible(*a.Nivel, a.Objetos.Animaciones, m, i, cuadro, mundos)) {
                COMPROBAR(mundos.size() == m.Meshes.size());
                for (const glm::mat4& w : mundos)
                    for (int f = 0; f < 4; ++f)
                        for (int c = 0; c < 4; ++c)
                            COMPROBAR(std::isfinite(w[f][c]));
                Ensamblaje e = ArmarMovible(m, *a.Meshes);
                AplicarPose(e, mundos);
                dibujar(e);
            }
            Reproductor r;
            r.Forma = semilla & 1 ? Reproductor::Modo::Seguir : Reproductor::Modo::Bucle;
            if (r.Elegir(a.Objetos.Animaciones, i)) {
                r.Avanzar(double(semilla % 1000) / 7.0);
                COMPROBAR(r.Cuadro() >= 0 && r.Cuadro() < r.Cuadros());
            }
        }
    COMPROBAR(registro.DibujosFueraDeRango == 0);

    // Every object as one model, with its files beside it (its .bin, and its pages named as
    // `tr4tool pages` names them) and none elsewhere; and one mesh.
    std::vector<ArchivoPorEscribir> archivos;
    COMPROBAR(ExportarGLTFEnMemoria(a, {Elegido::Todo}, "/destino/todo.gltf", archivos));
    COMPROBAR(!archivos.empty() && archivos.back().Ruta == "/destino/todo.gltf");
    for (const ArchivoPorEscribir& f : archivos)
        COMPROBAR((f.Ruta.starts_with("/destino/todo") || f.Ruta.starts_with("/destino/pagina_")) &&
                  !f.Bytes.empty());
    // The level itself: its rooms with what it places in them, and its logic.
    OpcionesGLTF nivelEntero{Elegido::Nivel};
    nivelEntero.Logica = true;
    COMPROBAR(ExportarGLTFEnMemoria(a, nivelEntero, "nivel.glb", archivos));
    COMPROBAR(archivos.size() == 1 && archivos[0].Ruta == "nivel.glb");
    const bool mesh = bool(ExportarGLTFEnMemoria(a, {Elegido::Mesh, a.Cantidad() - 1},
                                                 "/destino/mesh.glb", archivos));
    COMPROBAR(mesh == (a.Cantidad() > 0) && archivos.size() == (mesh ? 1u : 0u));
    // The first moveable with animations, with every one it can play.
    for (const trMovible& m : a.Objetos.Movibles) {
        if (m.NumAnimaciones == 0)
            continue;
        OpcionesGLTF o{Elegido::Movible, m.Id};
        o.Animadas.Todas = true;
        COMPROBAR(ExportarGLTFEnMemoria(a, o, "animado.glb", archivos));
        break;
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* datos, size_t tamano) {
    if (tamano > MAXIMO_ARCHIVO_NIVEL)
        return -1;
    auto registro = std::make_shared<RegistroGrabador>();
    dxDevice8 dispositivo;
    dispositivo.SetDispositivo(CrearDispositivoGrabador(registro));

    // Stands for the level already on show, which a refused file must leave in place.
    auto previo = std::make_unique<NivelSubido>();
    NivelSubido* const enPantalla = previo.get();
    std::unique_ptr<NivelSubido> abierto = std::move(previo);

    if (const Hecho h = AbrirNivelDeMemoria(datos, tamano, &dispositivo, abierto); !h) {
        fuzz::ComprobarMotivo(h.Motivo());
        COMPROBAR(abierto.get() == enPantalla);
        COMPROBAR(registro->Vivos == 1); // the device alone: nothing was made for a refused file
        return 0;
    }
    COMPROBAR(abierto.get() != enPantalla);
    ComprobarAbierto(*abierto, dispositivo, *registro);

    // Closing the level gives every page and buffer back to the device.
    abierto.reset();
    COMPROBAR(registro->Vivos == 1);
    return 0;
}
