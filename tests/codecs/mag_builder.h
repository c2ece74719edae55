// Makes MAG files for the tests: the file layout from explicit flag lines and pixel data, and a
// small encoder that picks the flags from a picture.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace velmora::test {

struct MagColor {
    uint8_t green = 0, red = 0, blue = 0; // the file's order
};

// Flag copy positions: dx bytes to the left, dy lines up, for flags 1 to 15.
inline constexpr std::array<int, 16> kMagCopyDx{0, 2, 4, 8, 0, 2, 0, 2, 4, 0, 2, 4, 0, 2, 4, 0};
inline constexpr std::array<int, 16> kMagCopyDy{0, 0, 0, 0, 1, 1, 2, 2, 2, 4, 4, 4, 8, 8, 8, 16};

struct MagFile {
    bool colors256 = false;
    int screenModeExtra = 0; // other screen-mode bits, e.g. 0x01 for the 200-line mode
    int left = 0, top = 0, right = 0, bottom = 0;
    std::string comment = "velmora test";
    std::vector<MagColor> palette;               // padded with black to 16 or 256
    std::vector<std::vector<uint8_t>> flagLines; // per line, the flag bytes as they apply
    std::vector<uint8_t> pixelData;              // 2-byte units for the zero flag nibbles
};

inline void magPutLe16(std::string& out, size_t at, int value) {
    out[at] = static_cast<char>(value & 0xFF);
    out[at + 1] = static_cast<char>((value >> 8) & 0xFF);
}

inline void magPutLe32(std::string& out, size_t at, uint32_t value) {
    magPutLe16(out, at, static_cast<int>(value & 0xFFFF));
    magPutLe16(out, at + 2, static_cast<int>(value >> 16));
}

// Header offset of each field, for tests that break one of them.
inline constexpr size_t kMagFlagAOffsetField = 12;
inline constexpr size_t kMagFlagBOffsetField = 16;
inline constexpr size_t kMagPixelOffsetField = 24;

// Writes the file; headerAt receives the file offset of the 32-byte header.
inline std::string buildMag(const MagFile& mag, size_t* headerAt = nullptr) {
    // Flag A: one bit a flag byte, set where the byte differs from the line above; flag B: the
    // XOR of those bytes.
    std::string flagA, flagB;
    int bit = 0;
    std::vector<uint8_t> previous(mag.flagLines.empty() ? 0 : mag.flagLines[0].size(), 0);
    for (const auto& line : mag.flagLines) {
        for (size_t j = 0; j < line.size(); ++j) {
            if (bit == 0) {
                flagA.push_back('\0');
            }
            if (line[j] != previous[j]) {
                flagA.back() = static_cast<char>(flagA.back() | (0x80 >> bit));
                flagB.push_back(static_cast<char>(line[j] ^ previous[j]));
            }
            bit = (bit + 1) & 7;
        }
        previous = line;
    }
    std::string out = "MAKI02  " + mag.comment + "\x1A";
    const size_t header = out.size();
    if (headerAt != nullptr) {
        *headerAt = header;
    }
    out.append(32, '\0');
    out[header + 3] = static_cast<char>((mag.colors256 ? 0x80 : 0) | mag.screenModeExtra);
    magPutLe16(out, header + 4, mag.left);
    magPutLe16(out, header + 6, mag.top);
    magPutLe16(out, header + 8, mag.right);
    magPutLe16(out, header + 10, mag.bottom);
    const size_t colors = mag.colors256 ? 256 : 16;
    for (size_t i = 0; i < colors; ++i) {
        const MagColor c = i < mag.palette.size() ? mag.palette[i] : MagColor{};
        out.push_back(static_cast<char>(c.green));
        out.push_back(static_cast<char>(c.red));
        out.push_back(static_cast<char>(c.blue));
    }
    const auto relative = [&] { return static_cast<uint32_t>(out.size() - header); };
    magPutLe32(out, header + kMagFlagAOffsetField, relative());
    out += flagA;
    magPutLe32(out, header + kMagFlagBOffsetField, relative());
    magPutLe32(out, header + 20, static_cast<uint32_t>(flagB.size()));
    out += flagB;
    magPutLe32(out, header + kMagPixelOffsetField, relative());
    magPutLe32(out, header + 28, static_cast<uint32_t>(mag.pixelData.size()));
    out.append(mag.pixelData.begin(), mag.pixelData.end());
    return out;
}

// Fills flagLines and pixelData of mag from picture bytes as they are stored (rowBytes bytes a
// line, 4 per flag byte, top line first): each unit takes the first copy position that holds
// the same two bytes inside the picture, or else comes from the pixel data.
inline void magEncode(MagFile& mag, const std::vector<std::vector<uint8_t>>& lines) {
    mag.flagLines.clear();
    mag.pixelData.clear();
    for (size_t y = 0; y < lines.size(); ++y) {
        const auto& line = lines[y];
        std::vector<uint8_t> flags(line.size() / 4, 0);
        for (size_t unit = 0; unit < line.size() / 2; ++unit) {
            const size_t x = unit * 2;
            int chosen = 0;
            for (int k = 1; k < 16 && chosen == 0; ++k) {
                const int dx = kMagCopyDx[k], dy = kMagCopyDy[k];
                if (static_cast<int>(y) < dy || static_cast<int>(x) < dx) {
                    continue;
                }
                const auto& source = lines[y - dy];
                if (source[x - dx] == line[x] && source[x - dx + 1] == line[x + 1]) {
                    chosen = k;
                }
            }
            if (chosen == 0) {
                mag.pixelData.push_back(line[x]);
                mag.pixelData.push_back(line[x + 1]);
            }
            flags[unit / 2] |= static_cast<uint8_t>(unit % 2 == 0 ? chosen << 4 : chosen);
        }
        mag.flagLines.push_back(flags);
    }
}

} // namespace velmora::test
