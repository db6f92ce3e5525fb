#include "PaginasPNG.h"

#include "ConvencionesNivel.h"
#include "Idioma.h"
#include "PaginasNivel.h"

#include <algorithm>
#include <atomic>
#include <cstdio>
#ifndef TR4_SIN_HILOS
#include <thread>
#endif

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

std::string NombrePagina(int32_t pagina) {
    char nombre[32];
    std::snprintf(nombre, sizeof nombre, "pagina_%02d", int(pagina));
    return nombre;
}

std::string ArchivoPagina(int32_t pagina) {
    return NombrePagina(pagina) + ".png";
}

std::vector<ArchivoPorEscribir> PaginasPNG(const PaginasNivel& texturas, const std::string& carpeta) {
    std::vector<ArchivoPorEscribir> archivos;
    const int32_t paginas = texturas.NumPaginas();
    const std::string prefijo = carpeta.empty()          ? ""
                                : carpeta.ends_with('/') ? carpeta
                                                         : carpeta + "/";
    for (int32_t i = 0; i < paginas; ++i)
        archivos.push_back({prefijo + ArchivoPagina(i), PaginaPNG(texturas.GetTexels(i))});
    return archivos;
}

Hecho CodificarPaginas(const PaginasNivel* texturas, const std::vector<PaginaImagen>& imagenes,
                       std::vector<std::vector<uint8_t>>& pngs) {
    auto sinMemoria = [] {
        return Hecho::Fallo(Traducir("no hay memoria suficiente para comprimir las páginas"));
    };
    pngs.assign(imagenes.size(), {});
    if (!texturas)
        return imagenes.empty() ? Hecho() : sinMemoria();
    std::atomic<size_t> siguiente = 0;
    auto trabajar = [&] {
        std::vector<uint8_t> rgba(size_t(LADO_PAGINA) * LADO_PAGINA * 4);
        for (size_t k; (k = siguiente++) < imagenes.size();) {
            const auto [pagina, aditiva] = imagenes[k];
            const uint8_t* bgra = texturas->GetTexels(pagina);
            if (!aditiva) {
                pngs[k] = PaginaPNG(bgra); // byte for byte `tr4tool pages`' file
                continue;
            }
            // Over black, colour x alpha gives the texel back; behind it, what is there dims
            // only as much as the texel is bright. A see-through texel adds nothing.
            for (size_t i = 0; i < rgba.size(); i += 4) {
                const uint8_t r = bgra[i + 2], g = bgra[i + 1], b = bgra[i];
                const uint8_t brillo = bgra[i + 3] == 0 ? 0 : std::max({r, g, b});
                auto lleno = [brillo](uint8_t c) {
                    return brillo == 0 ? uint8_t(0) : uint8_t((c * 255 + brillo / 2) / brillo);
                };
                rgba[i] = lleno(r);
                rgba[i + 1] = lleno(g);
                rgba[i + 2] = lleno(b);
                rgba[i + 3] = brillo;
            }
            pngs[k] = CodificarPNG(rgba.data(), LADO_PAGINA, LADO_PAGINA);
        }
    };
    {
#ifndef TR4_SIN_HILOS
        const size_t hilos =
            std::min<size_t>(std::max(1u, std::thread::hardware_concurrency()), imagenes.size());
        std::vector<std::jthread> otros;
        for (size_t h = 1; h < hilos; ++h)
            otros.emplace_back(trabajar);
#endif
        trabajar();
    }
    if (std::any_of(pngs.begin(), pngs.end(), [](const auto& png) { return png.empty(); }))
        return sinMemoria();
    return {};
}
