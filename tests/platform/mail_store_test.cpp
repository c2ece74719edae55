#include "platform/mail/maildir.h"
#include "platform/mail/mapi.h"
#include "platform/mail/mime_message.h"
#include "platform/mail/program_pipe.h"
#include "platform/mail/wait_pump.h"
#include "support/mail_sandbox.h"
#include "util/text.h"

#include <gtest/gtest.h>

#include <chrono>
#include <fstream>
#include <poll.h>
#include <sstream>
#include <sys/inotify.h>
#include <thread>
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

// Whether a process still runs (a killed one may stay a zombie until it is reaped).
bool isRunning(const std::string& pidText) {
    std::ifstream stat("/proc/" + pidText + "/stat");
    std::string pid, name, state;
    return static_cast<bool>(stat >> pid >> name >> state) && state != "Z";
}

// Whatever the program does, the call ends by the deadline, its process group gone, pumping.
TEST(ProgramPipe, SucceedsOnlyWhenTheProgramTakesEverythingAndExitsZero) {
    test::MailSandbox sandbox;
    const std::string big(1 << 20, 'x'); // far more than a pipe holds
    const auto copy = sandbox.root() / "copy";
    const auto helper = sandbox.root() / "helper.pid";
    struct Case {
        const char* name;
        std::string script;
        bool expected;
    };
    const Case cases[] = {
        {"reads all", "cat > '" + copy.string() + "'", true},
        {"reads slowly", "sleep 1; cat > '" + copy.string() + "'", true},
        {"fails after reading", "cat > /dev/null; exit 1", false},
        {"killed", "kill -9 $$", false},
        {"exits without reading", "exit 0", false},
        {"neither reads nor exits", "exec sleep 30", false},
        {"sleeps past the limit with a child",
         "sleep 30 & echo $! > '" + helper.string() + "'; cat > /dev/null; sleep 30", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        fs::remove(copy);
        const auto script = sandbox.writeScript("program", c.script);
        std::vector<std::chrono::steady_clock::time_point> pumps;
        setWaitPump([&] { pumps.push_back(std::chrono::steady_clock::now()); });
        const auto started = std::chrono::steady_clock::now();
        EXPECT_EQ(runWithInput({script.string(), "-t", "-oi"}, big, 2s), c.expected);
        const auto ended = std::chrono::steady_clock::now();
        setWaitPump({});
        EXPECT_LT(ended - started, 20s);
        pumps.push_back(ended);
        for (size_t i = 1; i < pumps.size(); ++i) {
            EXPECT_LT(pumps[i] - pumps[i - 1], 200ms) << "the waiting thread never stalls";
        }
        if (c.expected) {
            EXPECT_EQ(fileText(copy), big);
        }
    }
    // The group's kill reaches the helper a moment after the call returns on a busy machine.
    const std::string helperPid = fileText(helper).substr(0, fileText(helper).find('\n'));
    const auto killed = std::chrono::steady_clock::now();
    while (isRunning(helperPid) && std::chrono::steady_clock::now() - killed < 5s) {
        std::this_thread::sleep_for(10ms);
    }
    EXPECT_FALSE(isRunning(helperPid)) << "the program's helper went with it";
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

// Typed address texts of any length give header lines within the 998-octet limit.
TEST(MimeMessage, LongAddressListsAreFolded) {
    std::u16string commaJoined;
    for (int i = 0; i < 300; ++i) {
        commaJoined += u"person" + util::toUtf16(std::to_string(i)) + u"@example.org,";
    }
    MessageData message;
    message.to = {commaJoined, std::u16string(2000, u'x') + u"@example.org", u"last@example.org"};
    const std::string text = buildMimeMessage(message, {"me@host", 0, "1@host"});
    const std::string headers = text.substr(0, text.find("\n\n") + 1);
    for (size_t start = 0, end; (end = headers.find('\n', start)) != std::string::npos;
         start = end + 1) {
        EXPECT_LE(end - start, 998u);
    }
    EXPECT_NE(headers.find(" person0@example.org,"), std::string::npos);
    EXPECT_NE(headers.find(" person299@example.org,"), std::string::npos);
    EXPECT_NE(headers.find(" last@example.org\n"), std::string::npos);
    EXPECT_EQ(headers.find("xxxx"), std::string::npos) << "an address past 254 octets is left out";
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
