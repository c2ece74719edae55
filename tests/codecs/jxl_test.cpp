#include "codecs/jxl/jxl_decoder.h"
#include "tool_conformance.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace velmora::codecs {
namespace {

using Jxl = test::ToolConformance;

std::string cjxl(const std::string& in, const std::string& out, const std::string& options) {
    return "cjxl " + in + " " + out + " " + options;
}

std::string djxl(const std::string& in, const std::string& out, const std::string&) {
    return "djxl " + in + " " + out;
}

// djxl writes 8-bit pictures with the library's own rounding to 8 bits, as the reader asks for:
// exact. A 16-bit picture it writes as a 16-bit PNG whose high byte the PNG reader keeps, while
// the library rounds for the reader: within 1. (Its --bits_per_sample=8 writes 16-bit samples
// under an 8-bit header, so it cannot serve.)
TEST_F(Jxl, DecodesAsDjxlDoes) {
    const test::ToolCase cases[] = {
        {"lossy", 64, 48, false, 8, "-d 1.5", 0},
        {"lossless", 33, 17, false, 8, "-d 0", 0},
        {"alpha", 40, 30, true, 8, "-d 1", 0},
        {"lossless alpha", 21, 5, true, 8, "-d 0", 0},
        {"1x1", 1, 1, false, 8, "-d 1", 0},
        {"1x7", 1, 7, false, 8, "-d 1", 0},
        {"4097x3", 4097, 3, false, 8, "-d 1", 0},
        {"16-bit", 48, 32, false, 16, "-d 1", 1},
        {"16-bit lossless", 19, 11, false, 16, "-d 0", 1},
        {"recompressed JPEG", 50, 40, false, 8, "--lossless_jpeg=1", 0, true},
    };
    for (const auto& c : cases) {
        expectLikeTool(c, cjxl, djxl, ".jxl", loadJxl);
    }
}

// A file libjxl does not take, or that ends before its picture, is faulty; a picture over the
// pixel limit is refused before decoding; a missing file or a folder cannot be opened.
TEST_F(Jxl, RefusalsNameTheirCause) {
    const test::ToolCase picture{"picture", 64, 48, false, 8, "", 0};
    const std::vector<uint8_t> png = test::rampPng(picture);
    put("in.png", {png.begin(), png.end()});
    const std::string folder = dir.path().string() + "/";
    ASSERT_TRUE(test::runQuietly(cjxl(folder + "in.png", folder + "whole.jxl", "-d 1")));
    const std::string whole = contents("whole.jxl");
    put("empty.jxl", "");
    put("png.jxl", {png.begin(), png.end()});
    put("half.jxl", whole.substr(0, whole.size() / 2));
    put("header.jxl", whole.substr(0, 12));
    std::filesystem::create_directory(dir.path() / "folder.jxl");
    const std::pair<const char*, LoadCause> cases[] = {
        {"empty.jxl", LoadCause::Faulty},       {"png.jxl", LoadCause::Faulty},
        {"half.jxl", LoadCause::Faulty},        {"header.jxl", LoadCause::Faulty},
        {"missing.jxl", LoadCause::CannotOpen}, {"folder.jxl", LoadCause::CannotOpen},
    };
    for (const auto& [name, cause] : cases) {
        image::DibImage image;
        EXPECT_EQ(loadJxl(image, devicePath(name)).cause, cause) << name;
    }
    image::DibImage image;
    const std::vector<uint8_t> bytes(whole.begin(), whole.end());
    EXPECT_EQ(jxl::decodeJxl(bytes, image, {.maxPixels = 64 * 48 - 1}).cause, LoadCause::TooLarge);
    EXPECT_TRUE(jxl::decodeJxl(bytes, image, {.maxPixels = 64 * 48}));
}

} // namespace
} // namespace velmora::codecs
