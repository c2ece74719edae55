#include "edit/edit_list.h"

#include "edit/filter.h"
#include "edit/tone.h"
#include "edit/transform.h"
#include "edit_pictures.h"

#include <gtest/gtest.h>

namespace velmora::edit {
namespace {

TEST(EditListTest, RefusesWithAReasonNamingTheOperation) {
    struct Case {
        const char* list;
        const char* named; // part of the reason
    };
    const Case cases[] = {
        {"", "empty edit list"},
        {"grey,", "empty operation"},
        {"grey,,negative", "empty operation"},
        {"spin", "spin"},
        {"grey=3", "grey=3"},
        {"resize", "resize"},
        {"resize=0x10", "resize=0x10"},
        {"resize=10x5001", "resize=10x5001"},
        {"resize=5001", "resize=5001"},
        {"resize=10x", "resize=10x"},
        {"resize=-10", "resize=-10"},
        {"resize=10x10x", "resize=10x10x"},
        {"trim=10x10", "trim=10x10"},
        {"trim=10x10+1", "trim=10x10+1"},
        {"trim=-1x10+1+1", "trim=-1x10+1+1"},
        {"trim=10x10+1+1+", "trim=10x10+1+1+"},
        {"brightness=0", "brightness=0"},
        {"brightness=255", "brightness=255"},
        {"contrast=200", "contrast=200"},
        {"threshold", "threshold"},
        {"threshold=12a", "threshold=12a"},
        {"threshold=99999999999", "threshold=99999999999"},
        {"Grey", "Grey"},
    };
    for (const Case& c : cases) {
        const ParsedEditList parsed = parseEditList(c.list);
        EXPECT_TRUE(parsed.operations.empty()) << c.list;
        EXPECT_NE(parsed.error.find(c.named), std::string::npos) << c.list << ": " << parsed.error;
        EXPECT_EQ(parsed.error.find('\n'), std::string::npos);
    }
}

TEST(EditListTest, ReadsValues) {
    const ParsedEditList parsed = parseEditList(
        "resize=5000x1,resize=1,trim=3x4+5-6,trim=0x0-1+2,brightness=254,contrast=1,threshold=1");
    ASSERT_EQ(parsed.error, "");
    ASSERT_EQ(parsed.operations.size(), 7u);
    const auto values = [&](size_t i) {
        const auto& v = parsed.operations[i].values;
        return std::vector<int32_t>(v, v + 4);
    };
    EXPECT_EQ(parsed.operations[0].kind, EditKind::Resize);
    EXPECT_EQ(values(0), (std::vector<int32_t>{5000, 1, 0, 0}));
    EXPECT_EQ(parsed.operations[1].kind, EditKind::ResizeKeepRatio);
    EXPECT_EQ(values(1), (std::vector<int32_t>{1, 0, 0, 0}));
    EXPECT_EQ(parsed.operations[2].kind, EditKind::Trim);
    EXPECT_EQ(values(2), (std::vector<int32_t>{3, 4, 5, -6}));
    EXPECT_EQ(values(3), (std::vector<int32_t>{0, 0, -1, 2}));
    EXPECT_EQ(values(4)[0], 254);
    EXPECT_EQ(values(5)[0], 1);
    EXPECT_EQ(parsed.operations[6].kind, EditKind::Threshold);
}

TEST(EditListTest, AChainEqualsTheOperationsRunOneByOne) {
    image::DibImage direct, listed;
    test::makePattern(direct, 31, 17);
    test::makePattern(listed, 31, 17);

    ASSERT_TRUE(rotateLeft(direct));
    flipHorizontal(direct);
    ASSERT_TRUE(resize(direct, 40, keepRatioHeight(40, direct.width(), direct.height())));
    ASSERT_TRUE(trim(direct, {0, 2, 30, 40}));
    brightness(direct, 120);
    contrast(direct, 150);
    ASSERT_TRUE(sharpen(direct));
    ASSERT_TRUE(emboss(direct));
    ASSERT_TRUE(blur(direct));
    grey(direct);
    negative(direct);
    flipVertical(direct);
    ASSERT_TRUE(rotateRight(direct));
    ASSERT_TRUE(resize(direct, 20, 10));
    threshold(direct, 90);

    const ParsedEditList parsed = parseEditList(
        "rotate-left,flip-horizontal,resize=40,trim=30x40-0+2,brightness=120,contrast=150,"
        "sharpen,emboss,blur,grey,negative,flip-vertical,rotate-right,resize=20x10,threshold=90");
    ASSERT_EQ(parsed.error, "");
    EXPECT_EQ(applyEditList(listed, parsed.operations), "");
    EXPECT_EQ(test::snapshot(listed), test::snapshot(direct));
}

TEST(EditListTest, EmptyTrimLeavesThePictureAndAFailedResizeIsNamed) {
    image::DibImage original, picture;
    test::makePattern(original, 8, 8);
    test::makePattern(picture, 8, 8);
    EXPECT_EQ(applyEditList(picture, parseEditList("trim=5x5+8+0,trim=0x3+1+1").operations), "");
    EXPECT_EQ(test::snapshot(picture), test::snapshot(original));

    // A keep-ratio height of 0 (80 x 8 to width 1) cannot be made.
    ASSERT_TRUE(resize(picture, 80, 8));
    const std::string reason = applyEditList(picture, parseEditList("grey,resize=1").operations);
    EXPECT_NE(reason.find("resize=1"), std::string::npos) << reason;
    EXPECT_EQ(picture.width(), 80);
}

} // namespace
} // namespace velmora::edit
