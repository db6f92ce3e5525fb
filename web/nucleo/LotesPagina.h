#pragma once
// A model as the page draws it without a .glb: its faces gathered by material into one batch
// each (world positions, linear vertex colours, texel coordinates, triangle indices), the pages
// they use (whose texels the page takes from the level itself), and for each of its top-level
// nodes (a room, a placed object) its box
// and where its triangles lie in each batch, so that the page frames a room or picks out an
// object. Tens of draw calls instead of one per node and material, and no page compressed only
// to be decoded again.
#include <cstdint>
#include <string>
#include <vector>

class ModeloGLTF;
class PaginasNivel;

// Everything in one buffer, 4-byte aligned: a little-endian u32 with the length of the JSON that
// follows (the description: the offsets of each array, relative to the start of the data), the
// JSON, padding to 4 bytes, then the data. Empty when a batch would not fit in the buffer's
// 32-bit offsets.
std::vector<uint8_t> LotesPagina(ModeloGLTF& modelo, const PaginasNivel* texturas);
