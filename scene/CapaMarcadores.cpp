#include "CapaMarcadores.h"

#include <vector>

namespace {

// An octahedron about (x, y, z), level axes: eight faces, so it reads as solid from any side.
void Marcador(std::vector<VerticeEscena>& v, float x, float y, float z, uint32_t color,
              float r = CapaMarcadores::RADIO) {
    const float punta[6][3] = {{r, 0, 0}, {-r, 0, 0}, {0, r, 0}, {0, -r, 0}, {0, 0, r}, {0, 0, -r}};
    auto poner = [&](int k) {
        v.push_back({x + punta[k][0], -(y + punta[k][1]), z + punta[k][2], 0, 0, PAGINA_NINGUNA,
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

uint32_t CapaMarcadores::ColorLuz(const trLuzCuarto& l) {
    if (l.Rojo == 0 && l.Verde == 0 && l.Azul == 0)
        return BLANCO_LUZ;
    return 0xFF000000u | uint32_t(l.Rojo) << 16 | uint32_t(l.Verde) << 8 | l.Azul;
}

std::vector<VerticeEscena> CapaMarcadores::Vertices(const trLogica& l, uint32_t& solidos) {
    // A camera that an underwater current names is a sink.
    std::vector<bool> sumidero(l.Camaras.size(), false);
    for (const trDisparador& d : l.Disparadores)
        for (const trAccion& a : d.Acciones)
            if (a.Tipo == uint8_t(trTipoAccion::Corriente) && a.Parametro < sumidero.size())
                sumidero[a.Parametro] = true;
    std::vector<VerticeEscena> v;
    for (size_t i = 0; i < l.Camaras.size(); ++i) {
        const trCamara& c = l.Camaras[i];
        Marcador(v, float(c.X), float(c.Y), float(c.Z),
                 sumidero[i] ? AZUL_SUMIDERO : CIAN_CAMARA);
    }
    for (const trCamaraVuelo& c : l.CamarasVuelo)
        Marcador(v, float(c.X), float(c.Y), float(c.Z), AMARILLO_VUELO);
    for (const trFuenteSonido& f : l.FuentesSonido)
        Marcador(v, float(f.X), float(f.Y), float(f.Z), VERDE_SONIDO);
    for (const trCuartoLogica& c : l.Cuartos)
        for (const trLuzCuarto& luz : c.Luces)
            Marcador(v, float(luz.X), float(luz.Y), float(luz.Z), ColorLuz(luz), RADIO_LUZ);
    solidos = uint32_t(v.size());
    for (const auto& secuencia : l.Secuencias)
        for (size_t k = 1; k < secuencia.size(); ++k) {
            const trCamaraVuelo &a = l.CamarasVuelo[secuencia[k - 1]],
                                &b = l.CamarasVuelo[secuencia[k]];
            const VerticeEscena desde{float(a.X), -float(a.Y), float(a.Z), 0, 0, PAGINA_NINGUNA,
                                    AMARILLO_VUELO};
            const VerticeEscena hasta{float(b.X), -float(b.Y), float(b.Z), 0, 0, PAGINA_NINGUNA,
                                    AMARILLO_VUELO};
            v.insert(v.end(), {desde, hasta, hasta});
        }
    return v;
}
