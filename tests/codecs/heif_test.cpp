#include "codecs/heif/heif_decoder.h"
#include "tool_conformance.h"

#include <gtest/gtest.h>

namespace velmora::codecs {
namespace {

using Heif = test::ToolConformance;

std::string heifEnc(const std::string& in, const std::string& out, const std::string& options) {
    return "heif-enc " + options + " " + in + " -o " + out;
}

std::string heifConvert(const std::string& in, const std::string& out, const std::string&) {
    return "heif-convert " + in + " " + out;
}

// heif-convert asks libheif for the same interleaved 8-bit RGB (RGBA with alpha, whose colour
// channels libheif converts alike), so 8-bit pictures match exactly. For 10 bits it writes a
// 16-bit PNG whose high byte the PNG reader keeps, while the reader rounds: within 1.
TEST_F(Heif, DecodesAsHeifConvertDoes) {
    const test::ToolCase cases[] = {
        {"lossy", 64, 48, false, 8, "-q 50", 0},
        {"lossless", 33, 17, false, 8, "-L -p chroma=444", 0},
        {"alpha", 40, 30, true, 8, "-q 60", 0},
        {"1x1", 1, 1, false, 8, "-q 70", 0},
        {"1x7", 1, 7, false, 8, "-q 70", 0},
        {"4097x3", 4097, 3, false, 8, "-q 70", 0},
        {"10-bit", 48, 32, false, 16, "-q 60 -b 10", 1},
        {"10-bit alpha", 31, 9, true, 16, "-q 60 -b 10", 1},
    };
    for (const auto& c : cases) {
        expectLikeTool(c, heifEnc, heifConvert, ".heic", loadHeif);
    }
}

} // namespace
} // namespace velmora::codecs
