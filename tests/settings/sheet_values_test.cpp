#include "settings/sheet_values.h"

#include <gtest/gtest.h>

namespace velmora::settings {
namespace {

TEST(SheetValuesTest, AmountsAreWholeNumbersFromOneTo999) {
    const struct {
        std::u16string_view text;
        std::optional<int32_t> amount;
    } cases[] = {
        {u"999", 999},        {u"1", 1},
        {u" 42\t", 42},       {u"+7", 7},
        {u"0", {}},           {u"1000", {}},
        {u"-5", {}},          {u"abc", {}},
        {u"12a", {}},         {u"", {}},
        {u"-", {}},           {u"1 2", {}},
        {u"99999999999", {}}, {u"-99999999999", {}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(parseAmount(c.text), c.amount) << std::string(c.text.begin(), c.text.end());
    }
}

TEST(SheetValuesTest, UpDownWrapsAtTheEnds) {
    EXPECT_EQ(stepAmount(32, 1), 33);
    EXPECT_EQ(stepAmount(999, 1), 1);
    EXPECT_EQ(stepAmount(1, -1), 999);
    EXPECT_EQ(stepAmount(995, 10), 6);
    EXPECT_EQ(stepAmount(3, -5), 997);
}

TEST(SheetValuesTest, IconValueSplitsIntoFileAndIndex) {
    const struct {
        std::u16string_view value;
        std::u16string file;
        int32_t index;
    } cases[] = {
        {u"\\Windows\\shell.dll, -10", u"\\Windows\\shell.dll", -10},
        {u"\"\\Windows\\shell.dll\", -10", u"\\Windows\\shell.dll", -10},
        {u" '\\A b.dll'\t,\t'3' ", u"\\A b.dll", 3},
        {u"\\x.ico,7,8", u"\\x.ico", 7}, // only the first comma splits
        {u"\"\",2", u"\"\"", 2},         // two characters are kept as they are
        {u",5", u"", 5},                 // no file: the default icon
        {u"\\x.ico,abc", u"\\x.ico", 0},
        {u"\\x.ico,-3z", u"\\x.ico", -3},
    };
    for (const auto& c : cases) {
        const auto location = parseIconLocation(c.value);
        ASSERT_TRUE(location.has_value());
        EXPECT_EQ(location->file, c.file);
        EXPECT_EQ(location->index, c.index);
    }
    EXPECT_FALSE(parseIconLocation(u"\\Windows\\shell.dll").has_value());
    EXPECT_FALSE(parseIconLocation(u"").has_value());
}

} // namespace
} // namespace velmora::settings
