#include "platform/mail/maildir.h"
#include "platform/mail/mapi.h"
#include "platform/mail/mime_message.h"
#include "platform/mail/program_pipe.h"
#include "support/mail_sandbox.h"

#include <gtest/gtest.h>

#include <chrono>
#include <fstream>
#include <poll.h>
#include <sstream>
#include <sys/inotify.h>
#include <unistd.h>

namespace velmora::platform {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

std::string fileText(const fs::path& file) {
    std::ostringstream text;
    text << std::ifstream(file, std::ios::binary).rdbuf();
    return text.str();
}

TEST(ProgramPipe, SucceedsOnlyWhenTheProgramTakesEverythingAndExitsZero) {
    test::MailSandbox sandbox;
    const std::string big(1 << 20, 'x'); // far more than a pipe holds
    const auto copy = sandbox.root() / "copy";
    struct Case {
        const char* name;
        std::string script;
        bool expected;
    };
    const Case cases[] = {
        {"reads all", "cat > '" + copy.string() + "'", true},
        {"fails after reading", "cat > /dev/null; exit 3", false},
        {"killed", "kill -9 $$", false},
        {"exits without reading", "exit 0", false},
        {"neither reads nor exits", "exec sleep 30", false},
    };
    for (const auto& c : cases) {
        const auto script = sandbox.writeScript("program", c.script);
        const auto started = std::chrono::steady_clock::now();
        EXPECT_EQ(runWithInput({script.string(), "-t", "-oi"}, big, 2s), c.expected) << c.name;
        EXPECT_LT(std::chrono::steady_clock::now() - started, 20s) << c.name;
    }
    EXPECT_EQ(fileText(copy), big);
    EXPECT_FALSE(runWithInput({(sandbox.root() / "missing").string()}, "x", 2s));
}

TEST(Maildir, MessageAppearsInNewOnlyWhenComplete) {
    test::MailSandbox sandbox;
    const fs::path outbox = sandbox.mail() / "Local" / "Outbox";
    fs::create_directories(outbox / "new");
    const int watch = inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
    ASSERT_GE(watch, 0);
    ASSERT_GE(inotify_add_watch(watch, (outbox / "new").c_str(), IN_ALL_EVENTS), 0);

    const std::string message(300000, 'm');
    ASSERT_TRUE(deliverToMaildir(outbox, message));

    // The only thing new/ ever saw is a finished file moved in: no create, no write.
    std::vector<uint32_t> events;
    alignas(inotify_event) char buffer[4096];
    for (ssize_t got; (got = read(watch, buffer, sizeof buffer)) > 0;) {
        for (char* at = buffer; at < buffer + got;) {
            const auto* event = reinterpret_cast<const inotify_event*>(at);
            events.push_back(event->mask);
            at += sizeof(inotify_event) + event->len;
        }
    }
    close(watch);
    EXPECT_EQ(events, std::vector<uint32_t>{IN_MOVED_TO});
    EXPECT_TRUE(fs::is_empty(outbox / "tmp"));
    EXPECT_TRUE(fs::is_directory(outbox / "cur"));
    EXPECT_EQ(sandbox.delivered("Local"), std::vector<std::string>{message});
}

std::vector<std::u16string> storeNames() {
    std::unique_ptr<mapi::Session> session;
    std::unique_ptr<mapi::Table> table;
    std::vector<std::u16string> names;
    if (mapi::failed(mapi::logonEx(session)) ||
        mapi::failed(session->getMsgStoresTable(mapi::kMapiUnicode, table))) {
        return names;
    }
    mapi::RowSet rows;
    while (!mapi::failed(table->queryRows(1, 0, rows)) && rows.size() == 1) {
        EXPECT_EQ(rows[0].at(0).tag, mapi::kPrEntryId);
        names.push_back(std::get<std::u16string>(rows[0].at(1).value));
    }
    return names;
}

TEST(MessageStores, MaildirFoldersInNameOrderThenTheSubmissionProgram) {
    test::MailSandbox sandbox;
    EXPECT_EQ(storeNames(), std::vector<std::u16string>{u"Local"});
    EXPECT_TRUE(fs::is_directory(sandbox.mail() / "Local"));

    fs::create_directories(sandbox.mail() / "Archive");
    fs::create_directories(sandbox.mail() / ".hidden");
    test::MailSandbox::setSendmail(sandbox.writeScript("sendmail", "cat >/dev/null").string());
    EXPECT_EQ(storeNames(), (std::vector<std::u16string>{u"Archive", u"Local", u"Sendmail"}));
}

TEST(MimeMessage, HeadersCarryNoInjectedLinesAndEncodeTheSubject) {
    MessageData message;
    message.to = {u"a@example.org\nBcc: spy@example.org", u"b@example.org"};
    message.subject = u"写真です\nX-Injected: yes";
    const std::string text = buildMimeMessage(message, {"me@host", 0, "1@host"});
    const std::string headers = text.substr(0, text.find("\n\n"));
    EXPECT_EQ(headers.find("\nBcc:"), std::string::npos);
    EXPECT_EQ(headers.find("\nX-Injected:"), std::string::npos);
    EXPECT_NE(headers.find("To: a@example.orgBcc: spy@example.org, b@example.org\n"),
              std::string::npos);
    EXPECT_NE(headers.find("Subject: =?UTF-8?B?"), std::string::npos);
    EXPECT_NE(headers.find("\nMessage-ID: <1@host>\n"), std::string::npos);
}

TEST(MimeMessage, Base64MatchesTheStandardVectors) {
    const std::pair<std::string, std::string> vectors[] = {{"", ""},
                                                           {"f", "Zg=="},
                                                           {"fo", "Zm8="},
                                                           {"foo", "Zm9v"},
                                                           {"foob", "Zm9vYg=="},
                                                           {"fooba", "Zm9vYmE="},
                                                           {"foobar", "Zm9vYmFy"}};
    for (const auto& [plain, encoded] : vectors) {
        EXPECT_EQ(base64Encode(reinterpret_cast<const uint8_t*>(plain.data()), plain.size()),
                  encoded);
    }
}

} // namespace
} // namespace velmora::platform
