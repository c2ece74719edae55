#include "platform/registry_file.h"
#include "platform/registry_values.h"
#include "util/text.h"

#include <gtest/gtest.h>

namespace velmora::platform {
namespace {

constexpr std::string_view kUser = "HKEY_CURRENT_USER";

std::vector<uint8_t> bytesOf(std::initializer_list<int> list) {
    std::vector<uint8_t> out;
    for (const int b : list) {
        out.push_back(static_cast<uint8_t>(b));
    }
    return out;
}

const RegistryValue* value(const HiveData& hive, std::u16string_view key,
                           std::u16string_view name) {
    return hive.findValue(key, name);
}

TEST(RegistryFile, EveryKindOfValueSurvivesWritingAndReading) {
    HiveData hive;
    const std::u16string key = u"Software\\Quorrin\\Velmora";
    hive.setValue(key, u"XMOVE", kRegDword, dwordBytes(0x20));
    hive.setValue(key, u"LASTCURDIR", kRegSz, textBytes(u"A\\B\\"));
    hive.setValue(key, u"QUOTE \"x\"", kRegSz, textBytes(u"say \"hi\" 写真 \U0001F600"));
    hive.setValue(key, u"WITHNUL", kRegSz, textBytes(std::u16string(u"F1\0", 3)));
    hive.setValue(key, u"NEWLINE", kRegSz, textBytes(u"a\nb"));
    hive.setValue(key, u"LONESURROGATE", kRegSz, textBytes(std::u16string(1, u'\xD800')));
    hive.setValue(key, u"ODD", kRegSz, bytesOf({0x41}));
    hive.setValue(key, u"SHORTDWORD", kRegDword, bytesOf({1, 2, 3}));
    std::vector<uint8_t> longBinary(300);
    for (size_t i = 0; i < longBinary.size(); ++i) {
        longBinary[i] = static_cast<uint8_t>(i * 7);
    }
    hive.setValue(key, u"BLOB", kRegBinary, longBinary);
    hive.setValue(key, u"EMPTY", kRegBinary, {});
    hive.setValue(key, u"MULTI", kRegMultiSz, bytesOf({0x41, 0, 0, 0}));
    hive.setValue(key, u"", kRegSz, textBytes(u"default"));
    hive.createKey(u"Comm\\Redir");

    const std::string text = formatHiveText(hive, kUser);
    EXPECT_TRUE(text.starts_with("Windows Registry Editor Version 5.00\n"));
    EXPECT_NE(text.find("[HKEY_CURRENT_USER\\Software\\Quorrin\\Velmora]\n"), std::string::npos);
    EXPECT_NE(text.find("\"XMOVE\"=dword:00000020\n"), std::string::npos);
    EXPECT_NE(text.find("\"LASTCURDIR\"=\"A\\\\B\\\\\"\n"), std::string::npos);
    for (size_t start = 0, end; (end = text.find('\n', start)) != std::string::npos;
         start = end + 1) {
        EXPECT_LE(end - start, 80u) << "long hex data is wrapped";
    }

    const HiveData read = parseHiveText(text, kUser);
    for (const RegistryKeyData* written : hive.keys()) {
        ASSERT_TRUE(read.hasKey(written->path)) << text;
        for (const RegistryValue& original : written->values) {
            const RegistryValue* copy = value(read, written->path, original.name);
            ASSERT_NE(copy, nullptr) << text;
            EXPECT_EQ(copy->type, original.type);
            EXPECT_EQ(copy->data, original.data);
        }
    }
}

TEST(RegistryFile, AcceptsWindowsLineEndsByteOrderMarksAndAnyCase) {
    const std::string body = "Windows Registry Editor Version 5.00\r\n\r\n"
                             "[hkey_current_user\\SOFTWARE\\\\quorrin\\Velmora\\]\r\n"
                             "\"XMOVE\"=DWORD:0000002A\r\n"
                             "\"NAME\"=\"x\"\r\n";
    for (const std::string& text : {"\xEF\xBB\xBF" + body, body}) {
        const HiveData hive = parseHiveText(text, kUser);
        ASSERT_NE(value(hive, u"software\\QUORRIN\\velmora", u"xmove"), nullptr);
        EXPECT_EQ(value(hive, u"Software\\Quorrin\\Velmora", u"XMOVE")->data, dwordBytes(42));
        EXPECT_EQ(value(hive, u"Software\\Quorrin\\Velmora", u"NAME")->data, textBytes(u"x"));
    }
    std::string utf16 = "\xFF\xFE";
    for (const char c : body) {
        utf16 += c;
        utf16 += '\0';
    }
    EXPECT_NE(value(parseHiveText(utf16, kUser), u"Software\\Quorrin\\Velmora", u"XMOVE"), nullptr);
}

TEST(RegistryFile, SkipsDamagedLinesAndKeepsTheRest) {
    const std::string text = "garbage line\n"
                             "\"ORPHAN\"=dword:00000001\n"
                             "[HKEY_CURRENT_USER\\K]\n"
                             "; a comment\n"
                             "\"GOOD1\"=dword:00000001\n"
                             "NOQUOTE\"=dword:00000002\n"
                             "\"UNCLOSED=dword:00000003\n"
                             "\"NOEQUALS\" dword:00000004\n"
                             "\"BADHEX\"=hex:01,zz,03\n"
                             "\"HEXTOOWIDE\"=hex:100\n"
                             "\"BADTYPE\"=hex(q):00\n"
                             "\"LONGDWORD\"=dword:123456789\n"
                             "\"NOTHEX\"=dword:xyz\n"
                             "\"OPENSTRING\"=\"abc\n"
                             "\"TRAILING\"=\"abc\" junk\n"
                             "\"DELETED\"=-\n"
                             "\"UNKNOWN\"=qword:1\n"
                             "\"GOOD2\"=hex(7):41,00,\\\n"
                             "   00,00\n"
                             "\"LENIENT\"=\"C:\\Pictures\"\n"
                             "[HKEY_LOCAL_MACHINE\\K]\n"
                             "\"OTHERROOT\"=dword:00000001\n"
                             "[HKEY_CURRENT_USER\\Broken\n"
                             "\"INBROKEN\"=dword:00000001\n"
                             "[-HKEY_CURRENT_USER\\Gone]\n"
                             "\"INGONE\"=dword:00000001\n";
    const HiveData hive = parseHiveText(text, kUser);
    const auto keys = hive.keys();
    ASSERT_EQ(keys.size(), 1u);
    ASSERT_EQ(keys[0]->values.size(), 3u);
    EXPECT_EQ(keys[0]->values[0].name, u"GOOD1");
    EXPECT_EQ(keys[0]->values[1].name, u"GOOD2");
    EXPECT_EQ(keys[0]->values[1].type, kRegMultiSz);
    EXPECT_EQ(keys[0]->values[1].data, bytesOf({0x41, 0, 0, 0}));
    EXPECT_EQ(keys[0]->values[2].data, textBytes(u"C:\\Pictures"));
}

TEST(RegistryFile, HugeValueLineIsRead) {
    const std::string big(1 << 20, 'x');
    const HiveData hive = parseHiveText("[HKEY_CURRENT_USER\\K]\n\"BIG\"=\"" + big + "\"\n", kUser);
    ASSERT_NE(value(hive, u"K", u"BIG"), nullptr);
    EXPECT_EQ(value(hive, u"K", u"BIG")->data.size(), big.size() * 2);
}

TEST(RegistryFile, OverlongUtf8CannotSmuggleALineEndIntoAName) {
    // C0 8A is an overlong line feed; C0 A2 an overlong quote. Read as such they would split the
    // key or the value name when written back, and the file would then read differently.
    const std::string text = "[HKEY_CURRENT_USER\\A\xC0\x8A"
                             "B]\n\"N\xC0\xA2\"=dword:00000001\n";
    const HiveData hive = parseHiveText(text, kUser);
    const std::string written = formatHiveText(hive, kUser);
    EXPECT_EQ(written.find("A\n"), std::string::npos);
    EXPECT_EQ(formatHiveText(parseHiveText(written, kUser), kUser), written);
    ASSERT_EQ(hive.keys().size(), 1u);
    EXPECT_EQ(hive.keys()[0]->path, u"A\uFFFD\uFFFDB");
}

TEST(RegistryFile, KeyPathsPastThePlatformLimitAreSkipped) {
    // 255 characters is the longest key path (here 128 nested keys); a longer one is read as a
    // damaged section: its values go nowhere and none of its ancestors is made.
    std::string longest = "a";
    while (longest.size() < 255) {
        longest += "\\" + std::string(1, static_cast<char>('a' + longest.size() % 26));
    }
    const std::string tooLong = "x" + longest;
    const HiveData hive = parseHiveText("[HKEY_CURRENT_USER\\" + tooLong + "]\n\"A\"=dword:1\n" +
                                            "[HKEY_CURRENT_USER\\" + longest + "]\n\"B\"=dword:2\n",
                                        kUser);
    EXPECT_NE(value(hive, util::toUtf16(longest), u"B"), nullptr);
    EXPECT_EQ(value(hive, util::toUtf16(tooLong), u"A"), nullptr);
    EXPECT_FALSE(hive.hasKey(u"xa"));
}

TEST(RegistryFile, TruncatedFileKeepsEveryCompleteLine) {
    HiveData hive;
    hive.setValue(u"A", u"ONE", kRegDword, dwordBytes(1));
    hive.setValue(u"A", u"TWO", kRegSz, textBytes(u"two\\"));
    hive.setValue(u"A\\B", u"BLOB", kRegBinary, std::vector<uint8_t>(60, 0xAB));
    hive.setValue(u"A\\B", u"THREE", kRegDword, dwordBytes(3));
    const std::string text = formatHiveText(hive, kUser);

    for (size_t cut = 0; cut <= text.size(); ++cut) {
        const std::string_view prefix(text.data(), cut);
        const HiveData read = parseHiveText(prefix, kUser);
        // Every value whose text ended (with its line feed) before the cut is read exactly.
        for (const RegistryKeyData* key : hive.keys()) {
            for (const RegistryValue& original : key->values) {
                const std::string needle =
                    "\"" + std::string(original.name.begin(), original.name.end()) + "\"=";
                size_t lineEnd = text.find('\n', text.find(needle));
                while (text[lineEnd - 1] == '\\') {
                    lineEnd = text.find('\n', lineEnd + 1);
                }
                const RegistryValue* copy = value(read, key->path, original.name);
                if (lineEnd < cut) {
                    ASSERT_NE(copy, nullptr) << "cut at " << cut;
                    EXPECT_EQ(copy->data, original.data) << "cut at " << cut;
                }
            }
        }
    }
}

} // namespace
} // namespace velmora::platform
