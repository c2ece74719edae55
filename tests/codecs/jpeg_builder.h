// Encodes small JPEG files in memory for the tests, in any colour space the library writes.
#pragma once

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

#include <jpeglib.h>

namespace velmora::test {

// fill(x, y, pixel) sets the components of one pixel in the order of space (JCS_EXT_BGR,
// JCS_GRAYSCALE or JCS_CMYK). A progressive file is coded in the library's usual scans; colour
// is coded with chroma at half resolution both ways unless fullChroma.
inline std::string encodeJpeg(int width, int height, J_COLOR_SPACE space,
                              const std::function<void(int, int, uint8_t*)>& fill, int quality = 95,
                              bool progressive = false, bool fullChroma = false) {
    const int components = space == JCS_GRAYSCALE ? 1 : space == JCS_CMYK ? 4 : 3;
    jpeg_compress_struct cinfo{};
    jpeg_error_mgr errors{};
    cinfo.err = jpeg_std_error(&errors);
    jpeg_create_compress(&cinfo);
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&cinfo, &buffer, &size);
    cinfo.image_width = static_cast<JDIMENSION>(width);
    cinfo.image_height = static_cast<JDIMENSION>(height);
    cinfo.input_components = components;
    cinfo.in_color_space = space;
    jpeg_set_defaults(&cinfo);
    jpeg_set_quality(&cinfo, quality, TRUE);
    if (fullChroma) {
        cinfo.comp_info[0].h_samp_factor = 1;
        cinfo.comp_info[0].v_samp_factor = 1;
    }
    if (progressive) {
        jpeg_simple_progression(&cinfo);
    }
    jpeg_start_compress(&cinfo, TRUE);
    std::vector<uint8_t> row(static_cast<size_t>(width) * components);
    while (cinfo.next_scanline < cinfo.image_height) {
        for (int x = 0; x < width; ++x) {
            fill(x, static_cast<int>(cinfo.next_scanline), row.data() + x * components);
        }
        JSAMPROW rows[1] = {row.data()};
        jpeg_write_scanlines(&cinfo, rows, 1);
    }
    jpeg_finish_compress(&cinfo);
    jpeg_destroy_compress(&cinfo);
    std::string out(reinterpret_cast<const char*>(buffer), size);
    std::free(buffer);
    return out;
}

// A picture of one colour (blue, green, red), encoded as a colour JPEG.
inline std::string solidJpeg(int width, int height, uint8_t blue, uint8_t green, uint8_t red) {
    return encodeJpeg(width, height, JCS_EXT_BGR, [=](int, int, uint8_t* p) {
        p[0] = blue;
        p[1] = green;
        p[2] = red;
    });
}

// Rewrites the picture size in the first baseline frame header.
inline std::string withFrameSize(std::string jpeg, uint16_t width, uint16_t height) {
    const auto at = jpeg.find("\xFF\xC0");
    if (at != std::string::npos && at + 9 <= jpeg.size()) {
        jpeg[at + 5] = static_cast<char>(height >> 8);
        jpeg[at + 6] = static_cast<char>(height & 0xFF);
        jpeg[at + 7] = static_cast<char>(width >> 8);
        jpeg[at + 8] = static_cast<char>(width & 0xFF);
    }
    return jpeg;
}

} // namespace velmora::test
