// Builds PNG files for the tests with libpng itself, in any colour type, depth and interlacing.
#pragma once

#include <png.h>

#include <csetjmp>
#include <cstdint>
#include <optional>
#include <vector>

namespace velmora::test {

struct PngPicture {
    uint32_t width = 0;
    uint32_t height = 0;
    int bitDepth = 8;
    int colorType = PNG_COLOR_TYPE_RGB;
    bool interlaced = false;
    std::vector<png_color> palette;
    std::vector<uint8_t> paletteAlpha;       // tRNS for palette pictures
    std::optional<png_color_16> transparent; // tRNS for grey and RGB pictures
    std::vector<std::vector<uint8_t>> rows;  // packed as the file stores them
    std::vector<uint8_t> iccProfile;         // iCCP when not empty
    std::vector<uint8_t> exif;               // eXIf (a bare TIFF structure) when not empty
    std::optional<double> fileGamma;         // gAMA
    std::vector<png_text> texts;             // keys and texts point at literals
};

namespace detail {

inline void appendBytes(png_structp png, png_bytep data, size_t length) {
    auto* out = static_cast<std::vector<uint8_t>*>(png_get_io_ptr(png));
    out->insert(out->end(), data, data + length);
}

inline void flushNothing(png_structp) {}

// Only trivially destructible locals: libpng long-jumps back here on an error.
inline bool writePng(png_structp png, png_infop info, const PngPicture& picture,
                     std::vector<uint8_t>* out) {
    if (setjmp(png_jmpbuf(png)) != 0) {
        return false;
    }
    png_set_write_fn(png, out, appendBytes, flushNothing);
    png_set_IHDR(png, info, picture.width, picture.height, picture.bitDepth, picture.colorType,
                 picture.interlaced ? PNG_INTERLACE_ADAM7 : PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    if (!picture.palette.empty()) {
        png_set_PLTE(png, info, picture.palette.data(), static_cast<int>(picture.palette.size()));
    }
    if (!picture.paletteAlpha.empty()) {
        png_set_tRNS(png, info, picture.paletteAlpha.data(),
                     static_cast<int>(picture.paletteAlpha.size()), nullptr);
    }
    if (picture.transparent) {
        png_set_tRNS(png, info, nullptr, 0, &*picture.transparent);
    }
    if (!picture.iccProfile.empty()) {
        png_set_iCCP(png, info, "picture", PNG_COMPRESSION_TYPE_BASE, picture.iccProfile.data(),
                     static_cast<png_uint_32>(picture.iccProfile.size()));
    }
    if (picture.fileGamma) {
        png_set_gAMA(png, info, *picture.fileGamma);
    }
    if (!picture.texts.empty()) {
        png_set_text(png, info, picture.texts.data(), static_cast<int>(picture.texts.size()));
    }
    if (!picture.exif.empty()) {
        png_set_eXIf_1(png, info, static_cast<png_uint_32>(picture.exif.size()),
                       const_cast<png_bytep>(picture.exif.data()));
    }
    png_write_info(png, info);
    const int passes = png_set_interlace_handling(png);
    for (int pass = 0; pass < passes; ++pass) {
        for (const auto& row : picture.rows) {
            png_write_row(png, row.data());
        }
    }
    png_write_end(png, info);
    return true;
}

} // namespace detail

inline std::vector<uint8_t> buildPng(const PngPicture& picture) {
    std::vector<uint8_t> out;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    if (!detail::writePng(png, info, picture, &out)) {
        out.clear();
    }
    png_destroy_write_struct(&png, &info);
    return out;
}

} // namespace velmora::test
