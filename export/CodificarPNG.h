#pragma once
// RGBA images as PNG bytes in memory, for the pages an export carries. stb_image_write's own
// deflate took two thirds of a whole-level export; libdeflate, which already inflates the levels,
// does the same work several times faster, and the PNG around it is four fixed chunks.
#include <cstdint>
#include <span>
#include <vector>

// `rgba` holds ancho x alto pixels, 4 bytes each, top row first. Empty when the compressor
// cannot be had (out of memory).
[[nodiscard]] std::vector<uint8_t> CodificarPNG(const uint8_t* rgba, int ancho, int alto);

// The same, checked: empty when the sizes do not match the bytes.
[[nodiscard]] std::vector<uint8_t> CodificarPNG(std::span<const uint8_t> rgba, int ancho, int alto);
// From 0xAARRGGBB words, as the off-screen surface reads them back.
[[nodiscard]] std::vector<uint8_t> CodificarPNG(std::span<const uint32_t> argb, int ancho, int alto);
