#include "codecs/jxl/jxl_decoder.h"
#include "tool_conformance.h"

#include <gtest/gtest.h>

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

} // namespace
} // namespace velmora::codecs
