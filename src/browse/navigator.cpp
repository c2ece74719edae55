#include "browse/navigator.h"

#include "codecs/image_format.h"
#include "codecs/load_image.h"
#include "platform/device_fs.h"
#include "ui/message_box.h"
#include "ui/string_table.h"

#include <system_error>
#include <utility>

namespace velmora::browse {
namespace {

constexpr char16_t kLoadFailedCaption[] = u"Image Load Failed.";

bool loadWithCodecs(image::LoadedImage& image, std::u16string_view path) {
    return codecs::loadImage(image, path);
}

// Makes a read-ahead image stand for no picture. Its pixels stay for the next read-ahead to
// reuse: unmapping a large picture on the interface thread would cost milliseconds per step.
void forget(image::LoadedImage& image) {
    image.ready.store(false, std::memory_order_relaxed);
    image.path.clear();
}

// Empties a read-ahead image: no path, not ready, no pixels.
void drop(image::LoadedImage& image) {
    forget(image);
    image.release();
}

// The worker's body. It owns nothing but what it was handed; ready is its last write.
void readAhead(image::LoadedImage& image, const ImageLoader& loader, const std::u16string& path) {
    try {
        if (loader(image, path)) {
            image.ready.store(true, std::memory_order_release);
        }
    } catch (...) {
        // A failed read-ahead stays silent; the picture is loaded directly when shown.
    }
}

// The wait cursor for the lifetime of a load, restorable early.
class BusyCursor {
  public:
    explicit BusyCursor(NavigationHost& host) : host_(host) { host_.setBusy(true); }
    ~BusyCursor() { restore(); }
    BusyCursor(const BusyCursor&) = delete;
    BusyCursor& operator=(const BusyCursor&) = delete;

    void restore() {
        if (busy_) {
            busy_ = false;
            host_.setBusy(false);
        }
    }

  private:
    NavigationHost& host_;
    bool busy_ = true;
};

void reportLoadFailure(std::u16string_view path) {
    std::u16string text = ui::loadResourceString(ui::str::kLoadFailed);
    text += u":\n";
    text += platform::fileNamePart(path);
    ui::showMessage(
        {std::move(text), kLoadFailedCaption, ui::MessageIcon::Warning, ui::MessageButtons::Ok});
}

// The folder part of a path including its last '\'; the path itself when it has none.
std::u16string_view folderOf(std::u16string_view path) {
    const size_t cut = path.rfind(u'\\');
    return cut == std::u16string_view::npos ? path : path.substr(0, cut + 1);
}

} // namespace

Navigator::Navigator(NavigationHost& host, settings::AppSettings& settings)
    : Navigator(host, settings, loadWithCodecs) {}

Navigator::Navigator(NavigationHost& host, settings::AppSettings& settings, ImageLoader loader)
    : host_(host), settings_(settings), loader_(std::move(loader)) {
    current_->reportErrors = true;
    lookAhead_->reportErrors = false;
}

Navigator::~Navigator() {
    stopLookAhead();
}

void Navigator::clearFolderList() {
    list_.clear();
    currentIndex_ = 0;
}

void Navigator::appendToFolderList(std::u16string path, bool makeCurrent) {
    list_.push_back(std::move(path));
    if (makeCurrent) {
        currentIndex_ = count() - 1;
    }
}

void Navigator::removeEntry(int index) {
    if (index >= 0 && index < count()) {
        list_.erase(list_.begin() + index);
    }
    if (list_.empty()) {
        currentIndex_ = -1;
    } else if (currentIndex_ < 0) {
        currentIndex_ = 0;
    } else if (currentIndex_ >= count()) {
        currentIndex_ = count() - 1;
    }
}

std::u16string Navigator::currentPath() const {
    if (currentIndex_ < 0 || currentIndex_ >= count()) {
        return {};
    }
    return list_[static_cast<size_t>(currentIndex_)];
}

void Navigator::openInFolder(std::u16string_view path) {
    list_.clear();
    buildFolderList(folderOf(path), list_, settings_);
    currentIndex_ = 0;
    sortFolderList(list_);
    for (int i = 0; i < count(); ++i) {
        if (list_[static_cast<size_t>(i)] == path) {
            currentIndex_ = i;
            showCurrent();
            return;
        }
    }
}

void Navigator::openRecentFile(int index) {
    if (index < 0 || index >= settings_.recentFileCount()) {
        return;
    }
    const std::u16string path = settings_.recentFileAt(index);
    if (!platform::exists(path)) {
        ui::showError(ui::str::kFileMissing);
        return;
    }
    openInFolder(path);
}

void Navigator::openAtStartup(std::u16string_view path) {
    if (!path.empty() && platform::exists(path) &&
        codecs::formatFromExtension(path) != codecs::ImageFormat::None) {
        clearFolderList();
        appendToFolderList(std::u16string(path), true);
        showCurrent();
    } else if (settings_.openLastFile) {
        openRecentFile(0);
    }
}

void Navigator::showCurrent() {
    host_.updateNavButtons();
    if (currentIndex_ < 0 || currentIndex_ >= count()) {
        current_->release();
        current_->path.clear();
        host_.viewCleared();
        return;
    }
    host_.clearModified();
    const std::u16string path = list_[static_cast<size_t>(currentIndex_)];
    {
        BusyCursor busy(host_);
        if (!takeLookAhead(path) && !loader_(*current_, path)) {
            busy.restore();
            reportLoadFailure(path);
            return;
        }
    }
    settings_.addRecentFile(path);
    host_.imageShown();
    startLookAhead();
}

bool Navigator::takeLookAhead(const std::u16string& path) {
    // The path may be read only once ready is seen set: until then the worker may be writing it.
    if (!lookAhead_->ready.load(std::memory_order_acquire) || lookAhead_->path != path) {
        return false;
    }
    std::swap(current_, lookAhead_);
    current_->reportErrors = true;
    lookAhead_->reportErrors = false;
    forget(*lookAhead_);
    return true;
}

void Navigator::showIndex(int index) {
    currentIndex_ = index;
    showCurrent();
}

void Navigator::reenterFullScreen() {
    if (host_.isFullScreen()) {
        host_.enterFullScreen();
    }
}

void Navigator::showNext() {
    if (list_.empty()) {
        return;
    }
    if (currentIndex_ < count() - 1) {
        showIndex(currentIndex_ + 1);
    } else if (ui::askYesNo(ui::str::kBackToFirst) == ui::kButtonYes) {
        showIndex(0);
    }
    reenterFullScreen();
}

void Navigator::showPrevious() {
    if (list_.empty()) {
        return;
    }
    if (currentIndex_ > 0) {
        showIndex(currentIndex_ - 1);
    } else if (ui::askYesNo(ui::str::kGoToLast) == ui::kButtonYes) {
        showIndex(count() - 1);
    }
    reenterFullScreen();
}

void Navigator::showFirst() {
    if (!list_.empty() && currentIndex_ > 0) {
        showIndex(0);
    }
}

void Navigator::showLast() {
    if (!list_.empty() && currentIndex_ < count() - 1) {
        showIndex(count() - 1);
    }
}

void Navigator::startLookAhead() {
    stopLookAhead();
    if (!settings_.usePreload) {
        return;
    }
    // Emptied here, before the worker exists, so that a stale ready flag can never be seen
    // while the new worker writes the path.
    forget(*lookAhead_);
    const int next = currentIndex_ + 1;
    if (currentIndex_ < 0 || next >= count()) {
        return;
    }
    try {
        worker_ = std::thread(readAhead, std::ref(*lookAhead_), loader_,
                              list_[static_cast<size_t>(next)]);
    } catch (const std::system_error&) {
        // No thread to be had: the next picture is simply loaded when it is shown.
    }
}

void Navigator::stopLookAhead() {
    if (worker_.joinable()) {
        worker_.join();
    }
}

void Navigator::releaseLookAhead() {
    stopLookAhead();
    drop(*lookAhead_);
}

} // namespace velmora::browse
