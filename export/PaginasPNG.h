#pragma once
// The level's texture pages as PNG files, texel for texel what the viewer uploads, so a page can
// be painted over in any image editor and compared with what the level shows.
#include "CodificarPNG.h"
#include "EscrituraAtomica.h"

#include <cstdint>
#include <span>
#include <string>
#include <vector>

class PaginasNivel;

// One 256 x 256 page of A8R8G8B8 texels (B, G, R, A in memory), alpha kept.
[[nodiscard]] std::vector<uint8_t> PaginaPNG(const uint8_t* texels);

// A page's file name without its ending: pagina_00, pagina_01, ... (more digits once the pages
// pass 100). `tr4tool pages` and a .gltf's pages are named alike, so that either set can stand
// in for the other.
std::string NombrePagina(int32_t pagina);
// The same with its ending: the file `tr4tool pages` writes, and the page offers to download.
std::string ArchivoPagina(int32_t pagina);

// One image an export carries: a page as it is, or made for additive blending, with the texel's
// brightness as alpha and its colour brought up to full, so that what is drawn over black is the
// texel itself and what lies behind only dims where the texel is bright.
struct PaginaImagen {
    int32_t Pagina = 0;
    bool Aditiva = false;
};

// Each of `imagenes` as PNG, in order: a page as it is byte for byte PaginaPNG's. Compressing
// them is most of an export's work and each is apart, so the cores share them (one thread where
// there are none). Not done when one could not be compressed (no memory for the compressor).
Hecho CodificarPaginas(const PaginasNivel* texturas, const std::vector<PaginaImagen>& imagenes,
                       std::vector<std::vector<uint8_t>>& pngs);

// ArchivoPagina(i) in `carpeta`, one per page of the level, ready for EscribirAtomico.
// Empty when the level has no pages.
std::vector<ArchivoPorEscribir> PaginasPNG(const PaginasNivel& texturas, const std::string& carpeta);
