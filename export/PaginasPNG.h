#pragma once
// The level's texture pages as PNG files, texel for texel what the viewer uploads, so a page can
// be painted over in any image editor and compared with what the level shows.
#include "CodificarPNG.h"
#include "EscrituraAtomica.h"

#include <cstdint>
#include <span>
#include <string>
#include <vector>

class trTextura;

// One 256 x 256 page of A8R8G8B8 texels (B, G, R, A in memory), alpha kept.
[[nodiscard]] std::vector<uint8_t> PaginaPNG(const uint8_t* texels);

// A page's file name without its ending: pagina_00, pagina_01, ... (more digits once the pages
// pass 100). `tr4tool pages` and a .gltf's pages are named alike, so that either set can stand
// in for the other.
std::string NombrePagina(int32_t pagina);

// NombrePagina(i) + ".png" in `carpeta`, one per page of the level, ready for EscribirAtomico.
// Empty when the level has no pages.
std::vector<ArchivoPorEscribir> PaginasPNG(const trTextura& texturas, const std::string& carpeta);
