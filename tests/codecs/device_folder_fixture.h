// A test fixture whose device root is a fresh temporary folder, with the message boxes recorded,
// and a guard that makes file writes past a size fail as on a full disk.
#pragma once

#include "image/dib_image.h"
#include "platform/device_fs.h"
#include "support/recording_message_box.h"
#include "support/temp_dir.h"
#include "ui/string_table.h"

#include <gtest/gtest.h>

#include <array>
#include <csignal>
#include <fstream>
#include <iterator>
#include <string>
#include <sys/resource.h>
#include <vector>

namespace velmora::test {

using Bgr = std::array<int, 3>;

inline Bgr bgrAt(const image::DibImage& image, int x, int y) {
    const uint8_t* p = image.row(y) + 3 * x;
    return {p[0], p[1], p[2]};
}

class DeviceFolderTest : public ::testing::Test {
  protected:
    DeviceFolderTest() { platform::setDeviceRoot(dir.path()); }
    ~DeviceFolderTest() override { platform::setDeviceRoot("/"); }

    // Writes a file under the root and returns its device path (ASCII names only).
    std::u16string put(const std::string& name, const std::string& bytes) {
        dir.write(name, bytes);
        return devicePath(name);
    }
    static std::u16string devicePath(const std::string& name) {
        return u"\\" + std::u16string(name.begin(), name.end());
    }
    std::string contents(const std::string& name) const {
        std::ifstream in(dir.path() / name, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }
    // Names of the files directly under the root.
    std::vector<std::string> files() const {
        std::vector<std::string> names;
        for (const auto& entry : std::filesystem::directory_iterator(dir.path())) {
            names.push_back(entry.path().filename().string());
        }
        return names;
    }
    // String-table identifiers of the messages shown so far (316, 322 and 40079 only).
    std::vector<ui::StringId> shownIds() const {
        std::vector<ui::StringId> ids;
        for (const auto& request : boxes.shown) {
            for (ui::StringId id :
                 {ui::str::kImageCreateFailed, ui::str::kImageFaulty, ui::str::kWriteFailed}) {
                if (request.text == ui::loadResourceString(id)) {
                    ids.push_back(id);
                }
            }
        }
        return ids;
    }

    TempDir dir;
    RecordingMessageBox boxes;
};

// While alive, no file of this process can grow past maxBytes: writes beyond fail.
class FileSizeLimit {
  public:
    explicit FileSizeLimit(rlim_t maxBytes) {
        previousHandler_ = std::signal(SIGXFSZ, SIG_IGN);
        getrlimit(RLIMIT_FSIZE, &previous_);
        rlimit limited = previous_;
        limited.rlim_cur = maxBytes;
        setrlimit(RLIMIT_FSIZE, &limited);
    }
    ~FileSizeLimit() {
        setrlimit(RLIMIT_FSIZE, &previous_);
        std::signal(SIGXFSZ, previousHandler_);
    }
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;

  private:
    rlimit previous_{};
    void (*previousHandler_)(int) = nullptr;
};

} // namespace velmora::test
