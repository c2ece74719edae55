// A fixture whose device root is a fresh temporary folder, with message boxes recorded.
#pragma once

#include "platform/device_fs.h"
#include "support/recording_message_box.h"
#include "support/temp_dir.h"
#include "util/text.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

namespace velmora::test {

class DeviceRootTest : public ::testing::Test {
  protected:
    DeviceRootTest() { platform::setDeviceRoot(dir.path()); }
    ~DeviceRootTest() override { platform::setDeviceRoot("/"); }

    // Creates folders below the root ("a/b").
    void folder(const std::string& relative) const {
        std::filesystem::create_directories(dir.path() / relative);
    }
    // Writes a file below the root and returns its device path.
    std::u16string file(const std::string& relative, const std::string& bytes = {}) const {
        dir.write(relative, bytes);
        return devicePath(relative);
    }
    static std::u16string devicePath(const std::string& relative) {
        std::u16string path = u"\\" + util::toUtf16(relative);
        for (char16_t& c : path) {
            c = c == u'/' ? u'\\' : c;
        }
        return path;
    }

    TempDir dir;
    RecordingMessageBox boxes;
};

} // namespace velmora::test
