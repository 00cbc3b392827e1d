#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <iterator>

#include "platform/JpegImage.h"

namespace {

// The banner picture that corvane.exe carries as a resource, read from the source tree.
std::string AboutBannerJpeg() {
    std::ifstream file(CORVANE_BANNER_FILE, std::ios::binary);
    EXPECT_TRUE(file.good()) << CORVANE_BANNER_FILE;
    return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

struct KnownPixel {
    int32_t x;
    int32_t y;
    uint32_t colour;  // red in bits 0-7, green 8-15, blue 16-23
    const char* where;
};

// Channels may differ by this much after JPEG compression (flat areas, away from edges).
constexpr int kTolerance = 16;

bool Near(uint32_t actual, uint32_t expected) {
    for (int shift = 0; shift < 24; shift += 8) {
        const int a = static_cast<int>((actual >> shift) & 0xFF);
        const int e = static_cast<int>((expected >> shift) & 0xFF);
        if (std::abs(a - e) > kTolerance) {
            return false;
        }
    }
    return true;
}

// Offset of the frame header (SOF0 marker) that holds the picture's height and width.
size_t FrameHeader(const std::string& jpeg) {
    const size_t at = jpeg.find("\xFF\xC0");
    EXPECT_NE(at, std::string::npos);
    return at;
}

TEST(JpegImage, DecodesTheBannerAtItsSize) {
    TJpegImage image;
    ASSERT_TRUE(image.LoadFromBytes(AboutBannerJpeg()));
    EXPECT_FALSE(image.Empty());
    EXPECT_EQ(image.Width(), 468);
    EXPECT_EQ(image.Height(), 60);
    EXPECT_EQ(image.Pixels().size(), 468u * 60u * 3u);
}

TEST(JpegImage, BannerHasItsColoursInPlace) {
    TJpegImage image;
    ASSERT_TRUE(image.LoadFromBytes(AboutBannerJpeg()));
    const KnownPixel rows[] = {
        {6, 6, 0x288CF2, "orange logo square, top left"},
        {6, 54, 0x288CF2, "orange logo square, bottom left"},
        {200, 4, 0x6F3B1B, "navy background above the title"},
        {300, 57, 0x6F3B1B, "navy background below the link line"},
        {424, 30, 0x6F3B1B, "navy, last column the About box shows"},
        {412, 40, 0x3FD2FF, "yellow button"},
        {450, 30, 0x288CF2, "orange end stripe, cut off in the About box"},
    };
    for (const KnownPixel& row : rows) {
        SCOPED_TRACE(row.where);
        const uint32_t actual = image.PixelAt(row.x, row.y);
        EXPECT_TRUE(Near(actual, row.colour)) << std::hex << "got 0x" << actual;
    }
    EXPECT_EQ(image.PixelAt(468, 0), 0u);
    EXPECT_EQ(image.PixelAt(0, -1), 0u);
}

TEST(JpegImage, RejectsBrokenDataCleanly) {
    const std::string banner = AboutBannerJpeg();
    std::string zeroHeight = banner;
    zeroHeight[FrameHeader(banner) + 5] = 0;
    zeroHeight[FrameHeader(banner) + 6] = 0;
    std::string hugeHeight = banner;
    hugeHeight[FrameHeader(banner) + 5] = '\xEA';  // 60000 rows
    hugeHeight[FrameHeader(banner) + 6] = '\x60';
    const struct {
        std::string bytes;
        const char* what;
    } rows[] = {
        {"", "empty"},
        {"not a picture at all", "text"},
        {banner.substr(0, 2), "start marker only"},
        {banner.substr(0, 200), "cut inside the tables"},
        {banner.substr(0, banner.size() / 2), "cut in the middle of the scan"},
        {banner.substr(0, banner.size() - 2), "end marker missing"},
        {zeroHeight, "zero height"},
        {hugeHeight, "larger than the decoder accepts"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.what);
        TJpegImage image;
        ASSERT_TRUE(image.LoadFromBytes(banner));
        EXPECT_FALSE(image.LoadFromBytes(row.bytes));
        EXPECT_TRUE(image.Empty());
        EXPECT_EQ(image.Width(), 0);
        EXPECT_EQ(image.Height(), 0);
        EXPECT_EQ(image.PixelAt(0, 0), 0u);
    }
}

}  // namespace
