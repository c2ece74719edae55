// The message stores behind the messaging session: Maildir folders and the system's mail
// submission program.
#pragma once

#include "platform/mail/mime_message.h"

#include <chrono>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace velmora::platform {

// $XDG_DATA_HOME/velmora/mail, or ~/.local/share/velmora/mail when that is not set.
std::filesystem::path defaultMailFolder();
// Where the Maildir stores live (tests point it into a sandbox).
void setMailFolder(const std::filesystem::path& folder);
const std::filesystem::path& mailFolder();

// Machine-hive key and value naming the mail submission program; an empty text means none.
inline constexpr char16_t kMailKey[] = u"Software\\Quorrin\\Velmora\\Mail";
inline constexpr char16_t kSendmailValue[] = u"SENDMAIL";
// The configured program, else an installed /usr/sbin/sendmail or /usr/lib/sendmail.
std::optional<std::filesystem::path> sendmailProgram();

// A program that takes longer than this to accept a message is killed: the submit fails.
inline constexpr std::chrono::seconds kSendmailTimeout{60};

// One store: its name and how a submitted message leaves it.
class StoreBackend {
  public:
    explicit StoreBackend(std::u16string name) : name_(std::move(name)) {}
    virtual ~StoreBackend() = default;
    const std::u16string& name() const { return name_; }
    [[nodiscard]] virtual bool deliver(const MimeWriter& mimeMessage) = 0;

  private:
    std::u16string name_;
};

// Every Maildir store by name (creating "Local" when there is none), then "Sendmail" when
// there is a submission program.
std::vector<std::shared_ptr<StoreBackend>> openMailStores();

} // namespace velmora::platform
