// Pictures for the encoder and decoder tools of the format libraries: a PNG source the tests
// draw, the tool's output read back through the PNG reader.
#pragma once

#include "codecs/readers.h"
#include "device_folder_fixture.h"
#include "reference_decoder.h"
#include "tool_conformance.h"

#include <string>

namespace velmora::test {

struct SourcePicture {
    uint32_t width;
    uint32_t height;
    bool alpha = false;
    int depth = 8; // 8 or 16
};

// The ramp picture of the conformance tests, at the source's size, depth and alpha.
inline std::vector<uint8_t> sourcePng(const SourcePicture& source) {
    return rampPng({"source", static_cast<int>(source.width), static_cast<int>(source.height),
                    source.alpha, source.depth, "", 0});
}

// Makes a file with an encoder tool from a drawn PNG, and reads what the library's decoder tool
// makes of it. The commands are given with {in} and {out} standing for the host paths.
class ToolPictureTest : public ToolConformance {
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
