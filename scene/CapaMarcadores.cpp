#include "CapaMarcadores.h"

#include "dxDevice8.h"

#include <vector>

namespace {

// An octahedron about (x, y, z), level axes: eight faces, so it reads as solid from any side.
void Marcador(std::vector<VerticeLote>& v, float x, float y, float z, D3DCOLOR color) {
    const float r = CapaMarcadores::RADIO;
    const float punta[6][3] = {{r, 0, 0}, {-r, 0, 0}, {0, r, 0}, {0, -r, 0}, {0, 0, r}, {0, 0, -r}};
    auto poner = [&](int k) {
        v.push_back({x + punta[k][0], -(y + punta[k][1]), z + punta[k][2], 0, 0, SIN_PAGINA,
                     color});
    };
    for (int sx : {0, 1})
        for (int sy : {2, 3})
            for (int sz : {4, 5}) {
                poner(sx);
                poner(sy);
                poner(sz);
            }
}

} // namespace

std::vector<VerticeLote> CapaMarcadores::Vertices(const trLogica& l, UINT& solidos) {
    // A camera that an underwater current names is a sink.
    std::vector<bool> sumidero(l.Camaras.size(), false);
    for (const trDisparador& d : l.Disparadores)
        for (const trAccion& a : d.Acciones)
            if (a.Tipo == uint8_t(trTipoAccion::Corriente) && a.Parametro < sumidero.size())
                sumidero[a.Parametro] = true;
    std::vector<VerticeLote> v;
    for (size_t i = 0; i < l.Camaras.size(); ++i) {
        const trCamara& c = l.Camaras[i];
        Marcador(v, float(c.X), float(c.Y), float(c.Z),
                 sumidero[i] ? AZUL_SUMIDERO : CIAN_CAMARA);
    }
    for (const trCamaraVuelo& c : l.CamarasVuelo)
        Marcador(v, float(c.X), float(c.Y), float(c.Z), AMARILLO_VUELO);
    for (const trFuenteSonido& f : l.FuentesSonido)
        Marcador(v, float(f.X), float(f.Y), float(f.Z), VERDE_SONIDO);
    solidos = UINT(v.size());
    for (const auto& secuencia : l.Secuencias)
        for (size_t k = 1; k < secuencia.size(); ++k) {
            const trCamaraVuelo &a = l.CamarasVuelo[secuencia[k - 1]],
                                &b = l.CamarasVuelo[secuencia[k]];
            const VerticeLote desde{float(a.X), -float(a.Y), float(a.Z), 0, 0, SIN_PAGINA,
                                    AMARILLO_VUELO};
            const VerticeLote hasta{float(b.X), -float(b.Y), float(b.Z), 0, 0, SIN_PAGINA,
                                    AMARILLO_VUELO};
            v.insert(v.end(), {desde, hasta, hasta});
        }
    return v;
}

std::unique_ptr<CapaMarcadores> CapaMarcadores::Crear(const trLogica& logica,
                                                      dxDevice8* dispositivo) {
    if (!dispositivo || !dispositivo->GetDispositivo())
        return nullptr;
    std::unique_ptr<CapaMarcadores> c(new CapaMarcadores);
    c->lotes_ = CrearLotes8(dispositivo->GetDispositivo());
    if (!c->lotes_)
        return nullptr;
    const std::vector<VerticeLote> v = Vertices(logica, c->solidos_);
    if (FAILED(c->lotes_->CargarVertices(v.data(), UINT(v.size()))))
        return nullptr;
    c->total_ = UINT(v.size());
    return c;
}

HRESULT CapaMarcadores::Dibujar(dxDevice8& dispositivo) const {
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
