#include "MeshesClasicas.h"
#include "Idioma.h"

#include <algorithm>
#include <string>

namespace clasico {

bool ConvertirMeshes(const uint8_t* datos, uint32_t bytes, uint16_t baseColores, int juego,
                     MeshesConvertidas& r, Flujo& error) {
    Flujo f(datos, bytes, juego);
    const std::string que = Traducir(PorTraducir("los datos de meshes"));
    r.datos.reserve(bytes + bytes / 4);
    while (f.Restante() > 0 && !f.Fallo()) {
        const size_t inicio = f.Posicion(), nuevo = r.datos.size();
        r.inicios.emplace_back(uint32_t(inicio), uint32_t(nuevo));
        const std::string quien =
            Formatear(Traducir("%s, el mesh en el byte %s"), {que, std::to_string(inicio)});
        const uint8_t* cabecera = f.Tomar(1, 10, quien);
        const int16_t nv = f.Valor<int16_t>(quien);
        const uint8_t* vertices = f.Tomar(Positivo(nv), 6, quien);
        const int16_t nn = f.Valor<int16_t>(quien);
        const uint8_t* normales =
            f.Tomar(nn > 0 ? uint64_t(nn) : uint64_t(-int32_t{nn}), nn > 0 ? 6 : 2, quien);
        struct Lista {
            int16_t cuenta = 0;
            const uint8_t* p = nullptr;
        } listas[4]; // textured rectangles, textured triangles, coloured rectangles, triangles
        for (int k = 0; k < 4; ++k) {
            listas[k].cuenta = f.Valor<int16_t>(quien);
            listas[k].p = f.Tomar(Positivo(listas[k].cuenta), k % 2 == 0 ? 10 : 8, quien);
        }
        if ((f.Posicion() - inicio) % 4 != 0)
            f.Tomar(1, 2, quien);
        if (f.Fallo())
            break;
        const uint64_t rectangulos = Positivo(listas[0].cuenta) + Positivo(listas[2].cuenta),
                       triangulos = Positivo(listas[1].cuenta) + Positivo(listas[3].cuenta);
        if (rectangulos > 0x7FFF || triangulos > 0x7FFF) {
            f.Rechazar(Formatear(Traducir("%s: más de 32767 caras de un tipo"), {quien}));
            break;
        }
        r.datos.insert(r.datos.end(), cabecera, cabecera + 10);
        Poner<int16_t>(r.datos, nv);
        if (vertices)
            r.datos.insert(r.datos.end(), vertices, vertices + 6 * Positivo(nv));
        Poner<int16_t>(r.datos, nn);
        if (normales && nn != 0)
            r.datos.insert(r.datos.end(), normales,
                           normales + (nn > 0 ? 6 * size_t(nn) : 2 * size_t(-int32_t{nn})));
        for (int lados : {4, 3}) {
            const Lista& texturadas = listas[lados == 4 ? 0 : 1];
            const Lista& coloreadas = listas[lados == 4 ? 2 : 3];
            Poner<int16_t>(r.datos, int16_t(lados == 4 ? rectangulos : triangulos));
            const size_t paso = 2 * size_t(lados) + 2;
            for (uint64_t i = 0; i < Positivo(texturadas.cuenta); ++i) {
                r.datos.insert(r.datos.end(), texturadas.p + paso * i,
                               texturadas.p + paso * (i + 1));
                Poner<uint16_t>(r.datos, 0);
            }
            for (uint64_t i = 0; i < Positivo(coloreadas.cuenta); ++i) {
                const uint8_t* cara = coloreadas.p + paso * i;
                r.datos.insert(r.datos.end(), cara, cara + 2 * size_t(lados));
                const uint16_t campo = Leer<uint16_t>(cara + 2 * size_t(lados));
                // The first game names an entry of its 8-bit palette; the others also name one
                // of their 16-bit palette in the high byte, the colour they draw.
                const int color = juego == 1 ? (campo & 0xFF) : (campo >> 8);
                Poner<uint16_t>(r.datos, uint16_t(baseColores + color));
                Poner<uint16_t>(r.datos, 0);
                r.coloreadas = true;
            }
        }
        if ((r.datos.size() - nuevo) % 4 != 0)
            Poner<uint16_t>(r.datos, 0);
    }
    error.Absorber(f);
    return !f.Fallo();
}

uint32_t NuevoDesplazamiento(const std::vector<std::pair<uint32_t, uint32_t>>& mapa, uint32_t viejo,
                             uint32_t fuera) {
    const auto en = std::lower_bound(mapa.begin(), mapa.end(), std::make_pair(viejo, 0u));
    return en != mapa.end() && en->first == viejo ? en->second : fuera;
}

} // namespace clasico
