// A navigator wired to a recording host, a recording loader and a temporary device root.
#pragma once

#include "bmp_files.h"
#include "browse/navigator.h"
#include "codecs/load_image.h"
#include "platform/device_fs.h"
#include "settings/app_settings.h"
#include "support/recording_message_box.h"
#include "support/temp_dir.h"
#include "ui/message_box.h"
#include "util/text.h"

#include <gtest/gtest.h>

#include <sys/resource.h>
#include <unistd.h>

#include <atomic>
#include <functional>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

namespace velmora::test {

class RecordingHost : public browse::NavigationHost {
  public:
    bool isFullScreen() const override { return fullScreen; }
    void enterFullScreen() override {
        fullScreen = true;
        ++fullScreenEntries;
    }
    void updateNavButtons() override { ++navButtonUpdates; }
    void setBusy(bool busy) override {
        EXPECT_NE(busy, this->busy) << "wait cursor shown or restored twice";
        this->busy = busy;
        if (busy && onBusy) {
            onBusy();
        }
    }
    void clearModified() override { modified = false; }
    void imageShown() override { ++shownCount; }
    void viewCleared() override { ++clearedCount; }
    image::ViewRequest viewRequest() const override { return request; }
    void imageShownComposed(const image::ComposedView& ahead) override {
        ++shownCount;
        composedShown.push_back(ahead.state);
        const auto* bits = ahead.surface.bits();
        composedSurface.assign(bits, bits + ahead.surface.stride() * ahead.surface.height());
    }
    void wholePictureDecoded() override { ++wholeNotices; }
    void wholePictureShown(const image::ComposedView* ahead) override {
        ++wholeShownCount;
        wholeComposedState = ahead != nullptr ? std::optional(ahead->state) : std::nullopt;
    }

    std::function<void()> onBusy; // runs when the wait cursor is shown
    image::ViewRequest request;   // no surface: nothing composed ahead
    std::vector<image::ViewState> composedShown;
    std::vector<uint8_t> composedSurface; // of the last imageShownComposed
    std::atomic<int> wholeNotices{0};     // from the worker
    int wholeShownCount = 0;
    std::optional<image::ViewState> wholeComposedState; // of the last wholePictureShown

    bool fullScreen = false;
    bool busy = false;
    bool modified = false;
    int fullScreenEntries = 0;
    int navButtonUpdates = 0;
    int shownCount = 0;
    int clearedCount = 0;
};

// Wraps codecs::loadImage and records each call with the thread it ran on.
class LoadRecorder {
  public:
    struct Call {
        std::u16string path;
        bool onWorker = false;
        int nice = 0; // of the thread that loaded
    };
    // Runs before each load; false makes the load fail without reading the file.
    using BeforeLoad = std::function<bool(std::u16string_view path, bool onWorker)>;

    browse::ImageLoader loader() {
        return [this](image::LoadedImage& image, std::u16string_view path, std::stop_token stop) {
            const bool onWorker = std::this_thread::get_id() != interfaceThread_;
            {
                std::lock_guard lock(mutex_);
                calls_.push_back({std::u16string(path), onWorker, threadNice()});
            }
            if (beforeLoad && !beforeLoad(path, onWorker)) {
                return codecs::LoadResult{codecs::LoadCause::CannotOpen};
            }
            return codecs::loadImage(image, path, stop);
        };
    }

    static int threadNice() { return getpriority(PRIO_PROCESS, static_cast<id_t>(gettid())); }

    std::vector<Call> calls() const {
        std::lock_guard lock(mutex_);
        return calls_;
    }
    int countFor(std::u16string_view path) const {
        int n = 0;
        for (const Call& call : calls()) {
            n += call.path == path ? 1 : 0;
        }
        return n;
    }

    BeforeLoad beforeLoad; // set before the navigator starts any worker

  private:
    std::thread::id interfaceThread_ = std::this_thread::get_id();
    mutable std::mutex mutex_;
    std::vector<Call> calls_;
};

class NavigatorTest : public ::testing::Test {
  protected:
    void SetUp() override {
        platform::setDeviceRoot(dir.path());
        ui::setBeforeMessageHook([this] { host.fullScreen = false; });
    }
    void TearDown() override {
        navigator.stopLookAhead();
        ui::setBeforeMessageHook({});
        platform::setDeviceRoot("/");
    }

    // Writes a 4 x 3 picture of one shade below the device root; returns its device path.
    std::u16string picture(const std::string& relative, uint8_t shade) {
        return file(relative, solidBmp(4, 3, shade));
    }
    std::u16string file(const std::string& relative, const std::string& bytes) {
        dir.write(relative, bytes);
        std::u16string path = u"\\" + util::toUtf16(relative);
        for (char16_t& c : path) {
            c = c == u'/' ? u'\\' : c;
        }
        return path;
    }
    void useList(const std::vector<std::u16string>& paths, int current = 0) {
        navigator.clearFolderList();
        for (size_t i = 0; i < paths.size(); ++i) {
            navigator.appendToFolderList(paths[i], static_cast<int>(i) == current);
        }
    }
    // The shade of the shown picture (first byte of its first row); -1 without pixels.
    int shownShade() const {
        const image::LoadedImage& image = navigator.viewed();
        return image.hasPixels() ? image.row(0)[0] : -1;
    }

    TempDir dir;
    RecordingMessageBox boxes;
    RecordingHost host;
    settings::AppSettings settings;
    LoadRecorder loads;
    browse::Navigator navigator{host, settings, loads.loader()};
};

} // namespace velmora::test
