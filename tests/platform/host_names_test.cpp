#include "platform/host_names.h"

#include <gtest/gtest.h>

namespace velmora::platform {
namespace {

// Host bytes and device names map one to one; device names no host name gives map to nothing.
TEST(HostNames, HostBytesAndDeviceNamesMapOneToOne) {
    struct Case {
        std::string host;
        std::u16string device;
        std::u16string shown;
    };
    const Case cases[] = {
        {"\xE5\x86\x99.jpg", u"写.jpg", u"写.jpg"},
        // 写真 in Shift-JIS: its middle bytes happen to be well-formed UTF-8 (U+0290).
        {"\x8E\xCA\x90\x5E.jpg", u"\xDC8E\u0290^.jpg", u"\uFFFD\u0290^.jpg"},
        {"caf\xE9.png", u"caf\xDCE9.png", u"caf\uFFFD.png"},
        {"a\\b.gif", u"a\uF05Cb.gif", u"a\\b.gif"},
        {"two\nlines", u"two\nlines", u"two\nlines"},
        {"\xEF\x81\x9C", u"\xDCEF\xDC81\xDC9C", u"\uFFFD\uFFFD\uFFFD"}, // the stand-in itself
        {"a\xE5\x86", u"a\xDCE5\xDC86", u"a\uFFFD\uFFFD"},              // a cut-off sequence
    };
    for (const Case& c : cases) {
        EXPECT_EQ(deviceNameOf(c.host), c.device);
        EXPECT_EQ(hostNameOf(c.device), c.host);
        EXPECT_EQ(shownName(c.device), c.shown);
    }
    for (const std::u16string unlisted : {u"\xD800x", u"\xDCE5\xDC86\xDC99", u"\xDC5C"}) {
        EXPECT_FALSE(hostNameOf(unlisted));
    }
}

} // namespace
} // namespace velmora::platform
