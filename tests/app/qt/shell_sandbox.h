// A sandbox for shell tests: a device root and a configuration folder in a temporary folder,
// a scripted message-box answerer, and a viewer on an emulated 240x320 screen.
#pragma once

#include "app/main_window.h"
#include "app/viewer_app.h"
#include "codecs/readers.h"
#include "image/dib_image.h"
#include "platform/device_fs.h"
#include "platform/registry.h"
#include "support/recording_message_box.h"
#include "support/temp_dir.h"
#include "util/text.h"

#include <QSignalSpy>

#include <filesystem>
#include <fstream>
#include <memory>
#include <string>

namespace velmora::test {

class ShellSandbox {
  public:
    ShellSandbox() {
        std::filesystem::create_directories(root());
        std::filesystem::create_directories(config());
        platform::setDeviceRoot(root());
        platform::setConfigFolder(config());
    }

    std::filesystem::path root() const { return dir_.path() / "root"; }
    std::filesystem::path config() const { return dir_.path() / "config"; }
    std::filesystem::path userHive() const { return config() / "user.reg"; }

    // Starts a viewer and waits until its start-up timer has run; nullptr when it never did.
    std::unique_ptr<app::ViewerApp> startViewer(std::u16string commandLine = {},
                                                std::optional<platform::qt::EmulatedScreen> screen =
                                                    platform::qt::EmulatedScreen{240, 320, 96}) {
        auto viewer = std::make_unique<app::ViewerApp>(screen, std::move(commandLine));
        QSignalSpy started(viewer.get(), &app::ViewerApp::startupFinished);
        viewer->start();
        if (started.count() == 0 && !started.wait(5000)) {
            return nullptr;
        }
        return viewer;
    }

    // Writes a PNG picture of the given size below the root; returns its host path.
    std::filesystem::path writePicture(const std::string& name, int width, int height) const {
        image::DibImage picture;
        if (!picture.create(width, height)) {
            qFatal("no memory for a test picture");
        }
        picture.fillColor(0x3366CC);
        const auto host = root() / name;
        std::filesystem::create_directories(host.parent_path());
        static_cast<void>(codecs::savePng(picture, *platform::toDevicePath(host)));
        return host;
    }

    // Writes the picture as a JPEG (quality 90) below the root and returns the file's bytes, for
    // tests that add segments to it.
    std::string writeJpeg(const std::string& name, const image::DibImage& picture) const {
        const auto host = root() / name;
        if (!codecs::saveJpeg(picture, *platform::toDevicePath(host), 90)) {
            qFatal("test picture not written");
        }
        return readFile(host);
    }

    static std::string readFile(const std::filesystem::path& path) {
        std::ifstream in(path, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }

    static std::u16string u16(const std::filesystem::path& path) {
        return util::toUtf16(path.string());
    }

    // Where a dialog of the viewer belongs: over the whole window on the handheld, centred over it
    // on a desktop.
    static bool placedOverWindow(app::ViewerApp& viewer, const QWidget& dialog) {
        const QRect window = viewer.mainWindow().geometry();
        if (viewer.screen().isEmulated()) {
            return dialog.size() == window.size();
        }
        return window.contains(dialog.geometry()) &&
               (dialog.geometry().center() - window.center()).manhattanLength() <= 2;
    }

    RecordingMessageBox boxes;

  private:
    TempDir dir_;
};

} // namespace velmora::test
