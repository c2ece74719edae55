// A sandbox for mail tests: settings hives, Maildir stores and a device root in a temporary
// folder, no submission program unless a test names one, debug lines recorded.
#pragma once

#include "platform/device_fs.h"
#include "platform/mail/debug_output.h"
#include "platform/mail/mail_stores.h"
#include "platform/registry.h"
#include "support/temp_dir.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace velmora::test {

class MailSandbox {
  public:
    MailSandbox() {
        std::filesystem::create_directories(root());
        platform::setConfigFolder(dir_.path() / "config");
        platform::setMailFolder(mail());
        platform::setDeviceRoot(root());
        setSendmail("");
        platform::setDebugOutputSink(
            [this](std::string_view line) { debugLines.emplace_back(line); });
    }
    ~MailSandbox() { platform::setDebugOutputSink({}); }
    MailSandbox(const MailSandbox&) = delete;
    MailSandbox& operator=(const MailSandbox&) = delete;

    std::filesystem::path root() const { return dir_.path() / "root"; }
    std::filesystem::path mail() const { return dir_.path() / "mail"; }

    // The submission program's path in the machine hive; empty for none.
    static void setSendmail(const std::string& program) {
        (void)platform::registry()
            .createKey(platform::Hive::LocalMachine, platform::kMailKey)
            .setString(platform::kSendmailValue, std::u16string(program.begin(), program.end()));
    }

    // An executable shell script in the sandbox.
    std::filesystem::path writeScript(const std::string& name, const std::string& body) const {
        const auto script = dir_.write("bin/" + name, "#!/bin/sh\n" + body + "\n");
        std::filesystem::permissions(script, std::filesystem::perms::owner_all);
        return script;
    }

    std::filesystem::path writeFile(const std::string& relative, const std::string& bytes) const {
        return dir_.write(relative, bytes);
    }

    // The messages delivered into a store's Outbox/new, sorted by file name.
    std::vector<std::string> delivered(const std::string& store) const {
        std::vector<std::filesystem::path> files;
        std::error_code error;
        for (std::filesystem::directory_iterator it(mail() / store / "Outbox" / "new", error), end;
             !error && it != end; it.increment(error)) {
            files.push_back(it->path());
        }
        std::sort(files.begin(), files.end());
        std::vector<std::string> messages;
        for (const auto& file : files) {
            std::ostringstream text;
            text << std::ifstream(file, std::ios::binary).rdbuf();
            messages.push_back(text.str());
        }
        return messages;
    }

    std::vector<std::string> debugLines;

  private:
    TempDir dir_;
};

} // namespace velmora::test
