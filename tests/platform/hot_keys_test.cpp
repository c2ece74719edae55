#include "platform/hot_keys.h"
#include "platform/tick_count.h"

#include <gtest/gtest.h>

#include <chrono>
#include <thread>

namespace velmora::platform {
namespace {

TEST(HotKeyTable, AKeyBelongsToOneIdAtATime) {
    HotKeyTable table;
    EXPECT_TRUE(table.registerHotKey(0, 0xC1, kModWin | kModKeyUp));
    EXPECT_FALSE(table.registerHotKey(5, 0xC1)) << "taken by id 0";
    EXPECT_TRUE(table.registerHotKey(1, 0xC2));
    ASSERT_TRUE(table.lookup(0xC1).has_value());
    EXPECT_EQ(table.lookup(0xC1)->id, 0);
    EXPECT_EQ(table.lookup(0xC1)->modifiers, kModWin | kModKeyUp);
    EXPECT_FALSE(table.lookup(0xC3).has_value());

    // The same id registered again moves to the new key and frees the old one.
    EXPECT_TRUE(table.registerHotKey(0, 0xC3));
    EXPECT_FALSE(table.lookup(0xC1).has_value());
    EXPECT_EQ(table.lookup(0xC3)->id, 0);
    EXPECT_FALSE(table.registerHotKey(0, 0xC2)) << "a failed move keeps the old key";
    EXPECT_EQ(table.lookup(0xC3)->id, 0);

    EXPECT_TRUE(table.unregisterHotKey(0));
    EXPECT_FALSE(table.unregisterHotKey(0));
    EXPECT_FALSE(table.lookup(0xC3).has_value());
    EXPECT_TRUE(table.registerHotKey(7, 0xC3)) << "free again after unregistering";
    EXPECT_TRUE(table.unregisterHotKey(1));
    EXPECT_TRUE(table.unregisterHotKey(7));
    EXPECT_TRUE(table.empty());
}

TEST(TickCount, CountsMillisecondsForward) {
    const uint32_t before = tickCount();
    std::this_thread::sleep_for(std::chrono::milliseconds(30));
    const uint32_t after = tickCount();
    EXPECT_GE(static_cast<uint32_t>(after - before), 30u);
}

} // namespace
} // namespace velmora::platform
