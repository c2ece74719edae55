#include "platform/mail/mapi.h"

#include "platform/mail/mail_stores.h"
#include "platform/mail/mime_message.h"
#include "util/text.h"

#include <algorithm>
#include <new>

namespace velmora::platform::mapi {
namespace {

Binary entryIdOf(std::string_view kind, const StoreBackend& store) {
    const std::string text = std::string(kind) + ":" + util::toUtf8(store.name());
    return Binary(text.begin(), text.end());
}

// A store's identifier carries its place in the table: two stores of one name (a Maildir folder
// named like the submission program's store) stay two stores.
Binary storeIdOf(size_t position, const StoreBackend& store) {
    return entryIdOf("store" + std::to_string(position), store);
}

const PropValue* findProp(const PropRow& row, uint32_t tag) {
    const auto found =
        std::find_if(row.begin(), row.end(), [tag](const PropValue& p) { return p.tag == tag; });
    return found == row.end() ? nullptr : &*found;
}

template <typename T> const T* valueOf(const PropValue* prop) {
    return prop != nullptr ? std::get_if<T>(&prop->value) : nullptr;
}

// Sets the one text property an object keeps; others (flags, status) are accepted and not used,
// since the transport decides them.
HResult setTextProp(std::span<const PropValue> props, uint32_t tag, std::u16string& target) {
    for (const auto& prop : props) {
        if (prop.tag != tag) {
            continue;
        }
        const auto* text = std::get_if<std::u16string>(&prop.value);
        if (text == nullptr) {
            return kErrInvalidParameter;
        }
        target = *text;
    }
    return kOk;
}

// A write stream on the one binary property an object offers, emptied first.
HResult openWriteStream(uint32_t tag, uint32_t offered, uint32_t interfaceOptions, uint32_t flags,
                        const std::shared_ptr<Binary>& target, std::unique_ptr<Stream>& stream) {
    if (tag != offered) {
        return kErrNotFound;
    }
    if (interfaceOptions != kStreamWrite || (flags & kMapiModify) == 0) {
        return kErrNoAccess;
    }
    target->clear();
    stream = std::make_unique<Stream>(target);
    return kOk;
}

class StoresTable : public Table {
  public:
    explicit StoresTable(RowSet rows) : rows_(std::move(rows)) {}
    HResult queryRows(int count, uint32_t, RowSet& rows) override {
        rows.clear();
        if (count < 0) {
            return kErrInvalidParameter;
        }
        while (rows.size() < static_cast<size_t>(count) && cursor_ < rows_.size()) {
            rows.push_back(rows_[cursor_++]);
        }
        return kOk;
    }

  private:
    RowSet rows_;
    size_t cursor_ = 0;
};

class StoreSession : public Session {
  public:
    StoreSession() : stores_(openMailStores()) {}

    HResult getMsgStoresTable(uint32_t, std::unique_ptr<Table>& table) override {
        RowSet rows;
        for (size_t i = 0; i < stores_.size(); ++i) {
            rows.push_back(
                {{kPrEntryId, storeIdOf(i, *stores_[i])}, {kPrDisplayName, stores_[i]->name()}});
        }
        table = std::make_unique<StoresTable>(std::move(rows));
        return kOk;
    }

    HResult openMsgStore(const Binary& entryId, uint32_t,
                         std::unique_ptr<MsgStore>& store) override {
        for (size_t i = 0; i < stores_.size(); ++i) {
            if (storeIdOf(i, *stores_[i]) == entryId) {
                store = std::make_unique<MsgStore>(stores_[i]);
                return kOk;
            }
        }
        return kErrInvalidEntryId;
    }

  private:
    std::vector<std::shared_ptr<StoreBackend>> stores_;
};

} // namespace

HResult Stream::write(std::span<const uint8_t> bytes) {
    target_->insert(target_->end(), bytes.begin(), bytes.end());
    return kOk;
}

HResult Stream::commit(uint32_t) {
    return kOk;
}

HResult Attach::setProps(std::span<const PropValue> props) {
    AttachmentData& attachment = message_->attachments[index_];
    for (const auto& prop : props) {
        if (const auto* size = std::get_if<uint32_t>(&prop.value);
            size != nullptr && prop.tag == kPrAttachSize) {
            attachment.declaredSize = *size;
        }
    }
    return setTextProp(props, kPrAttachFilename, attachment.fileName);
}

HResult Attach::openProperty(uint32_t tag, uint32_t interfaceOptions, uint32_t flags,
                             std::unique_ptr<Stream>& stream) {
    const AttachmentData& attachment = message_->attachments[index_];
    const HResult result =
        openWriteStream(tag, kPrAttachDataBin, interfaceOptions, flags, attachment.bytes, stream);
    if (failed(result)) {
        return result;
    }
    // The declared size is taken at once, so the data never has to move while it grows.
    try {
        attachment.bytes->reserve(attachment.declaredSize);
    } catch (const std::bad_alloc&) {
        stream.reset();
        return kErrNotEnoughMemory;
    }
    return kOk;
}

HResult Message::modifyRecipients(uint32_t flags, const RowSet& recipients) {
    if (flags != kModRecipAdd) {
        return kErrNoSupport;
    }
    std::vector<std::u16string> added;
    for (const auto& row : recipients) {
        const auto* type = valueOf<uint32_t>(findProp(row, kPrRecipientType));
        const auto* addrType = valueOf<std::u16string>(findProp(row, kPrAddrType));
        const auto* address = valueOf<std::u16string>(findProp(row, kPrEmailAddress));
        if (type == nullptr || *type != kMapiTo || addrType == nullptr || *addrType != u"SMTP" ||
            address == nullptr || address->empty()) {
            return kErrInvalidParameter;
        }
        added.push_back(*address);
    }
    data_->to.insert(data_->to.end(), added.begin(), added.end());
    return kOk;
}

HResult Message::setProps(std::span<const PropValue> props) {
    return setTextProp(props, kPrSubject, data_->subject);
}

HResult Message::openProperty(uint32_t tag, uint32_t interfaceOptions, uint32_t flags,
                              std::unique_ptr<Stream>& stream) {
    return openWriteStream(tag, kPrBody, interfaceOptions, flags, data_->body, stream);
}

HResult Message::createAttach(std::unique_ptr<Attach>& attach) {
    data_->attachments.emplace_back();
    attach = std::make_unique<Attach>(data_, data_->attachments.size() - 1);
    return kOk;
}

HResult Message::submitMessage(uint32_t) {
    const Envelope envelope = currentEnvelope();
    const auto write = [&](const MimeSink& sink) {
        return writeMimeMessage(*data_, envelope, sink);
    };
    return store_->deliver(write) ? kOk : kErrCallFailed;
}

HResult Folder::createMessage(std::unique_ptr<Message>& message) {
    message = std::make_unique<Message>(store_, std::make_shared<MessageData>());
    return kOk;
}

HResult MsgStore::getProps(std::span<const uint32_t> tags, uint32_t,
                           std::vector<PropValue>& values) {
    values.clear();
    for (const uint32_t tag : tags) {
        if (tag != kPrDraftsEntryId) {
            values.clear();
            return kErrNotFound;
        }
        values.push_back({tag, entryIdOf("drafts", *store_)});
    }
    return kOk;
}

HResult MsgStore::openEntry(const Binary& entryId, uint32_t, std::unique_ptr<Folder>& folder) {
    if (entryId != entryIdOf("drafts", *store_)) {
        return kErrInvalidEntryId;
    }
    folder = std::make_unique<Folder>(store_);
    return kOk;
}

HResult logonEx(std::unique_ptr<Session>& session) {
    session = std::make_unique<StoreSession>();
    return kOk;
}

} // namespace velmora::platform::mapi
