#pragma once
// The two vertex layouts the device reads straight out of a vertex buffer: their bytes are the
// contract with the stream source, so sizes and offsets are pinned here.
#include <cstddef>
#include <cstdint>
#include <type_traits>

#include "d3d8.h"

// Colour word: alpha in bits 24-31, red 16-23, green 8-15, blue 0-7.
struct dxVerticeColor {
    float x, y, z;
    uint32_t color;
};
constexpr DWORD FVF_VERTICE_COLOR = D3DFVF_XYZ | D3DFVF_DIFFUSE;

struct dxVerticeTextura {
    float x, y, z;
    float u, v;
};
constexpr DWORD FVF_VERTICE_TEXTURA = D3DFVF_XYZ | D3DFVF_TEX1;

static_assert(std::is_standard_layout_v<dxVerticeColor> &&
              std::is_trivially_copyable_v<dxVerticeColor>);
static_assert(sizeof(dxVerticeColor) == 16 && offsetof(dxVerticeColor, x) == 0 &&
              offsetof(dxVerticeColor, y) == 4 && offsetof(dxVerticeColor, z) == 8 &&
              offsetof(dxVerticeColor, color) == 12);
static_assert(std::is_standard_layout_v<dxVerticeTextura> &&
              std::is_trivially_copyable_v<dxVerticeTextura>);
static_assert(sizeof(dxVerticeTextura) == 20 && offsetof(dxVerticeTextura, x) == 0 &&
              offsetof(dxVerticeTextura, y) == 4 && offsetof(dxVerticeTextura, z) == 8 &&
              offsetof(dxVerticeTextura, u) == 12 && offsetof(dxVerticeTextura, v) == 16);
static_assert(FVF_VERTICE_COLOR == 0x42 && FVF_VERTICE_TEXTURA == 0x102);
