#include "DibujoDisparadores.h"

#include "CapaDisparadores.h"
#include "VerticesLote.h"
#include "dxDevice8.h"

#include <vector>

std::unique_ptr<DibujoDisparadores> DibujoDisparadores::Crear(const trLogica& logica,
                                                              dxDevice8* dispositivo) {
    if (!dispositivo || !dispositivo->GetDispositivo())
        return nullptr;
    std::unique_ptr<DibujoDisparadores> c(new DibujoDisparadores);
    c->lotes_ = CrearLotes8(dispositivo->GetDispositivo());
    if (!c->lotes_)
        return nullptr;
    std::vector<VerticeLote> v;
    const std::vector<VerticeEscena> e = CapaDisparadores::Vertices(logica, c->hasta_);
    ALotes(e.data(), e.size(), v);
    if (FAILED(c->lotes_->CargarVertices(v.data(), UINT(v.size()))))
        return nullptr;
    return c;
}

HRESULT DibujoDisparadores::Dibujar(dxDevice8& dispositivo, const OpcionesNivel& opciones) const {
    // Each class shows as the scene's rooms of that class do.
    const bool visible[3] = {true, !opciones.Alternos, opciones.Alternos};
    TramoLote tramos[3];
    UINT n = 0, inicio = 0;
    for (int c = 0; c < 3; ++c) {
        if (visible[c] && hasta_[c] > inicio)
            tramos[n++] = {inicio, hasta_[c] - inicio, true, MEZCLA_ADITIVA};
        inicio = hasta_[c];
    }
    if (n == 0)
        return D3D_OK;
    return lotes_->Dibujar(dispositivo.GetVista(), dispositivo.GetProyeccion(), tramos, n,
                           LOTE_TEXTURIZADO, false);
}
