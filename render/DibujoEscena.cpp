#include "DibujoEscena.h"

#include "PaginasNivel.h"
#include "VerticesLote.h"
#include "dxDevice8.h"

#include <cstddef>
#include <vector>

DibujoEscena::~DibujoEscena() = default;

std::unique_ptr<DibujoEscena> DibujoEscena::Crear(EscenaNivel& escena, const PaginasNivel* paginas,
                                                  dxDevice8* dispositivo, FabricaLotes fabrica) {
    std::unique_ptr<DibujoEscena> d(new DibujoEscena(escena));
    if (!dispositivo || !dispositivo->GetDispositivo())
        return d;
    const FabricaLotes crear = fabrica ? fabrica : CrearLotes8;
    d->lotes_ = crear(dispositivo->GetDispositivo());
    d->contorno_ = crear(dispositivo->GetDispositivo());
    if (!d->lotes_)
        return d;
    const UINT numPaginas = paginas ? UINT(paginas->NumPaginas()) : 0;
    const BYTE* texels = numPaginas ? paginas->GetTexels(0) : nullptr;
    // A refused upload draws nothing and says so at every draw; the level stays open.
    HRESULT r = d->lotes_->CargarPaginas(texels ? numPaginas : 0, texels);
    if (SUCCEEDED(r)) {
        std::vector<VerticeLote> todos;
        ALotes(escena.Vertices().data(), escena.Vertices().size(), todos);
        r = d->lotes_->CargarVertices(todos.data(), UINT(todos.size()));
    }
    if (FAILED(r)) {
        d->subida_ = r;
        (void)d->lotes_->CargarVertices(nullptr, 0); // emptying asks for nothing
    }
    return d;
}

HRESULT DibujoEscena::DibujarCon(dxDevice8& dispositivo, const OpcionesNivel& opciones,
                                 Via via) const {
    if (!lotes_)
        return E_FAIL;
    if (FAILED(subida_))
        return subida_;
    const std::vector<TramoEscena> runs = escena_.Tramos(opciones);
    std::vector<TramoLote> tramos(runs.size());
    for (size_t i = 0; i < runs.size(); ++i)
        tramos[i] = {runs[i].Inicio, runs[i].Vertices, runs[i].DobleCara && via != UNA_LLAMADA,
                     MezclaLote(runs[i].Mezcla)};
    const bool porPrimitiva = via == POR_PRIMITIVA;
    const D3DXMATRIX vista = dispositivo.GetVista(), proyeccion = dispositivo.GetProyeccion();
    auto pasada = [&](ModoLote modo) {
        return lotes_->Dibujar(vista, proyeccion, tramos.data(), UINT(tramos.size()), modo,
                               porPrimitiva);
    };
    HRESULT r = D3D_OK;
    uint64_t triangulos = 0;
    uint32_t llamadas = 0;
    // As the mesh view: the faces solid unless only the wireframe is asked for, then the lines.
    if (opciones.Texturizado || !opciones.Alambre) {
        r = pasada(!opciones.Texturizado ? LOTE_COLOR
                   : opciones.LuzPlena   ? LOTE_LUZ_PLENA
                                         : LOTE_TEXTURIZADO);
        triangulos += lotes_->TriangulosDibujados();
        llamadas += lotes_->LlamadasDibujo();
    }
    if (opciones.Alambre && SUCCEEDED(r)) {
        r = pasada(LOTE_ALAMBRE);
        triangulos += lotes_->TriangulosDibujados();
        llamadas += lotes_->LlamadasDibujo();
    }
    // The picked part's outline over everything, in a buffer of its own.
    if (resaltada_ >= 0 && contorno_ && SUCCEEDED(r) && via == LOTES) {
        const TramoLote todo{0, verticesContorno_, true};
        r = contorno_->Dibujar(vista, proyeccion, &todo, 1, LOTE_CONTORNO, false);
        llamadas += contorno_->LlamadasDibujo();
    }
    triangulos_ = triangulos;
    llamadas_ = llamadas;
    return r;
}

HRESULT DibujoEscena::Dibujar(dxDevice8& dispositivo, const OpcionesNivel& opciones) const {
    return DibujarCon(dispositivo, opciones, LOTES);
}

HRESULT DibujoEscena::DibujarPorPrimitiva(dxDevice8& dispositivo,
                                          const OpcionesNivel& opciones) const {
    return DibujarCon(dispositivo, opciones, POR_PRIMITIVA);
}

HRESULT DibujoEscena::DibujarEnUnaLlamada(dxDevice8& dispositivo,
                                          const OpcionesNivel& opciones) const {
    return DibujarCon(dispositivo, opciones, UNA_LLAMADA);
}

void DibujoEscena::Resaltar(int32_t parte) {
    resaltada_ = -1;
    verticesContorno_ = 0;
    if (!contorno_)
        return;
    const std::vector<VerticeEscena> contorno = escena_.Contorno(parte);
    if (contorno.empty())
        return;
    std::vector<VerticeLote> v;
    ALotes(contorno.data(), contorno.size(), v);
    if (FAILED(contorno_->CargarVertices(v.data(), UINT(v.size()))))
        return;
    resaltada_ = parte;
    verticesContorno_ = UINT(v.size());
}

HRESULT DibujoEscena::Animar(const NivelAbierto& nivel, double cuadro) {
    return escena_.Animar(nivel, cuadro) ? SubirItems() : D3D_OK;
}

HRESULT DibujoEscena::Detener() {
    return escena_.Detener() ? SubirItems() : D3D_OK;
}

HRESULT DibujoEscena::TenirAgua(bool si) {
    if (!escena_.TenirAgua(si) || !lotes_ || FAILED(subida_))
        return D3D_OK;
    for (const auto& [inicio, cantidad] : escena_.TramosAgua())
        if (const HRESULT r = Subir(inicio, escena_.Vertices().data() + inicio, cantidad);
            FAILED(r))
            return r;
    return D3D_OK;
}

HRESULT DibujoEscena::Subir(uint32_t inicio, const VerticeEscena* vertices, uint32_t cantidad) {
    ALotes(vertices, cantidad, borrador_);
    return lotes_->ActualizarVertices(inicio, borrador_.data(), cantidad);
}

HRESULT DibujoEscena::SubirItems() {
    if (!lotes_)
        return D3D_OK;
    if (FAILED(subida_))
        return subida_; // nothing of the level is there to update
    const std::vector<VerticeEscena>& actuales = escena_.VerticesItems();
    size_t desde = 0;
    for (const auto& [inicio, cantidad] : escena_.TramosItems()) {
        if (const HRESULT r = Subir(inicio, actuales.data() + desde, cantidad); FAILED(r))
            return r;
        desde += cantidad;
    }
    return D3D_OK;
}
