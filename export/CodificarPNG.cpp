#include "CodificarPNG.h"

#include <libdeflate.h>

#include <cstring>
#include <memory>

namespace {

// Level 1: on the real levels' pages smaller than stb's files already, several times faster.
constexpr int NIVEL_COMPRESION = 1;

void Mayor32(std::vector<uint8_t>& b, uint32_t v) {
    b.insert(b.end(), {uint8_t(v >> 24), uint8_t(v >> 16), uint8_t(v >> 8), uint8_t(v)});
}

// Length, type, data, and the CRC of type and data.
void Trozo(std::vector<uint8_t>& png, const char tipo[4], const uint8_t* datos, size_t n) {
    Mayor32(png, uint32_t(n));
    const size_t inicio = png.size();
    png.insert(png.end(), tipo, tipo + 4);
    png.insert(png.end(), datos, datos + n);
    Mayor32(png, libdeflate_crc32(0, png.data() + inicio, n + 4));
}

struct Liberar {
    void operator()(libdeflate_compressor* c) const { libdeflate_free_compressor(c); }
};

} // namespace

std::vector<uint8_t> CodificarPNG(const uint8_t* rgba, int ancho, int alto) {
    std::unique_ptr<libdeflate_compressor, Liberar> compresor(
        libdeflate_alloc_compressor(NIVEL_COMPRESION));
    if (!compresor || ancho <= 0 || alto <= 0)
        return {};
    // Each row behind filter byte 0 (none): texture pages gain little from the others.
    const size_t fila = size_t(ancho) * 4;
    std::vector<uint8_t> filas((fila + 1) * size_t(alto));
    for (size_t y = 0; y < size_t(alto); ++y)
        std::memcpy(&filas[y * (fila + 1) + 1], rgba + y * fila, fila);
    std::vector<uint8_t> flujo(libdeflate_zlib_compress_bound(compresor.get(), filas.size()));
    flujo.resize(libdeflate_zlib_compress(compresor.get(), filas.data(), filas.size(),
                                          flujo.data(), flujo.size()));

    std::vector<uint8_t> png = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    std::vector<uint8_t> cabecera;
    Mayor32(cabecera, uint32_t(ancho));
    Mayor32(cabecera, uint32_t(alto));
    cabecera.insert(cabecera.end(), {8, 6, 0, 0, 0}); // 8 bits, RGBA, deflate, filters, no interlace
    Trozo(png, "IHDR", cabecera.data(), cabecera.size());
    Trozo(png, "IDAT", flujo.data(), flujo.size());
    Trozo(png, "IEND", nullptr, 0);
    return png;
}

std::vector<uint8_t> CodificarPNG(std::span<const uint8_t> rgba, int ancho, int alto) {
    if (ancho < 1 || alto < 1 || rgba.size() != size_t(ancho) * size_t(alto) * 4)
        return {};
    return CodificarPNG(rgba.data(), ancho, alto);
}

std::vector<uint8_t> CodificarPNG(std::span<const uint32_t> argb, int ancho, int alto) {
    if (ancho < 1 || alto < 1 || argb.size() != size_t(ancho) * size_t(alto))
        return {};
    std::vector<uint8_t> rgba(argb.size() * 4);
    for (size_t i = 0; i < argb.size(); ++i) {
        const uint32_t p = argb[i];
        rgba[4 * i] = uint8_t(p >> 16);
        rgba[4 * i + 1] = uint8_t(p >> 8);
        rgba[4 * i + 2] = uint8_t(p);
        rgba[4 * i + 3] = uint8_t(p >> 24);
    }
    return CodificarPNG(rgba.data(), ancho, alto);
}
