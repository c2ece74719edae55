// Builds TIFF files for the tests with libtiff itself.
#pragma once

#include <tiffio.h>

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace velmora::test {

struct TiffPicture {
    uint32_t width = 0;
    uint32_t height = 0;
    uint16_t samplesPerPixel = 3;
    uint16_t bitsPerSample = 8;
    uint16_t photometric = PHOTOMETRIC_RGB;
    uint16_t compression = COMPRESSION_NONE;
    uint16_t orientation = ORIENTATION_TOPLEFT;
    uint32_t rowsPerStrip = 1;
    uint32_t tileSize = 0;           // square tiles of this size (a multiple of 16) when not 0
    std::vector<uint8_t> samples;    // rows in storage order, pixels interleaved, 16-bit samples
                                     // in the machine's byte order
    std::vector<uint16_t> colourMap; // palette pictures: all reds, then greens, then blues
    std::vector<uint8_t> iccProfile; // tag 34675 when not empty
    std::string xmp;                 // tag 700 when not empty
    uint16_t extraSample = 0;        // the kind of one extra sample (alpha) when not 0
};

inline bool writeTiff(const std::filesystem::path& path, const TiffPicture& picture) {
    TIFF* tiff = TIFFOpen(path.c_str(), "w");
    if (tiff == nullptr) {
        return false;
    }
    TIFFSetField(tiff, TIFFTAG_IMAGEWIDTH, picture.width);
    TIFFSetField(tiff, TIFFTAG_IMAGELENGTH, picture.height);
    TIFFSetField(tiff, TIFFTAG_BITSPERSAMPLE, picture.bitsPerSample);
    TIFFSetField(tiff, TIFFTAG_SAMPLESPERPIXEL, picture.samplesPerPixel);
    TIFFSetField(tiff, TIFFTAG_PHOTOMETRIC, picture.photometric);
    TIFFSetField(tiff, TIFFTAG_COMPRESSION, picture.compression);
    TIFFSetField(tiff, TIFFTAG_ORIENTATION, picture.orientation);
    TIFFSetField(tiff, TIFFTAG_PLANARCONFIG, PLANARCONFIG_CONTIG);
    if (picture.extraSample != 0) {
        TIFFSetField(tiff, TIFFTAG_EXTRASAMPLES, 1, &picture.extraSample);
    }
    if (!picture.colourMap.empty()) {
        const size_t entries = picture.colourMap.size() / 3;
        const uint16_t* map = picture.colourMap.data();
        TIFFSetField(tiff, TIFFTAG_COLORMAP, map, map + entries, map + 2 * entries);
    }
    if (!picture.iccProfile.empty()) {
        TIFFSetField(tiff, TIFFTAG_ICCPROFILE, static_cast<uint32_t>(picture.iccProfile.size()),
                     picture.iccProfile.data());
    }
    if (!picture.xmp.empty()) {
        TIFFSetField(tiff, TIFFTAG_XMLPACKET, static_cast<uint32_t>(picture.xmp.size()),
                     picture.xmp.data());
    }
    if (picture.compression == COMPRESSION_JPEG && picture.photometric == PHOTOMETRIC_YCBCR) {
        TIFFSetField(tiff, TIFFTAG_JPEGCOLORMODE, JPEGCOLORMODE_RGB); // RGB in, YCbCr stored
    }
    const size_t pixelBytes = size_t{picture.samplesPerPixel} * picture.bitsPerSample / 8;
    const size_t rowBytes = size_t{picture.width} * pixelBytes;
    bool ok = true;
    if (picture.tileSize != 0) {
        const uint32_t tile = picture.tileSize;
        TIFFSetField(tiff, TIFFTAG_TILEWIDTH, tile);
        TIFFSetField(tiff, TIFFTAG_TILELENGTH, tile);
        std::vector<uint8_t> buffer(size_t{tile} * tile * pixelBytes);
        for (uint32_t ty = 0; ty < picture.height && ok; ty += tile) {
            for (uint32_t tx = 0; tx < picture.width && ok; tx += tile) {
                std::fill(buffer.begin(), buffer.end(), 0);
                for (uint32_t y = ty; y < std::min(ty + tile, picture.height); ++y) {
                    for (uint32_t x = tx; x < std::min(tx + tile, picture.width); ++x) {
                        for (size_t s = 0; s < pixelBytes; ++s) {
                            buffer[((y - ty) * tile + (x - tx)) * pixelBytes + s] =
                                picture.samples[y * rowBytes + x * pixelBytes + s];
                        }
                    }
                }
                ok = TIFFWriteTile(tiff, buffer.data(), tx, ty, 0, 0) >= 0;
            }
        }
    } else {
        TIFFSetField(tiff, TIFFTAG_ROWSPERSTRIP, picture.rowsPerStrip);
        std::vector<uint8_t> row(rowBytes);
        for (uint32_t y = 0; y < picture.height && ok; ++y) {
            std::copy_n(picture.samples.begin() + y * rowBytes, rowBytes, row.begin());
            ok = TIFFWriteScanline(tiff, row.data(), y, 0) >= 0;
        }
    }
    TIFFClose(tiff);
    return ok;
}

} // namespace velmora::test
