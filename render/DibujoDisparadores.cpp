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
    c->clases_ = ClasesAlternas(logica.Cuartos);
    ALotes(e.data(), e.size(), v);
    if (FAILED(c->lotes_->CargarVertices(v.data(), UINT(v.size()))))
        return nullptr;
    return c;
}

HRESULT DibujoDisparadores::Dibujar(dxDevice8& dispositivo, const OpcionesNivel& opciones) const {
    // Each class shows as the scene's rooms of that class do.
    std::vector<TramoLote> tramos;
    UINT inicio = 0;
    for (uint32_t c = 0; c < hasta_.size(); ++c) {
        if (clases_.Visible(c, opciones) && hasta_[c] > inicio)
            tramos.push_back({inicio, hasta_[c] - inicio, true, MEZCLA_ADITIVA});
        inicio = hasta_[c];
    }
    if (tramos.empty())
        return D3D_OK;
    return lotes_->Dibujar(dispositivo.GetVista(), dispositivo.GetProyeccion(), tramos.data(),
                           UINT(tramos.size()), LOTE_TEXTURIZADO, false);
}
