#include "PaginasClasicas.h"
#include "FlujoClasico.h"

#include <algorithm>
#include <cstring>

namespace clasico {

namespace {

// Each colour's cell, and an object texture well inside it.
constexpr int LADO_CELDA = 16;

} // namespace

void Paginas16(const uint8_t* p, uint32_t paginas, trBytes& destino) {
    const size_t texeles = size_t{paginas} * 256 * 256;
    destino.resize(texeles * 4);
    auto expandir = [](uint32_t v) { return uint8_t((v << 3) | (v >> 2)); };
    for (size_t i = 0; i < texeles; ++i) {
        const uint16_t t = Leer<uint16_t>(p + 2 * i);
        uint8_t* q = destino.data() + 4 * i;
        q[0] = expandir(t & 31);
        q[1] = expandir((t >> 5) & 31);
        q[2] = expandir((t >> 10) & 31);
        q[3] = (t & 0x8000) ? 255 : 0;
    }
}

// The first game's palette holds 6-bit components; index 0 is see-through.
void Paginas8(const uint8_t* p, uint32_t paginas, const uint8_t* paleta, trBytes& destino) {
    const size_t texeles = size_t{paginas} * 256 * 256;
    destino.resize(texeles * 4);
    for (size_t i = 0; i < texeles; ++i) {
        const uint8_t* rgb = paleta + 3 * size_t{p[i]};
        uint8_t* q = destino.data() + 4 * i;
        q[0] = uint8_t(std::min(255, rgb[2] * 4));
        q[1] = uint8_t(std::min(255, rgb[1] * 4));
        q[2] = uint8_t(std::min(255, rgb[0] * 4));
        q[3] = p[i] == 0 ? 0 : 255;
    }
}
void PaginaDeColores(const uint8_t colores[256][3], trBytes& destino) {
    const size_t inicio = destino.size();
    destino.resize(inicio + trNivel::BYTES_PAGINA);
    for (int y = 0; y < 256; ++y)
        for (int x = 0; x < 256; ++x) {
            const uint8_t* c = colores[(y / LADO_CELDA) * 16 + x / LADO_CELDA];
            uint8_t* q = destino.data() + inicio + 4 * size_t(y * 256 + x);
            q[0] = c[2];
            q[1] = c[1];
            q[2] = c[0];
            q[3] = 255;
        }
}

trTexturaObjeto TexturaDeColor(uint16_t pagina, int indice) {
    trTexturaObjeto t;
    t.Tile = pagina;
    const uint16_t x0 = uint16_t((indice % 16) * LADO_CELDA + 4) << 8,
                   y0 = uint16_t((indice / 16) * LADO_CELDA + 4) << 8;
    const uint16_t x1 = uint16_t(x0 + (8 << 8)), y1 = uint16_t(y0 + (8 << 8));
    t.Esquinas[0] = {x0, y0};
    t.Esquinas[1] = {x1, y0};
    t.Esquinas[2] = {x1, y1};
    t.Esquinas[3] = {x0, y1};
    return t;
}

} // namespace clasico
