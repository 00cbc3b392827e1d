#include "platform/JpegImage.h"

// libjpeg reports fatal errors through error_exit, whose default prints and ends the process.
// Here it jumps back with longjmp (libjpeg is C, so no C++ exception may cross it). Warnings
// count as failures too: a truncated stream only "warns" and would be padded with grey.

#include <jpeglib.h>

#include <csetjmp>
#include <cstdio>

namespace {

struct ErrorManager {
    jpeg_error_mgr pub;  // first member: libjpeg only sees this part
    std::jmp_buf jump;
};

[[noreturn]] void ErrorExit(j_common_ptr info) {
    std::longjmp(reinterpret_cast<ErrorManager*>(info->err)->jump, 1);
}

void OutputMessage(j_common_ptr) {}

// Everything the decoding touches lives outside DecodeInto, so the jump out of libjpeg skips no
// destructor and no local variable of DecodeInto is read after it.
struct Decoding {
    jpeg_decompress_struct info;
    ErrorManager errors;
    const std::string* bytes;
    std::vector<uint8_t>* pixels;
    int32_t width;
    int32_t height;
};

bool DecodeInto(Decoding& d) {
    if (setjmp(d.errors.jump) != 0) {
        return false;
    }
    jpeg_create_decompress(&d.info);
    jpeg_mem_src(&d.info, reinterpret_cast<const unsigned char*>(d.bytes->data()),
                 static_cast<unsigned long>(d.bytes->size()));
    if (jpeg_read_header(&d.info, TRUE) != JPEG_HEADER_OK) {
        return false;
    }
    if (d.info.image_width == 0 || d.info.image_height == 0 ||
        d.info.image_width > TJpegImage::kMaxSide || d.info.image_height > TJpegImage::kMaxSide) {
        return false;
    }
    d.info.out_color_space = JCS_RGB;
    jpeg_start_decompress(&d.info);
    if (d.info.output_components != 3) {
        return false;
    }
    d.width = static_cast<int32_t>(d.info.output_width);
    d.height = static_cast<int32_t>(d.info.output_height);
    const size_t stride = static_cast<size_t>(d.width) * 3;
    d.pixels->resize(stride * static_cast<size_t>(d.height));
    while (d.info.output_scanline < d.info.output_height) {
        JSAMPROW row = d.pixels->data() + stride * d.info.output_scanline;
        jpeg_read_scanlines(&d.info, &row, 1);
    }
    jpeg_finish_decompress(&d.info);
    return d.errors.pub.num_warnings == 0;
}

}  // namespace

bool TJpegImage::LoadFromBytes(const std::string& bytes) {
    width_ = 0;
    height_ = 0;
    pixels_.clear();
    Decoding d{};
    d.info.err = jpeg_std_error(&d.errors.pub);
    d.errors.pub.error_exit = ErrorExit;
    d.errors.pub.output_message = OutputMessage;
    d.bytes = &bytes;
    d.pixels = &pixels_;
    const bool ok = !bytes.empty() && DecodeInto(d);
    jpeg_destroy_decompress(&d.info);
    if (!ok) {
        pixels_.clear();
        return false;
    }
    width_ = d.width;
    height_ = d.height;
    return true;
}

uint32_t TJpegImage::PixelAt(int32_t x, int32_t y) const {
    if (x < 0 || y < 0 || x >= width_ || y >= height_) {
        return 0;
    }
    const uint8_t* p = pixels_.data() + (static_cast<size_t>(y) * width_ + x) * 3;
    return p[0] | (p[1] << 8) | (static_cast<uint32_t>(p[2]) << 16);
}
