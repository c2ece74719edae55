#include "ui/string_table.h"

#include <gtest/gtest.h>

namespace velmora::ui {
namespace {

TEST(StringTable, TextsKeepTheirLineBreaksAndPunctuation) {
    EXPECT_EQ(loadResourceString(StringId{1}), u"Velmora");
    EXPECT_EQ(loadResourceString(StringId{3}), u"VELMORA");
    EXPECT_EQ(loadResourceString(StringId{316}), u"イメージ作成失敗\n（メモリ不足?）");
    EXPECT_EQ(loadResourceString(StringId{319}), u"読込失敗");
    EXPECT_EQ(loadResourceString(StringId{40079}), u"ファイルの書込に失敗しました。");
}

TEST(StringTable, UnknownIdentifiersGiveEmptyText) {
    EXPECT_TRUE(loadResourceString(StringId{0}).empty());
    EXPECT_TRUE(loadResourceString(StringId{2}).empty());
    EXPECT_TRUE(loadResourceString(StringId{40089}).empty());
    EXPECT_TRUE(loadResourceString(StringId{-1}).empty());
}

} // namespace
} // namespace velmora::ui
