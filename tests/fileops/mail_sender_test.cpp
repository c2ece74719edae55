#include "fileops/mail_recipients.h"
#include "fileops/mail_sender.h"
#include "platform/mail/mime_message.h"
#include "support/mail_sandbox.h"
#include "support/recording_message_box.h"
#include "ui/string_table.h"

#include "platform/mail/wait_pump.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <optional>
#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
// The sanitizer runtimes' own count of the heap in use (sanitizer/allocator_interface.h).
extern "C" size_t __sanitizer_get_current_allocated_bytes();
#endif

namespace velmora::fileops {
namespace {

namespace fs = std::filesystem;
namespace mapi = platform::mapi;

TEST(MailRecipients, BlanksAndSemicolonsSeparateAddresses) {
    const std::pair<std::u16string, std::vector<std::u16string>> cases[] = {
        {u"a@x.org b@x.org;c@x.org", {u"a@x.org", u"b@x.org", u"c@x.org"}},
        {u"   ", {}},
        {u"", {}},
        {u"  a@x.org;; b@x.org ", {u"a@x.org", u"b@x.org"}},
    };
    for (const auto& [text, expected] : cases) {
        EXPECT_EQ(parseRecipients(text), expected);
    }
}

class MailSenderTest : public ::testing::Test {
  protected:
    MailSenderTest() {
        fs::create_directories(sandbox.mail() / "Local");
        fs::create_directories(sandbox.mail() / "Work");
        picture = sandbox.writeFile("root/photos/cat.png", pictureBytes);
    }

    static std::string base64Of(const std::string& bytes) {
        return platform::base64Encode(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size());
    }

    test::MailSandbox sandbox;
    test::RecordingMessageBox boxes;
    const std::string pictureBytes = "\x89PNG picture bytes";
    fs::path picture;
    const MailText text{u"a@x.org b@x.org;c@x.org", u"cat.png", kProposedMailBody};
};

TEST_F(MailSenderTest, OneMessagePerStoreWithRecipientsAndAttachment) {
    sendMail(text, u"\\photos\\cat.png");
    for (const char* store : {"Local", "Work"}) {
        const auto messages = sandbox.delivered(store);
        ASSERT_EQ(messages.size(), 1u) << store;
        EXPECT_NE(messages[0].find("\nTo: a@x.org, b@x.org, c@x.org\n"), std::string::npos);
        EXPECT_NE(messages[0].find("\nSubject: cat.png\n"), std::string::npos);
        EXPECT_NE(messages[0].find("filename=\"cat.png\""), std::string::npos);
        EXPECT_NE(messages[0].find(base64Of(pictureBytes)), std::string::npos);
        EXPECT_NE(messages[0].find(base64Of("This mail was sent by Velmora.")), std::string::npos);
    }
    EXPECT_TRUE(boxes.shown.empty());
    EXPECT_TRUE(sandbox.debugLines.empty());
}

TEST_F(MailSenderTest, FailingSubmissionProgramIsReportedAndEarlierStoresKeepTheirMessage) {
    for (const char* program : {"cat >/dev/null; exit 75", "kill -9 $$"}) {
        sandbox.debugLines.clear();
        test::MailSandbox::setSendmail(sandbox.writeScript("sendmail", program).string());
        sendMail(text, u"\\photos\\cat.png");
        ASSERT_EQ(sandbox.debugLines.size(), 1u) << program;
        const std::string& line = sandbox.debugLines[0];
        EXPECT_EQ(line.rfind("CEMAPI: FAILED(80004005)at ", 0), 0u) << line;
        EXPECT_NE(line.find("mail_sender.cpp:313\n"), std::string::npos) << line;
        ASSERT_FALSE(boxes.shown.empty());
        EXPECT_EQ(boxes.shown.back().text,
                  ui::loadResourceString(ui::str::kMailNotSent) + u":\nSendmail")
            << "the user learns which store did not send";
    }
    EXPECT_EQ(boxes.shown.size(), 2u);
    EXPECT_EQ(sandbox.delivered("Local").size(), 2u);
    EXPECT_EQ(sandbox.delivered("Work").size(), 2u);
}

// A Maildir folder named like the program's store does not hide the program.
TEST_F(MailSenderTest, AMaildirNamedSendmailIsAStoreOfItsOwn) {
    fs::create_directories(sandbox.mail() / "Sendmail");
    const auto piped = sandbox.mail() / "piped";
    test::MailSandbox::setSendmail(
        sandbox.writeScript("sendmail", "cat > '" + piped.string() + "'").string());
    sendMail(text, u"\\photos\\cat.png");
    EXPECT_EQ(sandbox.delivered("Sendmail").size(), 1u);
    EXPECT_TRUE(fs::exists(piped));
    EXPECT_TRUE(boxes.shown.empty());
}

// Heap bytes in use, where the sanitizer runtime can tell them.
std::optional<size_t> heapInUse() {
#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
    return __sanitizer_get_current_allocated_bytes();
#else
    return std::nullopt;
#endif
}

// A large picture is read and encoded a block at a time: the heap never holds much more than
// the attachment once, progress is reported while it is read, and the waits keep pumping.
TEST_F(MailSenderTest, ALargeAttachmentIsStreamed) {
    if (!heapInUse()) {
        GTEST_SKIP() << "heap accounting needs a sanitizer runtime";
    }
    constexpr size_t kSize = 12u << 20;
    std::string big(kSize, '\0');
    for (size_t i = 0; i < kSize; ++i) {
        big[i] = static_cast<char>((i * 131 + i / 251) & 0xFF);
    }
    sandbox.writeFile("root/photos/big.bmp", big);
    const size_t fileBytes = big.size();
    big = std::string(); // only the file holds the picture now
    const size_t baseline = *heapInUse();
    size_t peak = baseline;
    std::vector<int> reported;
    int pumps = 0;
    platform::setWaitPump([&] {
        ++pumps;
        peak = std::max(peak, *heapInUse());
    });
    sendMail(text, u"\\photos\\big.bmp", mapi::logonEx, [&](int percent) {
        reported.push_back(percent);
        peak = std::max(peak, *heapInUse());
    });
    platform::setWaitPump({});
    EXPECT_LE(peak - baseline, fileBytes * 3 / 2);
    EXPECT_GT(pumps, 100) << "the window is pumped while the attachment is encoded";
    // Read once for each of the two stores, from the start to the whole file.
    const auto secondRead = std::find(reported.begin(), reported.end(), 100) + 1;
    EXPECT_TRUE(std::is_sorted(reported.begin(), secondRead));
    EXPECT_TRUE(std::is_sorted(secondRead, reported.end()));
    EXPECT_EQ(std::count(reported.begin(), reported.end(), 100), 2);
    for (const char* store : {"Local", "Work"}) {
        const auto messages = sandbox.delivered(store);
        ASSERT_EQ(messages.size(), 1u);
        EXPECT_GT(messages[0].size(), fileBytes * 4 / 3);
    }
    EXPECT_TRUE(boxes.shown.empty());
}

TEST_F(MailSenderTest, UnreadableFileShowsTheErrorAndTheMessageGoesWithoutIt) {
    sendMail({u"   ", u"x", u"body"}, u"\\photos\\gone.png");
    ASSERT_EQ(boxes.shown.size(), 2u); // once per store
    EXPECT_EQ(boxes.shown[0].text, ui::loadResourceString(ui::str::kReadFailed));
    const auto messages = sandbox.delivered("Local");
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].find("Content-Disposition"), std::string::npos);
    EXPECT_EQ(messages[0].find("\nTo:"), std::string::npos);
}

// A session whose stores table holds one row without an entry identifier.
class RowWithoutEntryId : public mapi::Session {
  public:
    mapi::HResult getMsgStoresTable(uint32_t, std::unique_ptr<mapi::Table>& table) override {
        struct OneRow : mapi::Table {
            bool given = false;
            mapi::HResult queryRows(int, uint32_t, mapi::RowSet& rows) override {
                rows.clear();
                if (!given) {
                    rows.push_back({{mapi::kPrDisplayName, std::u16string(u"Odd")}});
                }
                given = true;
                return mapi::kOk;
            }
        };
        table = std::make_unique<OneRow>();
        return mapi::kOk;
    }
    mapi::HResult openMsgStore(const mapi::Binary&, uint32_t,
                               std::unique_ptr<mapi::MsgStore>&) override {
        ADD_FAILURE() << "a store without entry identifier was opened";
        return mapi::kErrCallFailed;
    }
};

TEST_F(MailSenderTest, StoreWithoutEntryIdShowsItsBoxAndLogonFailureItsLine) {
    sendMail(text, u"\\photos\\cat.png", [](std::unique_ptr<mapi::Session>& session) {
        session = std::make_unique<RowWithoutEntryId>();
        return mapi::kOk;
    });
    ASSERT_EQ(boxes.shown.size(), 1u);
    EXPECT_EQ(boxes.shown[0].text, u"Store missing PR_ENTRYID!");
    EXPECT_EQ(boxes.shown[0].caption, u"Error");
    EXPECT_EQ(boxes.shown[0].buttons, ui::MessageButtons::Ok);

    sendMail(text, u"\\photos\\cat.png",
             [](std::unique_ptr<mapi::Session>&) { return mapi::kErrNotEnoughMemory; });
    ASSERT_EQ(sandbox.debugLines.size(), 1u);
    EXPECT_EQ(sandbox.debugLines[0].rfind("CEMAPI: FAILED(8007000e)at ", 0), 0u);
    EXPECT_NE(sandbox.debugLines[0].find(":242\n"), std::string::npos);
    EXPECT_TRUE(sandbox.delivered("Local").empty());
}

} // namespace
} // namespace velmora::fileops
