#include "fileops/mail_sender.h"

#include "fileops/mail_recipients.h"
#include "platform/device_fs.h"
#include "platform/mail/debug_output.h"
#include "platform/regular_file.h"
#include "ui/message_box.h"
#include "ui/string_table.h"

#include <algorithm>
#include <cstdio>
#include <span>
#include <sys/stat.h>
#include <vector>

namespace velmora::fileops {
namespace mapi = platform::mapi;
namespace {

constexpr uint32_t kUnsentFromMe = 0x28;
constexpr uint32_t kSmtpRecord = 0x20000;
constexpr size_t kAttachNameLimit = 260;
// Larger files are refused as unreadable: no mail system carries them anyway.
constexpr uint64_t kAttachmentByteLimit = uint64_t{256} << 20;
constexpr size_t kReadBlockBytes = size_t{1} << 20;
// Smaller files are read in a moment: no progress box for them.
constexpr uint64_t kProgressFromBytes = uint64_t{4} << 20;

// Steps named by the line their debug output carries.
enum FailedStep {
    kLogon = 242,
    kStoresTable = 247,
    kOpenStore = 274,
    kDraftsId = 279,
    kOpenDrafts = 290,
    kCreateMessage = 296,
    kAttachment = 309,
    kSubmit = 313,
    kRecipients = 731,
    kMessageProps = 751,
    kBodyStream = 756,
    kCreateAttach = 844,
    kAttachProps = 856,
    kAttachStream = 861,
    kAttachWrite = 865,
    kAttachCommit = 869,
};

// Writes the debug line when result is a failure; true when it is.
bool reportFailure(mapi::HResult result, FailedStep step) {
    if (!mapi::failed(result)) {
        return false;
    }
    char line[512];
    std::snprintf(line, sizeof line, "CEMAPI: FAILED(%x)at %s:%d\n", result, __FILE__,
                  static_cast<int>(step));
    platform::debugOutput(line);
    return true;
}

mapi::RowSet recipientRows(std::u16string_view text) {
    mapi::RowSet rows;
    for (auto& address : parseRecipients(text)) {
        rows.push_back({{mapi::kPrRecipientType, mapi::kMapiTo},
                        {mapi::kPrAddrType, std::u16string(u"SMTP")},
                        {mapi::kPrEmailAddress, std::move(address)}});
    }
    return rows;
}

std::vector<uint8_t> utf16leBytes(std::u16string_view text) {
    std::vector<uint8_t> bytes;
    bytes.reserve(text.size() * 2);
    for (const char16_t unit : text) {
        bytes.push_back(static_cast<uint8_t>(unit & 0xFF));
        bytes.push_back(static_cast<uint8_t>(unit >> 8));
    }
    return bytes;
}

// Recipients, then the properties, then the body: a failure skips the rest of these three,
// and the message still goes on to its attachment. A body stream that takes only part of the
// text is false: a message cut short is not sent.
bool fillMessage(mapi::Message& message, const MailText& text) {
    if (reportFailure(message.modifyRecipients(mapi::kModRecipAdd, recipientRows(text.recipients)),
                      kRecipients)) {
        return true;
    }
    const mapi::PropValue props[] = {{mapi::kPrMessageFlags, kUnsentFromMe},
                                     {mapi::kPrMsgStatus, kSmtpRecord},
                                     {mapi::kPrSubject, text.subject}};
    if (reportFailure(message.setProps(props), kMessageProps)) {
        return true;
    }
    std::unique_ptr<mapi::Stream> body;
    if (reportFailure(
            message.openProperty(mapi::kPrBody, mapi::kStreamWrite, mapi::kMapiModify, body),
            kBodyStream)) {
        return true;
    }
    return !reportFailure(body->write(utf16leBytes(text.body)), kBodyStream);
}

// Copies the open file into the stream a block at a time, reporting the share done.
mapi::HResult writeFileData(std::FILE* file, uint64_t size, mapi::Stream& data,
                            const MailProgress& progress) {
    std::vector<uint8_t> block(kReadBlockBytes);
    uint64_t done = 0;
    while (done < size) {
        const size_t wanted = static_cast<size_t>(std::min<uint64_t>(block.size(), size - done));
        if (std::fread(block.data(), 1, wanted, file) != wanted) {
            return mapi::kErrDiskError; // the file shrank or failed while it was read
        }
        const mapi::HResult result = data.write(std::span(block.data(), wanted));
        if (mapi::failed(result)) {
            return result;
        }
        done += wanted;
        if (progress && size >= kProgressFromBytes) {
            progress(static_cast<int>(done * 100 / size));
        }
    }
    return mapi::kOk;
}

// A file that cannot be opened shows kReadFailed and counts as done: the message goes without it.
// The bytes go from the file into the attachment's stream a block at a time, never held twice.
mapi::HResult attachFile(mapi::Message& message, std::u16string_view path,
                         const MailProgress& progress) {
    const std::u16string name = platform::fileNamePart(path).substr(0, kAttachNameLimit);
    const platform::FilePtr file = platform::openRegularFile(path);
    struct stat info {};
    if (!file || fstat(fileno(file.get()), &info) != 0 ||
        static_cast<uint64_t>(info.st_size) > kAttachmentByteLimit) {
        ui::showError(ui::str::kReadFailed);
        return mapi::kOk;
    }
    const auto size = static_cast<uint64_t>(info.st_size);
    std::unique_ptr<mapi::Attach> attach;
    mapi::HResult result = message.createAttach(attach);
    if (reportFailure(result, kCreateAttach)) {
        return result;
    }
    const mapi::PropValue props[] = {{mapi::kPrAttachFilename, name},
                                     {mapi::kPrAttachSize, static_cast<uint32_t>(size)},
                                     {mapi::kPrMsgStatus, kSmtpRecord}};
    result = attach->setProps(props);
    if (reportFailure(result, kAttachProps)) {
        return result;
    }
    std::unique_ptr<mapi::Stream> data;
    result =
        attach->openProperty(mapi::kPrAttachDataBin, mapi::kStreamWrite, mapi::kMapiModify, data);
    if (reportFailure(result, kAttachStream)) {
        return result;
    }
    result = writeFileData(file.get(), size, *data, progress);
    if (reportFailure(result, kAttachWrite)) {
        return result;
    }
    result = data->commit(0);
    reportFailure(result, kAttachCommit);
    return result;
}

// Makes and submits the message in one store; false when a step failed.
bool submitInStore(mapi::Session& session, const mapi::Binary& storeId, const MailText& text,
                   std::u16string_view path, const MailProgress& progress) {
    std::unique_ptr<mapi::MsgStore> store;
    if (reportFailure(session.openMsgStore(storeId, 0, store), kOpenStore)) {
        return false;
    }
    const uint32_t draftsTag[] = {mapi::kPrDraftsEntryId};
    std::vector<mapi::PropValue> drafts;
    mapi::HResult result = store->getProps(draftsTag, mapi::kMapiUnicode, drafts);
    const auto* draftsId = drafts.empty() ? nullptr : std::get_if<mapi::Binary>(&drafts[0].value);
    if (reportFailure(!mapi::failed(result) && draftsId == nullptr ? mapi::kErrNotFound : result,
                      kDraftsId)) {
        return false;
    }
    std::unique_ptr<mapi::Folder> folder;
    if (reportFailure(store->openEntry(*draftsId, mapi::kMapiModify, folder), kOpenDrafts)) {
        return false;
    }
    std::unique_ptr<mapi::Message> message;
    if (reportFailure(folder->createMessage(message), kCreateMessage)) {
        return false;
    }
    if (!fillMessage(*message, text) ||
        reportFailure(attachFile(*message, path, progress), kAttachment)) {
        return false;
    }
    return !reportFailure(message->submitMessage(0), kSubmit);
}

// The user learns which store did not take the message (the debug line says why).
void reportNotSent(const mapi::PropRow& row) {
    std::u16string text = ui::loadResourceString(ui::str::kMailNotSent) + u":\n";
    for (const auto& prop : row) {
        if (const auto* name = std::get_if<std::u16string>(&prop.value);
            name != nullptr && prop.tag == mapi::kPrDisplayName) {
            text += *name;
        }
    }
    ui::showMessage(
        {std::move(text), ui::kCaptionError, ui::MessageIcon::Error, ui::MessageButtons::Ok});
}

} // namespace

void sendMail(const MailText& text, std::u16string_view filePath, const MailLogon& logon,
              const MailProgress& progress) {
    std::unique_ptr<mapi::Session> session;
    const mapi::HResult loggedOn = logon(session);
    if (reportFailure(session || mapi::failed(loggedOn) ? loggedOn : mapi::kErrCallFailed,
                      kLogon)) {
        return;
    }
    std::unique_ptr<mapi::Table> stores;
    const mapi::HResult listed = session->getMsgStoresTable(mapi::kMapiUnicode, stores);
    if (reportFailure(stores || mapi::failed(listed) ? listed : mapi::kErrCallFailed,
                      kStoresTable)) {
        return;
    }
    mapi::RowSet rows;
    while (!mapi::failed(stores->queryRows(1, 0, rows)) && rows.size() == 1) {
        const mapi::PropRow& row = rows.front();
        const auto* storeId = row.empty() || row.front().tag != mapi::kPrEntryId
                                  ? nullptr
                                  : std::get_if<mapi::Binary>(&row.front().value);
        if (storeId == nullptr) {
            ui::showMessage({u"Store missing PR_ENTRYID!", u"Error", ui::MessageIcon::Plain,
                             ui::MessageButtons::Ok});
            return;
        }
        if (!submitInStore(*session, *storeId, text, filePath, progress)) {
            reportNotSent(row);
            return;
        }
    }
}

} // namespace velmora::fileops
