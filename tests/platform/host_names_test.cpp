#include "platform/device_fs.h"
#include "platform/host_names.h"
#include "platform/network_connections.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

namespace velmora::platform {
namespace {

namespace fs = std::filesystem;

// Names a memory card or an archive can bring: each lists under one device name, which reaches
// that very file again and is written back as the same bytes.
TEST(HostNames, EveryHostNameRoundTripsThroughItsDeviceName) {
    const std::string kanji = "\xE5\x86\x99"; // 写
    struct Case {
        const char* what;
        std::string host;
        std::u16string device;
        std::u16string shown;
    };
    const Case cases[] = {
        {"UTF-8", kanji + ".jpg", u"写.jpg", u"写.jpg"},
        // 写真 in Shift-JIS: its middle bytes happen to be well-formed UTF-8 (U+0290).
        {"Shift-JIS", "\x8E\xCA\x90\x5E.jpg", u"\xDC8E\u0290^.jpg", u"\uFFFD\u0290^.jpg"},
        {"Latin-1", "caf\xE9.png", u"caf\xDCE9.png", u"caf\uFFFD.png"},
        {"backslash", "a\\b.gif", u"a\uF05Cb.gif", u"a\\b.gif"},
        {"newline", "two\nlines.bmp", u"two\nlines.bmp", u"two\nlines.bmp"},
        {"stand-in itself", "\xEF\x81\x9C.jpg", u"\xDCEF\xDC81\xDC9C.jpg",
         u"\uFFFD\uFFFD\uFFFD.jpg"},
        {"cut-off sequence", "a\xE5\x86", u"a\xDCE5\xDC86", u"a\uFFFD\uFFFD"},
        {"255 bytes", std::string(85 * 3 - 4, 'x') + ".jpg",
         std::u16string(85 * 3 - 4, u'x') + u".jpg", std::u16string(85 * 3 - 4, u'x') + u".jpg"},
    };
    test::TempDir dir;
    setDeviceRoot(dir.path());
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(deviceNameOf(c.host), c.device);
        EXPECT_EQ(hostNameOf(c.device), c.host);
        EXPECT_EQ(shownName(c.device), c.shown);

        std::ofstream(dir.path() / c.host) << c.what;
        const auto listed = findFiles(u"\\*.*");
        ASSERT_TRUE(listed);
        EXPECT_TRUE(std::any_of(listed->begin(), listed->end(),
                                [&](const FindEntry& e) { return e.name == c.device; }));
        EXPECT_EQ(toHostPath(u"\\" + c.device), dir.path() / c.host);
        EXPECT_EQ(toDevicePath(dir.path() / c.host), u"\\" + c.device);
        const auto bytes = readWholeFile(u"\\" + c.device);
        ASSERT_TRUE(bytes);
        EXPECT_EQ(std::string(bytes->begin(), bytes->end()), c.what);
        fs::remove(dir.path() / c.host);
    }
    setDeviceRoot("/");
}

// A path never leaves the root or a network folder, whatever is typed or stored.
TEST(HostNames, PathsThatWouldLeaveTheirFolderAreRefused) {
    test::TempDir dir;
    fs::create_directories(dir.path() / "root" / "a");
    fs::create_directories(dir.path() / "share");
    setDeviceRoot(dir.path() / "root");
    setNetworkFolderShown(true);
    setNetworkMappings({{u"VEL-Network", dir.path() / "share"}});
    const std::u16string refused[] = {
        u"\\..\\x",
        u"\\a\\..\\..\\x",
        u"\\a\\.\\x",
        u"\\/etc/passwd",
        u"\\a\\/x",
        u"/etc",
        std::u16string(u"\\a\0b", 4),
        u"\\Network\\VEL-Network\\/etc/passwd",
        u"\\Network\\VEL-Network\\..\\x",
        u"\\Network\\..\\x",
        u"\\\xD800x",            // a lone high surrogate maps to no host name
        u"\\\xDCE5\xDC86\xDC99", // escaped bytes that read as a character list as that character
    };
    for (size_t i = 0; i < std::size(refused); ++i) {
        SCOPED_TRACE(i);
        const std::u16string& path = refused[i];
        EXPECT_TRUE(toHostPath(path).empty());
        EXPECT_FALSE(isUsablePath(path));
        EXPECT_EQ(fileAttributes(path), kInvalidAttributes);
        EXPECT_FALSE(createDirectory(path));
    }
    EXPECT_EQ(toHostPath(u"\\a\\\\b"), dir.path() / "root" / "a" / "b")
        << "empty parts are skipped";
    EXPECT_EQ(toHostPath(u"\\Network\\VEL-Network\\x"), dir.path() / "share" / "x");
    EXPECT_EQ(std::distance(fs::directory_iterator(dir.path()), fs::directory_iterator()), 2);
    setNetworkFolderShown(false);
    setNetworkMappings({});
    setDeviceRoot("/");
}

} // namespace
} // namespace velmora::platform
