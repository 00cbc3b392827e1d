#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

// A picture's pixels as the windowing system's 24-bit device-independent bitmap holds them:
// blue, green, red per pixel, top row first, each row padded with zeros to a multiple of 4
// bytes.
size_t BitmapRowStride(int32_t width);
// `rgb` holds red, green, blue per pixel, rows top to bottom without padding (width * height *
// 3 bytes).
std::vector<uint8_t> BitmapRowsFromRgb(const std::vector<uint8_t>& rgb, int32_t width,
                                       int32_t height);
