#include "platform/BitmapRows.h"

size_t BitmapRowStride(int32_t width) {
    return (static_cast<size_t>(width) * 3 + 3) & ~size_t{3};
}

std::vector<uint8_t> BitmapRowsFromRgb(const std::vector<uint8_t>& rgb, int32_t width,
                                       int32_t height) {
    const size_t stride = BitmapRowStride(width);
    std::vector<uint8_t> rows(stride * height, 0);
    for (int32_t y = 0; y < height; ++y) {
        for (int32_t x = 0; x < width; ++x) {
            const size_t from = (static_cast<size_t>(y) * width + x) * 3;
            uint8_t* to = rows.data() + stride * y + static_cast<size_t>(x) * 3;
            to[0] = rgb[from + 2];
            to[1] = rgb[from + 1];
            to[2] = rgb[from];
        }
    }
    return rows;
}
