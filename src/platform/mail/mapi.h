// The messaging store: a session lists the message stores, each store has a drafts folder in
// which messages are created, filled (recipients, properties, body stream, attachments) and
// submitted. The calls, flags, property tags and result codes are those of the handheld's
// messaging library; objects release themselves when they go.
//
// Stores, in table order: every Maildir folder under mailFolder() ("Local" is created when
// missing), then "Sendmail" when a mail submission program is configured or installed. A
// Maildir store delivers a submitted message into <store>/Outbox/new; the Sendmail store pipes
// it to "sendmail -t -oi". A submitted message is a MIME message (see mime_message.h).
#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <variant>
#include <vector>

namespace velmora::platform {
struct MessageData;
class StoreBackend;
} // namespace velmora::platform

namespace velmora::platform::mapi {

using HResult = uint32_t;
inline constexpr HResult kOk = 0;
inline constexpr HResult kErrCallFailed = 0x80004005;
inline constexpr HResult kErrNoAccess = 0x80070005;
inline constexpr HResult kErrNotEnoughMemory = 0x8007000E;
inline constexpr HResult kErrInvalidParameter = 0x80070057;
inline constexpr HResult kErrNoSupport = 0x80040102;
inline constexpr HResult kErrNotFound = 0x8004010F;
inline constexpr HResult kErrDiskError = 0x80040116;
inline constexpr HResult kErrInvalidEntryId = 0x80040107;

[[nodiscard]] inline bool failed(HResult result) {
    return (result & 0x80000000u) != 0;
}

inline constexpr uint32_t kMapiUnicode = 0x80000000;
inline constexpr uint32_t kMapiModify = 1;
inline constexpr uint32_t kModRecipAdd = 2;
inline constexpr uint32_t kStreamWrite = 1; // interface option of OpenProperty
inline constexpr uint32_t kMapiTo = 1;

inline constexpr uint32_t kPrEntryId = 0x0FFF0102;
inline constexpr uint32_t kPrDisplayName = 0x3001001F;
inline constexpr uint32_t kPrDraftsEntryId = 0x81040102;
inline constexpr uint32_t kPrRecipientType = 0x0C150003;
inline constexpr uint32_t kPrAddrType = 0x3002001F;
inline constexpr uint32_t kPrEmailAddress = 0x3003001F;
inline constexpr uint32_t kPrMessageFlags = 0x0E070003;
inline constexpr uint32_t kPrMsgStatus = 0x0E170003;
inline constexpr uint32_t kPrSubject = 0x0037001F;
inline constexpr uint32_t kPrBody = 0x1000001F;
inline constexpr uint32_t kPrAttachFilename = 0x3704001F;
inline constexpr uint32_t kPrAttachSize = 0x0E200003;
inline constexpr uint32_t kPrAttachDataBin = 0x37010102;

using Binary = std::vector<uint8_t>;

// One property: a 32-bit number, a wide string or bytes, by the tag's type.
struct PropValue {
    uint32_t tag = 0;
    std::variant<uint32_t, std::u16string, Binary> value;
};
using PropRow = std::vector<PropValue>;
using RowSet = std::vector<PropRow>;

// Writes into one binary property of a message or attachment.
class Stream {
  public:
    explicit Stream(std::shared_ptr<Binary> target) : target_(std::move(target)) {}
    HResult write(std::span<const uint8_t> bytes);
    HResult commit(uint32_t flags);

  private:
    std::shared_ptr<Binary> target_;
};

class Attach {
  public:
    Attach(std::shared_ptr<MessageData> message, size_t index)
        : message_(std::move(message)), index_(index) {}
    HResult setProps(std::span<const PropValue> props);
    HResult openProperty(uint32_t tag, uint32_t interfaceOptions, uint32_t flags,
                         std::unique_ptr<Stream>& stream);

  private:
    std::shared_ptr<MessageData> message_;
    size_t index_;
};

class Message {
  public:
    Message(std::shared_ptr<StoreBackend> store, std::shared_ptr<MessageData> data)
        : store_(std::move(store)), data_(std::move(data)) {}
    HResult modifyRecipients(uint32_t flags, const RowSet& recipients);
    HResult setProps(std::span<const PropValue> props);
    HResult openProperty(uint32_t tag, uint32_t interfaceOptions, uint32_t flags,
                         std::unique_ptr<Stream>& stream);
    HResult createAttach(std::unique_ptr<Attach>& attach);
    // Builds the MIME message and hands it to the store's transport.
    HResult submitMessage(uint32_t flags);

  private:
    std::shared_ptr<StoreBackend> store_;
    std::shared_ptr<MessageData> data_;
};

class Folder {
  public:
    explicit Folder(std::shared_ptr<StoreBackend> store) : store_(std::move(store)) {}
    HResult createMessage(std::unique_ptr<Message>& message);

  private:
    std::shared_ptr<StoreBackend> store_;
};

class MsgStore {
  public:
    explicit MsgStore(std::shared_ptr<StoreBackend> store) : store_(std::move(store)) {}
    // Only kPrDraftsEntryId is known.
    HResult getProps(std::span<const uint32_t> tags, uint32_t flags,
                     std::vector<PropValue>& values);
    HResult openEntry(const Binary& entryId, uint32_t flags, std::unique_ptr<Folder>& folder);

  private:
    std::shared_ptr<StoreBackend> store_;
};

class Table {
  public:
    virtual ~Table() = default;
    // Up to count rows from the cursor on; an empty set at the end.
    virtual HResult queryRows(int count, uint32_t flags, RowSet& rows) = 0;
};

class Session {
  public:
    virtual ~Session() = default;
    // Rows of PR_ENTRYID and PR_DISPLAY_NAME, one per store.
    virtual HResult getMsgStoresTable(uint32_t flags, std::unique_ptr<Table>& table) = 0;
    virtual HResult openMsgStore(const Binary& entryId, uint32_t flags,
                                 std::unique_ptr<MsgStore>& store) = 0;
};

HResult logonEx(std::unique_ptr<Session>& session);

} // namespace velmora::platform::mapi
