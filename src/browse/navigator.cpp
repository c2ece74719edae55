#include "browse/navigator.h"

#include "codecs/image_format.h"
#include "codecs/load_image.h"
#include "image/spare_pixels.h"
#include "platform/background_thread.h"
#include "platform/device_fs.h"
#include "ui/message_box.h"
#include "ui/string_table.h"

#include <algorithm>
#include <utility>

namespace velmora::browse {
namespace {

constexpr char16_t kLoadFailedCaption[] = u"Image Load Failed.";

// The wait cursor for the lifetime of a load, restorable early; nothing when not needed.
class BusyCursor {
  public:
    BusyCursor(NavigationHost& host, bool needed) : host_(host), busy_(needed) {
        if (busy_) {
            host_.setBusy(true);
        }
    }
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
    bool busy_;
};

// The message a load's result shows before the load failure or the picture; others show none.
constexpr std::pair<codecs::LoadCause, ui::StringId> kReaderMessages[] = {
    {codecs::LoadCause::Faulty, ui::str::kImageFaulty},
    {codecs::LoadCause::LoadedNotUpright, ui::str::kImageCreateFailed},
    {codecs::LoadCause::TooLarge, ui::str::kImageCreateFailed},
    {codecs::LoadCause::OutOfMemory, ui::str::kImageCreateFailed},
};

// Shows the message of a load's result, if it has one; true when the picture loaded.
bool reported(codecs::LoadResult result) {
    for (const auto& [cause, message] : kReaderMessages) {
        if (cause == result.cause) {
            ui::showError(message);
        }
    }
    return static_cast<bool>(result);
}

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

bool isStartupPicture(std::u16string_view path) {
    return !path.empty() && platform::exists(path) &&
           codecs::formatFromExtension(path) != codecs::ImageFormat::None;
}

std::u16string startupPicture(std::u16string_view argument, const settings::AppSettings& settings) {
    if (isStartupPicture(argument)) {
        return std::u16string(argument);
    }
    if (settings.openLastFile && settings.recentFileCount() > 0) {
        return settings.recentFileAt(0);
    }
    return {};
}

Navigator::Navigator(NavigationHost& host, settings::AppSettings& settings)
    : Navigator(host, settings, loadWithCodecs) {}

Navigator::Navigator(NavigationHost& host, settings::AppSettings& settings, ImageLoader loader,
                     PreviewLoader preview)
    : host_(host), settings_(settings), loader_(std::move(loader)),
      aheadLoader_(behindInterface(loader_)), preview_(std::move(preview)) {}

Navigator::~Navigator() {
    abandonLookAhead();
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
    FolderList folder;
    buildFolderList(folderOf(path), folder, settings_);
    sortFolderList(folder);
    // A path that is not listed changes nothing: the index keeps naming the shown picture.
    const auto found = std::find(folder.begin(), folder.end(), path);
    if (found == folder.end() || !host_.mayLeavePicture()) {
        return;
    }
    currentIndex_ = static_cast<int>(found - folder.begin());
    list_ = std::move(folder);
    showCurrent();
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

void Navigator::openAtStartup(std::u16string_view path, bool named) {
    if (isStartupPicture(path)) {
        clearFolderList();
        appendToFolderList(std::u16string(path), true);
        showCurrent();
        return;
    }
    if (named && (path.empty() || !platform::exists(path))) {
        ui::showError(ui::str::kFileMissing);
    }
    if (settings_.openLastFile) {
        openRecentFile(0);
    }
}

std::u16string Navigator::startupPictureOpened(std::u16string_view path, bool named) const {
    // A named file that is not a picture is reported before the fallback is opened.
    if (named && !isStartupPicture(path)) {
        return {};
    }
    return startupPicture(path, settings_);
}

bool Navigator::startupPictureAtHand(std::u16string_view path, bool named) const {
    const std::u16string shown = startupPictureOpened(path, named);
    if (shown.empty()) {
        return false;
    }
    return (reducesStartup_ && lookAhead_.isReading(shown)) || lookAhead_.hasDecoded(shown);
}

void Navigator::reduceStartupPictureAhead(std::u16string_view path, bool named,
                                          const image::ViewRequest& request) {
    const std::u16string shown = startupPictureOpened(path, named);
    if (shown.empty() || !settings_.reducedFirstView || !preview_ || lookAhead_.isReading(shown) ||
        !isPreviewed(shown, request)) {
        return;
    }
    previewAhead_.forget(); // nothing runs before the start-up
    // The worker's own picture stays empty: only the reduced view is made, and it tells nobody.
    lookAheadTells_ = false;
    reducesStartup_ = lookAhead_.start(
        [this, request](image::LoadedImage&, std::u16string_view picture, std::stop_token) {
            previewAhead_.decode(preview_, std::u16string(picture), request);
            return codecs::LoadResult{codecs::LoadCause::Unsupported};
        },
        shown, {});
}

void Navigator::showCurrent() {
    host_.updateNavButtons();
    wholeSize_ = {};
    if (currentIndex_ < 0 || currentIndex_ >= count()) {
        lookAhead_.abandon();
        image::keepSparePixels(*current_);
        current_->path.clear();
        host_.viewCleared();
        return;
    }
    host_.clearModified();
    const std::u16string path = list_[static_cast<size_t>(currentIndex_)];
    if (!lookAhead_.isReading(path)) {
        // The whole of a picture paged away from, or a read-ahead not wanted now.
        lookAhead_.abandon();
    }
    const image::ComposedView* composed = nullptr;
    // A worker that tells when it is done still decoding this picture: a reduced decode, when
    // the picture has one, is shown at once and the worker's whole picture replaces it later.
    const bool workerWillTell =
        lookAheadTells_ && lookAhead_.isReading(path) && !lookAhead_.hasFinished(path);
    {
        // A picture the worker has finished, or a reduced view made ahead, is only swapped in:
        // too quick for a wait cursor, whose first showing loads the cursor theme.
        BusyCursor busy(host_, !lookAhead_.readyFor(path) && !reducedViewAhead(path));
        if (workerWillTell && showReduced(path)) {
            // The reduced view stands until the worker's notice.
        } else {
            if (lookAhead_.isReading(path)) {
                // Decoding it again here would only race the worker to the same result.
                lookAhead_.wait();
            }
            if (lookAhead_.readyFor(path)) {
                composed = lookAhead_.handOver(current_, host_.viewRequest());
            } else if (showReduced(path)) {
                // The view shows the reduced decode until the whole picture arrives.
            } else if (!reported(loader_(*current_, path, {}))) {
                busy.restore();
                failLoad(path);
                return;
            }
        }
    }
    settings_.addRecentFile(path);
    if (composed != nullptr) {
        host_.imageShownComposed(*composed);
    } else {
        host_.imageShown();
    }
    if (!showsReduced()) {
        startLookAhead();
    } else if (!lookAhead_.isReading(path)) {
        readWholePicture();
    }
}

bool Navigator::reducedViewAhead(std::u16string_view path) const {
    return settings_.reducedFirstView && preview_ && previewAhead_.has(path, host_.viewRequest());
}

bool Navigator::showReduced(const std::u16string& path) {
    if (!settings_.reducedFirstView || !preview_) {
        return false;
    }
    const image::ViewRequest request = host_.viewRequest();
    return previewAhead_.take(path, request, current_, wholeSize_) ||
           preview_(*current_, path, request, wholeSize_);
}

void Navigator::failLoad(const std::u16string& path) {
    wholeSize_ = {};
    // The buffer may hold a part of the failed picture or black: never show it.
    image::keepSparePixels(*current_);
    host_.viewCleared();
    reportLoadFailure(path);
}

void Navigator::readWholePicture() {
    // No worker runs here: the one for another picture was abandoned when this one was shown.
    previewAhead_.forget();
    reducesStartup_ = false;
    const int next = currentIndex_ + 1;
    ImageLoader job = aheadLoader_;
    if (next < count()) {
        // The next picture's reduced view first: a key pressed before the whole decode is done
        // finds it ready.
        job = [this, nextPath = list_[static_cast<size_t>(next)], request = host_.viewRequest()](
                  image::LoadedImage& image, std::u16string_view path, std::stop_token stop) {
            platform::runBehindInterface();
            previewAhead_.decode(preview_, nextPath, request);
            return loader_(image, path, stop);
        };
    }
    lookAheadTells_ = lookAhead_.start(job, current_->path, host_.viewRequest(),
                                       [this] { host_.wholePictureDecoded(); });
    if (!lookAheadTells_) {
        settleWholePicture();
    }
}

void Navigator::settleWholePicture() {
    const std::u16string path = current_->path;
    const image::ComposedView* composed = nullptr;
    {
        BusyCursor busy(host_, !lookAhead_.readyFor(path));
        if (lookAhead_.isReading(path)) {
            lookAhead_.wait();
        }
        wholeSize_ = {};
        if (lookAhead_.readyFor(path)) {
            composed = lookAhead_.handOver(current_, host_.viewRequest());
        } else if (!reported(loader_(*current_, path, {}))) {
            busy.restore();
            failLoad(path);
            return;
        }
    }
    host_.wholePictureShown(composed);
    startLookAhead();
}

void Navigator::takeWholePicture() {
    const std::u16string& path = current_->path;
    if (showsReduced() && (lookAhead_.readyFor(path) || lookAhead_.hasFinished(path))) {
        settleWholePicture();
    }
}

image::LoadedImage& Navigator::current() {
    if (showsReduced()) {
        settleWholePicture();
    }
    return *current_;
}

image::ViewSize Navigator::shownSize() const {
    if (showsReduced()) {
        return wholeSize_;
    }
    return current_->hasPixels() ? image::ViewSize{current_->width(), current_->height()}
                                 : image::ViewSize{};
}

void Navigator::showList(const FolderList& list, int index) {
    if (!host_.mayLeavePicture()) {
        return;
    }
    clearFolderList();
    for (size_t i = 0; i < list.size(); ++i) {
        appendToFolderList(list[i], static_cast<int>(i) == index);
    }
    showCurrent();
}

void Navigator::reload() {
    if (host_.mayLeavePicture()) {
        showCurrent();
    }
}

void Navigator::showIndex(int index) {
    if (!host_.mayLeavePicture()) {
        return;
    }
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
    if (showsReduced()) {
        return; // the worker decodes the shown picture; taking it starts the read-ahead
    }
    stopLookAhead();
    reducesStartup_ = false;
    const int next = currentIndex_ + 1;
    // Without a worker the read-ahead picture's memory is given back.
    // The worker tells when it is done, in case the picture is shown before that.
    lookAheadTells_ =
        settings_.usePreload && currentIndex_ >= 0 && next < count() &&
        lookAhead_.start(aheadLoader_, list_[static_cast<size_t>(next)], host_.viewRequest(),
                         [this] { host_.wholePictureDecoded(); });
    if (!lookAheadTells_) {
        lookAhead_.release();
    }
}

void Navigator::stopLookAhead() {
    lookAhead_.wait();
}

void Navigator::abandonLookAhead() {
    lookAhead_.abandon();
}

void Navigator::releaseLookAhead() {
    if (showsReduced()) {
        settleWholePicture();
    }
    lookAhead_.release();
}

void Navigator::viewRequestChanged() {
    if (showsReduced()) {
        return; // the whole picture's view is composed again when it is taken
    }
    lookAhead_.recompose(host_.viewRequest());
    // A worker composing again tells nobody when it is done: wait for it rather than show a
    // reduced view that nothing would replace.
    lookAheadTells_ = false;
}

void Navigator::adoptReadAhead(ReadAhead&& readAhead) {
    lookAhead_ = std::move(readAhead);
    lookAheadTells_ = false; // started before there was anyone to tell
}

} // namespace velmora::browse
