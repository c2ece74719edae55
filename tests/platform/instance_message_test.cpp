#include "platform/instance_message.h"

#include <gtest/gtest.h>

#include <string>

namespace velmora::platform {
namespace {

TEST(InstanceMessage, OnlyAWellFormedMessageIsTaken) {
    using namespace std::string_literals;
    const std::string longest(kMaxHandOverPath, 'a');
    const std::string longestPath = "/" + longest.substr(1);
    const struct {
        const char* name;
        std::string message;
        std::optional<std::string> picture; // nothing: ignored
    } cases[] = {
        {"come forward", "activate\n", ""},
        {"a picture", "open 10\n/tmp/a.jpg", "/tmp/a.jpg"},
        {"spaces and a newline in the name", "open 12\n/a b\nc.png.x", "/a b\nc.png.x"},
        {"the longest path", "open 4096\n" + longestPath, longestPath},
        {"a path too long", "open 4097\n/" + longest, std::nullopt},
        {"oversized", "activate\n" + std::string(kMaxInstanceMessage, 'x'), std::nullopt},
        {"fewer bytes than announced", "open 11\n/tmp/a.jpg", std::nullopt},
        {"more bytes than announced", "open 9\n/tmp/a.jpg", std::nullopt},
        {"a relative path", "open 5\na.jpg", std::nullopt},
        {"a NUL inside", "open 7\n/a\0.jpg"s, std::nullopt},
        {"a leading zero", "open 010\n/tmp/a.jpg", std::nullopt},
        {"no length", "open \n/a", std::nullopt},
        {"a sign", "open +2\n/a", std::nullopt},
        {"five digits", "open 10000\n/a", std::nullopt},
        {"activate twice", "activate\nactivate\n", std::nullopt},
        {"empty", "", std::nullopt},
        {"another word", "show 2\n/a", std::nullopt},
    };
    for (const auto& c : cases) {
        const auto request = parseInstanceMessage(c.message);
        ASSERT_EQ(request.has_value(), c.picture.has_value()) << c.name;
        if (request) {
            EXPECT_EQ(request->picture, *c.picture) << c.name;
        }
    }
}

TEST(InstanceMessage, ComposedMessagesParseBackAndUncarriablePathsOnlyActivate) {
    for (const std::string picture : {"/tmp/a.jpg", "/x", "/dir/名前.png"}) {
        const auto request = parseInstanceMessage(composeInstanceMessage(picture));
        ASSERT_TRUE(request.has_value()) << picture;
        EXPECT_EQ(request->picture, picture);
    }
    const std::string tooLong = "/" + std::string(kMaxHandOverPath, 'a');
    for (const std::string& picture : {std::string(), std::string("relative.jpg"), tooLong}) {
        EXPECT_EQ(composeInstanceMessage(picture), "activate\n") << picture;
    }
}

} // namespace
} // namespace velmora::platform
