#include "codecs/bmp/bmp_reader.h"
#include "codecs/readers.h"

#include "bmp_builder.h"
#include "device_folder_fixture.h"

#include <gtest/gtest.h>

#include <array>
#include <cstring>
#include <string>
#include <vector>

namespace velmora::codecs {
namespace {

using test::bgrAt;
using test::BmpBuilder;
using Bgr = std::array<int, 3>;
constexpr int kFaulty = ui::str::kImageFaulty;
constexpr int kWriteFailed = ui::str::kWriteFailed;

class BmpRead : public test::DeviceFolderTest {
  protected:
    bool load(const std::string& bytes) { return loadBmp(image, put("p.bmp", bytes)); }
    image::DibImage image;
};

TEST_F(BmpRead, PalettedDepthsSkipRowPaddingAtOddWidths) {
    // Width 5 leaves padding in every depth's rows; bottom-up storage puts the first row last.
    const Bgr c0{1, 2, 3}, c1{40, 50, 60}, c2{70, 80, 90}, c3{200, 210, 220};
    auto withColors = [](BmpBuilder builder, int entries) {
        const Bgr colors[] = {{1, 2, 3}, {40, 50, 60}, {70, 80, 90}, {200, 210, 220}};
        for (int i = 0; i < entries; ++i) {
            builder.color(i, static_cast<uint8_t>(colors[i][0]), static_cast<uint8_t>(colors[i][1]),
                          static_cast<uint8_t>(colors[i][2]));
        }
        return builder;
    };
    struct Case {
        BmpBuilder file;
        std::vector<Bgr> bottom, top;
    };
    std::vector<Case> cases;
    cases.push_back({withColors(BmpBuilder(5, 2, 1), 2).row({0b10110'000}).row({0b01000'000}),
                     {c1, c0, c1, c1, c0},
                     {c0, c1, c0, c0, c0}});
    cases.push_back(
        {withColors(BmpBuilder(5, 2, 4), 4).row({0x12, 0x30, 0x10}).row({0x00, 0x00, 0x30}),
         {c1, c2, c3, c0, c1},
         {c0, c0, c0, c0, c3}});
    cases.push_back({withColors(BmpBuilder(5, 2, 8), 4).row({3, 2, 1, 0, 3}).row({1, 1, 2, 2, 0}),
                     {c3, c2, c1, c0, c3},
                     {c1, c1, c2, c2, c0}});
    for (auto& [file, bottom, top] : cases) {
        ASSERT_TRUE(load(file.bytes()));
        ASSERT_EQ(image.width(), 5);
        ASSERT_EQ(image.height(), 2);
        for (int x = 0; x < 5; ++x) {
            EXPECT_EQ(bgrAt(image, x, 1), bottom[x]) << "bottom x " << x;
            EXPECT_EQ(bgrAt(image, x, 0), top[x]) << "top x " << x;
        }
    }
    EXPECT_TRUE(boxes.shown.empty());
}

TEST_F(BmpRead, DirectColourDepths) {
    // 16 bits: 5-5-5 channels widened with rounding, bit 15 ignored.
    ASSERT_TRUE(
        load(BmpBuilder(6, 1, 16)
                 .row({0xFF, 0x7F, 0x1F, 0x00, 0x10, 0x00, 0xE0, 0x03, 0x00, 0x7C, 0x00, 0x80})
                 .bytes()));
    EXPECT_EQ(bgrAt(image, 0, 0), (Bgr{255, 255, 255}));
    EXPECT_EQ(bgrAt(image, 1, 0), (Bgr{255, 0, 0}));
    EXPECT_EQ(bgrAt(image, 2, 0), (Bgr{132, 0, 0}));
    EXPECT_EQ(bgrAt(image, 3, 0), (Bgr{0, 255, 0}));
    EXPECT_EQ(bgrAt(image, 4, 0), (Bgr{0, 0, 255}));
    EXPECT_EQ(bgrAt(image, 5, 0), (Bgr{0, 0, 0}));

    // 24 bits: bytes as they stand; 3 pixels leave 3 padding bytes in the stored row.
    ASSERT_TRUE(load(BmpBuilder(3, 2, 24)
                         .row({1, 2, 3, 4, 5, 6, 7, 8, 9})
                         .row({10, 11, 12, 13, 14, 15, 16, 17, 18})
                         .bytes()));
    EXPECT_EQ(bgrAt(image, 2, 1), (Bgr{7, 8, 9}));
    EXPECT_EQ(bgrAt(image, 0, 0), (Bgr{10, 11, 12}));

    // 32 bits: the fourth byte of every pixel is dropped.
    ASSERT_TRUE(load(BmpBuilder(2, 1, 32).row({1, 2, 3, 99, 4, 5, 6, 99}).bytes()));
    EXPECT_EQ(bgrAt(image, 0, 0), (Bgr{1, 2, 3}));
    EXPECT_EQ(bgrAt(image, 1, 0), (Bgr{4, 5, 6}));
}

TEST_F(BmpRead, FileMustHoldEveryRow) {
    const std::string oneByOne = BmpBuilder(1, 1, 24).row({9, 8, 7}).bytes();
    ASSERT_EQ(oneByOne.size(), 58u);
    EXPECT_TRUE(load(oneByOne));
    EXPECT_FALSE(load(oneByOne.substr(0, 57)));

    const std::string eightBit = BmpBuilder(3, 2, 8).row({0, 0, 0}).row({0, 0, 0}).bytes();
    ASSERT_EQ(eightBit.size(), 1086u);
    EXPECT_TRUE(load(eightBit));
    EXPECT_FALSE(load(eightBit.substr(0, 1085)));
    EXPECT_EQ(shownIds(), (std::vector<int>{kFaulty, kFaulty}));
}

TEST_F(BmpRead, RefusesWhatItDoesNotTakeWith322) {
    const std::string plain = BmpBuilder(2, 2, 24).row({}).row({}).bytes();
    std::string badSignature = plain;
    badSignature[0] = 'X';
    const std::string refused[] = {
        BmpBuilder(2, 2, 24).compression(1).row({}).row({}).bytes(),
        BmpBuilder(2, -2, 24).row({}).row({}).bytes(), // top-down
        BmpBuilder(0, 2, 24).row({}).row({}).bytes(),
        BmpBuilder(2, 2, 2).row({}).row({}).bytes(), // a depth that would only give black
        badSignature,
        plain.substr(0, 53),
        std::string(),
    };
    for (const auto& bytes : refused) {
        EXPECT_FALSE(load(bytes));
    }
    EXPECT_EQ(shownIds(), std::vector<int>(std::size(refused), kFaulty));

    image.reportErrors = false;
    EXPECT_FALSE(load(badSignature));
    EXPECT_EQ(boxes.shown.size(), std::size(refused));
}

TEST_F(BmpRead, HostileSizeFailsBeforeAllocating) {
    // 54 bytes of headers promising 60000 x 60000 pixels: refused from the file size alone.
    EXPECT_FALSE(load(BmpBuilder(60000, 60000, 24).bytes()));
    EXPECT_FALSE(image.hasPixels());
    // Row size times height would wrap a 64-bit product if multiplied carelessly.
    EXPECT_FALSE(load(BmpBuilder(0x7FFFFFFF, 0x7FFFFFFF, 32).bytes()));
    EXPECT_FALSE(image.hasPixels());
    EXPECT_EQ(shownIds(), (std::vector<int>{kFaulty, kFaulty}));
}

TEST_F(BmpRead, UnopenableFileFailsWithoutMessage) {
    EXPECT_FALSE(loadBmp(image, devicePath("missing.bmp")));
    std::filesystem::create_directory(dir.path() / "folder.bmp");
    EXPECT_FALSE(loadBmp(image, devicePath("folder.bmp")));
    EXPECT_TRUE(boxes.shown.empty());
}

TEST_F(BmpRead, MemoryDecodeMatchesFileDecode) {
    const std::string bytes = BmpBuilder(3, 1, 8).color(7, 1, 2, 3).row({7, 0, 7}).bytes();
    image::DibImage fromMemory;
    ASSERT_TRUE(bmp::decodeBmpFromMemory(fromMemory, reinterpret_cast<const uint8_t*>(bytes.data()),
                                         bytes.size()));
    ASSERT_TRUE(load(bytes));
    EXPECT_EQ(0, std::memcmp(fromMemory.bits(), image.bits(), 3 * 3));
    EXPECT_FALSE(bmp::decodeBmpFromMemory(fromMemory, nullptr, 0));
}

class BmpWrite : public test::DeviceFolderTest {
  protected:
    // A 5 x 3 image whose every pixel is distinct: blue x, green y, red 7.
    BmpWrite() {
        picture.create(5, 3);
        for (int y = 0; y < 3; ++y) {
            for (int x = 0; x < 5; ++x) {
                uint8_t* p = picture.row(y) + 3 * x;
                p[0] = static_cast<uint8_t>(x);
                p[1] = static_cast<uint8_t>(y);
                p[2] = 7;
            }
        }
    }
    image::DibImage picture;
};

TEST_F(BmpWrite, WritesBottomUp24BitFileThatReadsBack) {
    ASSERT_TRUE(saveBmp(picture, devicePath("out.bmp")));
    const std::string bytes = contents("out.bmp");
    ASSERT_EQ(bytes.size(), 3u * 16 + 54);
    EXPECT_EQ(bytes.substr(0, 2), "BM");
    auto le32 = [&](size_t at) {
        return static_cast<uint32_t>(
            static_cast<uint8_t>(bytes[at]) | static_cast<uint8_t>(bytes[at + 1]) << 8 |
            static_cast<uint8_t>(bytes[at + 2]) << 16 | static_cast<uint8_t>(bytes[at + 3]) << 24);
    };
    EXPECT_EQ(le32(2), 102u);
    EXPECT_EQ(le32(10), 54u);
    EXPECT_EQ(le32(14), 40u);
    EXPECT_EQ(le32(18), 5u);
    EXPECT_EQ(le32(22), 3u);
    EXPECT_EQ(bytes[28], 24);
    EXPECT_EQ(bytes[55], 2) << "first stored row is the bottom row (green = y = 2)";

    image::DibImage back;
    ASSERT_TRUE(loadBmp(back, devicePath("out.bmp")));
    for (int y = 0; y < 3; ++y) {
        EXPECT_EQ(0, std::memcmp(back.row(y), picture.row(y), 15)) << "row " << y;
    }
    EXPECT_EQ(files(), std::vector<std::string>{"out.bmp"}) << "no temporary left behind";
}

TEST_F(BmpWrite, FailuresShow40079AndKeepTheOldFile) {
    EXPECT_FALSE(saveBmp(picture, devicePath("no-such-folder\\out.bmp")));
    EXPECT_FALSE(std::filesystem::exists(dir.path() / "no-such-folder"));

    put("old.bmp", "previous contents");
    picture.create(200, 200); // 120 KB of rows
    {
        test::FileSizeLimit limit(4096);
        EXPECT_FALSE(saveBmp(picture, devicePath("old.bmp")));
    }
    EXPECT_EQ(contents("old.bmp"), "previous contents");
    EXPECT_EQ(files(), std::vector<std::string>{"old.bmp"});

    image::DibImage empty;
    EXPECT_FALSE(saveBmp(empty, devicePath("empty.bmp")));
    EXPECT_EQ(shownIds(), (std::vector<int>{kWriteFailed, kWriteFailed, kWriteFailed}));

    picture.reportErrors = false;
    EXPECT_FALSE(saveBmp(picture, devicePath("no-such-folder\\out.bmp")));
    EXPECT_EQ(boxes.shown.size(), 3u);
}

} // namespace
} // namespace velmora::codecs
