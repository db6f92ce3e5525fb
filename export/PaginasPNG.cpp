#include "PaginasPNG.h"

#include "ConvencionesNivel.h"
#include "trTextura.h"

#include <cstdio>

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

std::vector<ArchivoPorEscribir> PaginasPNG(const trTextura& texturas, const std::string& carpeta) {
    std::vector<ArchivoPorEscribir> archivos;
    const int32_t paginas = texturas.NumPaginas();
    const std::string prefijo = carpeta.empty()          ? ""
                                : carpeta.ends_with('/') ? carpeta
                                                         : carpeta + "/";
    for (int32_t i = 0; i < paginas; ++i)
        archivos.push_back({prefijo + NombrePagina(i) + ".png", PaginaPNG(texturas.GetTexels(i))});
    return archivos;
}
