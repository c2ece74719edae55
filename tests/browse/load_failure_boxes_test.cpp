// Which boxes a failed load shows, per kind of file: the reader's own message first (if any),
// then the load failure naming the file. The same whether the picture is loaded on the spot or
// after a look-ahead worker failed on it.
#include "codecs/gif_builder.h"
#include "codecs/jpeg_builder.h"
#include "navigator_fixture.h"
#include "ui/string_table.h"

#include <gtest/gtest.h>

#include <optional>

namespace velmora::test {
namespace {

std::string gifWithoutImage() {
    return GifBuilder().screen(8, 8, gifTestPalette(2)).trailer().bytes();
}

std::string gifWithHugeScreen() {
    GifFrame onePixel;
    onePixel.width = onePixel.height = 1;
    return GifBuilder()
        .screen(60000, 60000, gifTestPalette(2))
        .descriptor(onePixel)
        .byte(2)
        .raw(std::string("\x02\x4C\x01\x00", 4))
        .trailer()
        .bytes();
}

TEST_F(NavigatorTest, EachKindOfFailedFileShowsItsReaderMessageThenTheLoadFailure) {
    struct Case {
        const char* name;
        std::optional<std::string> bytes;          // none: listed but not on disk
        std::optional<ui::StringId> readerMessage; // none: the load failure alone
    };
    const Case cases[] = {
        {"gone.bmp", std::nullopt, std::nullopt},
        {"gone.png", std::nullopt, ui::str::kImageFaulty},
        {"text.png", "not a picture", ui::str::kImageFaulty},
        {"text.bmp", "BM not really a bitmap", ui::str::kImageFaulty},
        {"text.jpg", "not a picture", std::nullopt},
        {"huge.jpg", withFrameSize(solidJpeg(8, 8, 1, 2, 3), 60000, 60000),
         ui::str::kImageCreateFailed},
        {"text.tif", "not a picture", std::nullopt},
        {"noimage.gif", gifWithoutImage(), ui::str::kImageFaulty},
        {"hugescreen.gif", gifWithHugeScreen(), ui::str::kImageCreateFailed},
        {"text.gif", "not a picture", std::nullopt},
        {"text.mag", "not a picture", std::nullopt},
        {"notes.txt", "not a picture", std::nullopt},
    };
    const std::u16string shown = picture("pics/shown.bmp", 10);
    for (const Case& c : cases) {
        const std::string relative = std::string("pics/") + c.name;
        const std::u16string path =
            c.bytes ? file(relative, *c.bytes) : u"\\pics\\" + util::toUtf16(c.name);
        std::vector<std::u16string> expected;
        if (c.readerMessage) {
            expected.push_back(ui::loadResourceString(*c.readerMessage));
        }
        expected.push_back(u"読込失敗:\n" + util::toUtf16(c.name));
        for (const bool ahead : {false, true}) {
            settings.usePreload = ahead;
            useList({shown, path});
            navigator.showCurrent();
            navigator.stopLookAhead(); // a worker has failed on the file silently
            boxes.shown.clear();
            navigator.showNext();
            navigator.stopLookAhead();
            std::vector<std::u16string> texts;
            for (const ui::MessageRequest& box : boxes.shown) {
                texts.push_back(box.text);
            }
            EXPECT_EQ(texts, expected) << c.name << (ahead ? " after a look-ahead" : "");
            EXPECT_FALSE(host.busy);
        }
    }
}

} // namespace
} // namespace velmora::test
