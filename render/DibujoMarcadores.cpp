#include "DibujoMarcadores.h"

#include "CapaMarcadores.h"
#include "VerticesLote.h"
#include "dxDevice8.h"

#include <vector>

std::unique_ptr<DibujoMarcadores> DibujoMarcadores::Crear(const trLogica& logica,
                                                          dxDevice8* dispositivo) {
    if (!dispositivo || !dispositivo->GetDispositivo())
        return nullptr;
    std::unique_ptr<DibujoMarcadores> c(new DibujoMarcadores);
    c->lotes_ = CrearLotes8(dispositivo->GetDispositivo());
    if (!c->lotes_)
        return nullptr;
    std::vector<VerticeLote> v;
    const std::vector<VerticeEscena> e = CapaMarcadores::Vertices(logica, c->solidos_);
    ALotes(e.data(), e.size(), v);
    if (FAILED(c->lotes_->CargarVertices(v.data(), UINT(v.size()))))
        return nullptr;
    c->total_ = UINT(v.size());
    return c;
}

UINT DibujoMarcadores::Marcadores() const {
    return solidos_ / CapaMarcadores::VERTICES_MARCADOR;
}

HRESULT DibujoMarcadores::Dibujar(dxDevice8& dispositivo) const {
    const D3DXMATRIX vista = dispositivo.GetVista(), proyeccion = dispositivo.GetProyeccion();
    HRESULT r = D3D_OK;
    if (solidos_ > 0) {
        const TramoLote solidos{0, solidos_, true, MEZCLA_OPACA};
        r = lotes_->Dibujar(vista, proyeccion, &solidos, 1, LOTE_COLOR, false);
    }
    if (SUCCEEDED(r) && total_ > solidos_) {
        const TramoLote caminos{solidos_, total_ - solidos_, true, MEZCLA_OPACA};
        r = lotes_->Dibujar(vista, proyeccion, &caminos, 1, LOTE_CONTORNO, false);
    }
    return r;
}
