// Pictures for the encoder and decoder tools of the format libraries: a PNG source the tests
// draw, the tool's output read back through the PNG reader.
#pragma once

#include "codecs/readers.h"
#include "device_folder_fixture.h"
#include "png_builder.h"
#include "reference_decoder.h"

#include <string>

namespace velmora::test {

struct SourcePicture {
    uint32_t width;
    uint32_t height;
    bool alpha = false;
    int depth = 8; // 8 or 16
};

// Colours that change in every channel from pixel to pixel; alpha runs from 0 to opaque.
inline std::vector<uint8_t> sourcePng(const SourcePicture& source) {
    PngPicture picture;
    picture.width = source.width;
    picture.height = source.height;
    picture.bitDepth = source.depth;
    picture.colorType = source.alpha ? PNG_COLOR_TYPE_RGB_ALPHA : PNG_COLOR_TYPE_RGB;
    const uint32_t channels = source.alpha ? 4 : 3;
    const uint32_t bytes = static_cast<uint32_t>(source.depth) / 8;
    for (uint32_t y = 0; y < source.height; ++y) {
        std::vector<uint8_t> row(size_t{source.width} * channels * bytes);
        for (uint32_t x = 0; x < source.width; ++x) {
            for (uint32_t c = 0; c < channels; ++c) {
                const uint32_t value = c == 3 ? x * 65535 / std::max(1u, source.width - 1)
                                              : (x * 37 + y * 101 + c * 53) * 2654435761u % 65536;
                for (uint32_t b = 0; b < bytes; ++b) {
                    row[((size_t{x} * channels + c) * bytes) + b] =
                        static_cast<uint8_t>(value >> (8 - 8 * b));
                }
            }
        }
        picture.rows.push_back(std::move(row));
    }
    return buildPng(picture);
}

// Makes a file with an encoder tool from a drawn PNG, and reads what the library's decoder tool
// makes of it. The commands are given with {in} and {out} standing for the host paths.
class ToolPictureTest : public DeviceFolderTest {
  protected:
    std::string hostPath(const std::string& name) const { return (dir.path() / name).string(); }

    static std::string withPaths(std::string command, const std::string& in,
                                 const std::string& out) {
        command.replace(command.find("{in}"), 4, in);
        command.replace(command.find("{out}"), 5, out);
        return command;
    }

    // Encodes the source into name; false when the tool failed.
    bool encode(const SourcePicture& source, const std::string& command, const std::string& name) {
        const auto png = sourcePng(source);
        put(name + ".source.png", std::string(png.begin(), png.end()));
        return runQuietly(withPaths(command, hostPath(name + ".source.png"), hostPath(name)));
    }

    // The decoder tool's 8-bit PNG of name, read into reference.
    bool decodeWithTool(const std::string& command, const std::string& name,
                        image::DibImage& reference) {
        return runQuietly(withPaths(command, hostPath(name), hostPath(name + ".tool.png"))) &&
               static_cast<bool>(codecs::loadPng(reference, devicePath(name + ".tool.png")));
    }
};

} // namespace velmora::test
