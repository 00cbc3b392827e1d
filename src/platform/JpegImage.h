#pragma once

#include <cstdint>
#include <string>
#include <vector>

// A picture decoded from JPEG bytes into 24-bit RGB pixels.
class TJpegImage {
public:
    // Decodes a complete JPEG picture. Returns false and leaves the image empty when the bytes
    // are not one: corrupt or truncated data, an unsupported colour space, or a picture larger
    // than kMaxSide on a side. Never prints and never ends the process.
    bool LoadFromBytes(const std::string& bytes);

    bool Empty() const { return pixels_.empty(); }
    int32_t Width() const { return width_; }
    int32_t Height() const { return height_; }
    // Red, green, blue bytes per pixel, rows top to bottom, no padding.
    const std::vector<uint8_t>& Pixels() const { return pixels_; }
    // The pixel as a colour value (red in bits 0-7, green 8-15, blue 16-23); 0 outside.
    uint32_t PixelAt(int32_t x, int32_t y) const;

    static constexpr int32_t kMaxSide = 4096;

private:
    int32_t width_ = 0;
    int32_t height_ = 0;
    std::vector<uint8_t> pixels_;
};
