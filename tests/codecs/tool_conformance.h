// Conformance of a reader with a format library's own tools: a PNG made here is coded by the
// library's encoder tool, and the reader's picture of that file is compared with the PNG the
// library's decoder tool writes for it (read with the PNG reader: alpha stripped, 16-bit samples
// cut to their high byte).
#pragma once

#include "codecs/readers.h"
#include "device_folder_fixture.h"
#include "png_builder.h"
#include "reference_decoder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <string>

namespace velmora::test {

struct ToolCase {
    std::string name;
    int width;
    int height;
    bool alpha;
    int depth; // of the PNG given to the encoder: 8 or 16
    std::string encoderOptions;
    int tolerance;     // largest channel difference allowed
    bool jpeg = false; // the encoder is given the picture as a JPEG of quality 90
};

// Smooth ramps with a finer pattern over them, alpha varying across the picture.
inline PngPicture rampPicture(const ToolCase& c) {
    PngPicture picture;
    picture.width = static_cast<uint32_t>(c.width);
    picture.height = static_cast<uint32_t>(c.height);
    picture.bitDepth = c.depth;
    picture.colorType = c.alpha ? PNG_COLOR_TYPE_RGB_ALPHA : PNG_COLOR_TYPE_RGB;
    const int channels = c.alpha ? 4 : 3;
    const int top = (1 << c.depth) - 1;
    for (int y = 0; y < c.height; ++y) {
        std::vector<uint8_t> row;
        for (int x = 0; x < c.width; ++x) {
            const int values[4] = {x * top / c.width, y * top / c.height,
                                   ((x * 7 + y * 13) % 64) * top / 63,
                                   (x + y) * top / (c.width + c.height)};
            for (int i = 0; i < channels; ++i) {
                if (c.depth == 16) {
                    row.push_back(static_cast<uint8_t>(values[i] >> 8));
                }
                row.push_back(static_cast<uint8_t>(values[i] & 0xFF));
            }
        }
        picture.rows.push_back(std::move(row));
    }
    return picture;
}

inline std::vector<uint8_t> rampPng(const ToolCase& c) {
    return buildPng(rampPicture(c));
}

using Reader = std::function<codecs::LoadResult(image::DibImage&, std::u16string_view)>;
// A tool's command line for an input file, an output file and the case's encoder options.
using ToolCommand =
    std::function<std::string(const std::string&, const std::string&, const std::string&)>;

class ToolConformance : public DeviceFolderTest {
  protected:
    // Codes the case's picture with encoder, decodes it with decoder and compares what reader
    // makes of the coded file with the decoder's picture.
    void expectLikeTool(const ToolCase& c, const ToolCommand& encoder, const ToolCommand& decoder,
                        const std::string& ending, const Reader& reader);
    // Codes a 64 x 48 picture with encoder and checks the cause reader gives for an empty file, a
    // PNG, the coded file cut to its first headerBytes and to half (halfCause), a missing file and
    // a folder. Returns the whole coded file.
    std::vector<uint8_t> expectRefusals(const ToolCommand& encoder, const std::string& options,
                                        const std::string& ending, const Reader& reader,
                                        size_t headerBytes, codecs::LoadCause halfCause);
};

inline void ToolConformance::expectLikeTool(const ToolCase& c, const ToolCommand& encoder,
                                            const ToolCommand& decoder, const std::string& ending,
                                            const Reader& reader) {
    SCOPED_TRACE(c.name);
    const std::vector<uint8_t> source = rampPng(c);
    put("in.png", {source.begin(), source.end()});
    std::string input = "in.png";
    if (c.jpeg) {
        image::DibImage picture;
        ASSERT_TRUE(codecs::loadPng(picture, devicePath(input)));
        input = "in.jpg";
        ASSERT_TRUE(codecs::saveJpeg(picture, devicePath(input), 90));
    }
    const std::string folder = dir.path().string() + "/";
    const std::string coded = folder + "coded" + ending;
    ASSERT_TRUE(runQuietly(encoder(folder + input, coded, c.encoderOptions)));
    ASSERT_TRUE(runQuietly(decoder(coded, folder + "tool.png", "")));
    image::DibImage ours;
    image::DibImage tools;
    ASSERT_TRUE(reader(ours, devicePath("coded" + ending)));
    ASSERT_TRUE(codecs::loadPng(tools, devicePath("tool.png")));
    const int difference = largestChannelDifference(ours, tools);
    EXPECT_GE(difference, 0) << "sizes differ";
    EXPECT_LE(difference, c.tolerance);
}

inline std::vector<uint8_t>
ToolConformance::expectRefusals(const ToolCommand& encoder, const std::string& options,
                                const std::string& ending, const Reader& reader, size_t headerBytes,
                                codecs::LoadCause halfCause) {
    using codecs::LoadCause;
    const std::vector<uint8_t> png = rampPng({"picture", 64, 48, false, 8, "", 0});
    put("in.png", {png.begin(), png.end()});
    const std::string folder = dir.path().string() + "/";
    EXPECT_TRUE(runQuietly(encoder(folder + "in.png", folder + "whole" + ending, options)));
    const std::string whole = contents("whole" + ending);
    put("empty" + ending, "");
    put("png" + ending, {png.begin(), png.end()});
    put("half" + ending, whole.substr(0, whole.size() / 2));
    put("header" + ending, whole.substr(0, headerBytes));
    std::filesystem::create_directory(dir.path() / ("folder" + ending));
    const std::pair<std::string, LoadCause> cases[] = {
        {"empty", LoadCause::Faulty},
        {"png", LoadCause::Faulty},
        {"half", halfCause},
        {"header", LoadCause::Faulty},
        {"missing", LoadCause::CannotOpen},
        {"folder", LoadCause::CannotOpen},
    };
    for (const auto& [name, cause] : cases) {
        image::DibImage image;
        EXPECT_EQ(reader(image, devicePath(name + ending)).cause, cause) << name;
    }
    return {whole.begin(), whole.end()};
}

} // namespace velmora::test
