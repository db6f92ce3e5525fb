#include "PaginasPNG.h"

#include "trTextura.h"

#include <stb_image_write.h>

#include <cstdio>

namespace {

constexpr int LADO_PAGINA = 256;

void Anadir(void* contexto, void* datos, int tamano) {
    auto* bytes = static_cast<std::vector<uint8_t>*>(contexto);
    const auto* p = static_cast<const uint8_t*>(datos);
    bytes->insert(bytes->end(), p, p + tamano);
}

} // namespace

std::vector<uint8_t> CodificarPNG(std::span<const uint8_t> rgba, int ancho, int alto) {
    std::vector<uint8_t> png;
    if (ancho < 1 || alto < 1 || rgba.size() != size_t(ancho) * size_t(alto) * 4)
        return png;
    if (!stbi_write_png_to_func(Anadir, &png, ancho, alto, 4, rgba.data(), ancho * 4))
        png.clear();
    return png;
}

std::vector<uint8_t> CodificarPNG(std::span<const uint32_t> argb, int ancho, int alto) {
    std::vector<uint8_t> rgba(argb.size() * 4);
    for (size_t i = 0; i < argb.size(); ++i) {
        const uint32_t p = argb[i];
        rgba[4 * i] = uint8_t(p >> 16);
        rgba[4 * i + 1] = uint8_t(p >> 8);
        rgba[4 * i + 2] = uint8_t(p);
        rgba[4 * i + 3] = uint8_t(p >> 24);
    }
    return CodificarPNG(std::span<const uint8_t>(rgba), ancho, alto);
}

std::vector<uint8_t> PaginaPNG(const uint8_t* texels) {
    std::vector<uint8_t> rgba(size_t(LADO_PAGINA) * LADO_PAGINA * 4);
    for (size_t i = 0; i < rgba.size(); i += 4) {
        rgba[i] = texels[i + 2];
        rgba[i + 1] = texels[i + 1];
        rgba[i + 2] = texels[i];
        rgba[i + 3] = texels[i + 3];
    }
    return CodificarPNG(std::span<const uint8_t>(rgba), LADO_PAGINA, LADO_PAGINA);
}

std::vector<ArchivoPorEscribir> PaginasPNG(const trTextura& texturas, const std::string& carpeta) {
    std::vector<ArchivoPorEscribir> archivos;
    const int32_t paginas = texturas.NumPaginas();
    const std::string prefijo = carpeta.empty()          ? ""
                                : carpeta.ends_with('/') ? carpeta
                                                         : carpeta + "/";
    for (int32_t i = 0; i < paginas; ++i) {
        char nombre[32];
        std::snprintf(nombre, sizeof nombre, "pagina_%02d.png", int(i));
        archivos.push_back({prefijo + nombre, PaginaPNG(texturas.GetTexels(i))});
    }
    return archivos;
}
