#include <gtest/gtest.h>

#include "platform/BitmapRows.h"

namespace {

TEST(BitmapRows, RowsArePaddedToFourBytes) {
    const struct {
        int32_t width;
        size_t stride;
    } cases[] = {{0, 0}, {1, 4}, {4, 12}, {5, 16}, {425, 1276}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.width);
        EXPECT_EQ(BitmapRowStride(c.width), c.stride);
    }
}

TEST(BitmapRows, PixelsTurnBlueGreenRedTopRowFirst) {
    // Two rows of two pixels: red, green / blue, grey.
    const std::vector<uint8_t> rgb = {255, 0, 0, 0, 255, 0, 0, 0, 255, 10, 20, 30};
    const std::vector<uint8_t> expected = {
        0,   0, 255, 0,  255, 0,  0, 0,   // first row, two bytes of padding
        255, 0, 0,   30, 20,  10, 0, 0};  // second row
    EXPECT_EQ(BitmapRowsFromRgb(rgb, 2, 2), expected);
    EXPECT_TRUE(BitmapRowsFromRgb({}, 0, 0).empty());
}

}  // namespace
