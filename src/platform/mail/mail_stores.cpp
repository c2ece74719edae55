#include "platform/mail/mail_stores.h"

#include "platform/mail/maildir.h"
#include "platform/mail/program_pipe.h"
#include "platform/registry.h"
#include "platform/registry_values.h"
#include "util/text.h"

#include <algorithm>
#include <cstdlib>
#include <unistd.h>

namespace velmora::platform {
namespace fs = std::filesystem;
namespace {

constexpr char16_t kLocalStore[] = u"Local";

fs::path& mailFolderSlot() {
    static fs::path folder = defaultMailFolder();
    return folder;
}

class MaildirStore : public StoreBackend {
  public:
    MaildirStore(std::u16string name, fs::path outbox)
        : StoreBackend(std::move(name)), outbox_(std::move(outbox)) {}
    bool deliver(const MimeWriter& mimeMessage) override {
        return deliverToMaildir(outbox_, mimeMessage);
    }

  private:
    fs::path outbox_;
};

class SendmailStore : public StoreBackend {
  public:
    explicit SendmailStore(fs::path program)
        : StoreBackend(u"Sendmail"), program_(std::move(program)) {}
    bool deliver(const MimeWriter& mimeMessage) override {
        return runWithInput({program_.string(), "-t", "-oi"}, mimeMessage, kSendmailTimeout);
    }

  private:
    fs::path program_;
};

std::optional<std::u16string> configuredSendmail() {
    const RegistryKey key = registry().openKey(Hive::LocalMachine, kMailKey);
    const ValueQuery query = key.queryValue(kSendmailValue, 4096);
    if (!query.ok || query.type != kRegSz) {
        return std::nullopt;
    }
    return textFromBytes(query.bytes);
}

std::vector<fs::path> maildirStoreFolders() {
    std::error_code error;
    fs::create_directories(mailFolder() / kLocalStore, error);
    std::vector<fs::path> folders;
    for (fs::directory_iterator it(mailFolder(), error), end; !error && it != end;
         it.increment(error)) {
        const std::string name = it->path().filename().string();
        if (!name.empty() && name[0] != '.' && it->is_directory(error)) {
            folders.push_back(it->path());
        }
    }
    if (folders.empty()) {
        folders.push_back(mailFolder() / kLocalStore);
    }
    std::sort(folders.begin(), folders.end());
    return folders;
}

} // namespace

fs::path defaultMailFolder() {
    const char* data = std::getenv("XDG_DATA_HOME");
    if (data != nullptr && data[0] == '/') {
        return fs::path(data) / "velmora" / "mail";
    }
    const char* home = std::getenv("HOME");
    return fs::path(home != nullptr ? home : "/") / ".local" / "share" / "velmora" / "mail";
}

void setMailFolder(const fs::path& folder) {
    mailFolderSlot() = folder;
}

const fs::path& mailFolder() {
    return mailFolderSlot();
}

std::optional<fs::path> sendmailProgram() {
    if (const auto configured = configuredSendmail()) {
        return configured->empty() ? std::nullopt
                                   : std::optional<fs::path>(util::toUtf8(*configured));
    }
    for (const char* candidate : {"/usr/sbin/sendmail", "/usr/lib/sendmail"}) {
        if (access(candidate, X_OK) == 0) {
            return fs::path(candidate);
        }
    }
    return std::nullopt;
}

std::vector<std::shared_ptr<StoreBackend>> openMailStores() {
    std::vector<std::shared_ptr<StoreBackend>> stores;
    for (const auto& folder : maildirStoreFolders()) {
        stores.push_back(std::make_shared<MaildirStore>(util::toUtf16(folder.filename().string()),
                                                        folder / "Outbox"));
    }
    if (const auto program = sendmailProgram()) {
        stores.push_back(std::make_shared<SendmailStore>(*program));
    }
    return stores;
}

} // namespace velmora::platform
