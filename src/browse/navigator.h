// Navigator: the folder list with its current index, the shown image and the read-ahead that
// decodes the following picture in the background, so that moving on is immediate.
//
// Threads: every member function runs on the interface thread; read_ahead.h says what the
// read-ahead worker touches.
#pragma once

#include "browse/folder_list.h"
#include "browse/navigation_host.h"
#include "browse/picture_preview.h"
#include "browse/preview_ahead.h"
#include "browse/read_ahead.h"
#include "image/loaded_image.h"
#include "settings/app_settings.h"

#include <memory>
#include <string>
#include <string_view>

namespace velmora::browse {

// The picture openAtStartup(argument) shows first: the argument when it names an existing
// picture, otherwise the newest recent file when the settings ask for it; empty for none.
std::u16string startupPicture(std::u16string_view argument, const settings::AppSettings& settings);

// Whether path names an existing file of a known picture format, as a start-up picture must.
[[nodiscard]] bool isStartupPicture(std::u16string_view path);

class Navigator {
  public:
    Navigator(NavigationHost& host, settings::AppSettings& settings);
    Navigator(NavigationHost& host, settings::AppSettings& settings, ImageLoader loader,
              PreviewLoader preview = loadPreview);
    ~Navigator(); // abandons a running worker
    Navigator(const Navigator&) = delete;
    Navigator& operator=(const Navigator&) = delete;

    // The list, as the open dialog and the thumbnail view fill it.
    void clearFolderList(); // index 0
    void appendToFolderList(std::u16string path, bool makeCurrent);
    // Removes one entry keeping the order, then clamps the index: -1 for an empty list, 0 when
    // it was negative, count - 1 when it is past the end.
    void removeEntry(int index);

    const FolderList& folderList() const { return list_; }
    int count() const { return static_cast<int>(list_.size()); }
    int currentIndex() const { return currentIndex_; }
    // The path at the current index, empty when the index is outside the list.
    std::u16string currentPath() const;

    // Lists and sorts the folder of path (an existing file) and shows path when it is listed;
    // otherwise the list, its index and the shown picture stay as they were.
    void openInFolder(std::u16string_view path);
    // Recent file i (0..2) within its sorted folder; kFileMissing when the file is gone.
    void openRecentFile(int index);
    // Start-up: an existing picture path becomes a one-entry list and is shown; otherwise the
    // newest recent file is opened when the settings ask for it. named: the path was given on
    // the command line (empty when it lies outside the device root); a named file that does not
    // exist is reported (kFileMissing) before falling back.
    void openAtStartup(std::u16string_view path, bool named);
    // What openAtStartup(path, named) would show is at hand: decoded by the read started before
    // the window existed, or a big JPEG that reduceStartupPictureAhead is reducing.
    [[nodiscard]] bool startupPictureAtHand(std::u16string_view path, bool named) const;
    // Before the window has its final surface: when openAtStartup(path, named) would show a big
    // JPEG reduced and nothing reads it yet, reduces it on the worker for a view of about
    // request's size (no smaller than the view will be).
    void reduceStartupPictureAhead(std::u16string_view path, bool named,
                                   const image::ViewRequest& request);

    // Makes the entry at the current index the shown picture (black view for an empty list).
    // A read-ahead still decoding that very picture is waited for and its result taken, unless
    // the picture is a big JPEG: that is shown at once from a reduced decode (picture_preview.h)
    // while the worker, started here or still running, decodes the whole picture. One decoding
    // another picture is abandoned. When the load fails the
    // index stays on that entry and the view is emptied, so that nothing acts on a picture other
    // than the one the failure box named.
    void showCurrent();
    // Replaces the list by the open dialog's and shows its entry at index, unless the user keeps
    // the shown picture.
    void showList(const FolderList& list, int index);
    // Shows the current entry again from its file (restore), unless the user keeps the edits.
    void reload();
    // Next/previous wrap around after a yes/no question; first/last never ask. Each asks the
    // host before it replaces the shown picture.
    void showNext();
    void showPrevious();
    void showFirst();
    void showLast();

    // Waits for the running worker, if any, and starts one for the following entry when the
    // settings allow reading ahead; otherwise the read-ahead picture is freed. Nothing while the
    // worker decodes the whole of the shown picture.
    void startLookAhead();
    // Waits for the running worker, if any.
    void stopLookAhead();
    // Stops the running worker, if any, before it is done.
    void abandonLookAhead();
    // Takes the whole picture behind a reduced view, stops the worker and frees the read-ahead
    // picture (edits do this to make room).
    void releaseLookAhead();
    // The host's viewRequest() changed (a new surface size): the read-ahead picture, when it is
    // decoded, has its view composed again for it off the interface thread.
    void viewRequestChanged();
    // Takes over a read-ahead started before the navigator existed (the start-up picture,
    // decoded while the window system starts); showCurrent then takes its picture as usual.
    void adoptReadAhead(ReadAhead&& readAhead);

    // The shown picture, whole: while only its reduced view is there, waits for the worker's
    // whole decode (wait cursor) and takes it, as takeWholePicture does.
    image::LoadedImage& current();
    // The pixels the view is drawn from: the current picture or its reduced decode.
    const image::LoadedImage& viewed() const { return *current_; }
    // The size of the shown picture, whole (0 x 0 without one).
    image::ViewSize shownSize() const;
    // Only a reduced decode of the shown picture is there yet.
    [[nodiscard]] bool showsReduced() const { return wholeSize_.width > 0; }
    // The worker's whole decode of the shown picture has ended: takes its result (the host shows
    // it), or loads the picture here when the decode failed. Nothing otherwise.
    void takeWholePicture();
    // The read-ahead picture; only after stopLookAhead.
    const image::LoadedImage& lookAhead() const { return lookAhead_.image(); }

  private:
    void showIndex(int index);
    void reenterFullScreen();
    // Decodes the whole picture behind the reduced view on the worker (here without one).
    void readWholePicture();
    // Waits for that decode and shows its result, or loads the picture here when it failed.
    void settleWholePicture();
    // path's reduced view, made on a worker, is ready to be shown (and the settings allow).
    [[nodiscard]] bool reducedViewAhead(std::u16string_view path) const;
    // Decodes path reduced into the current image when its view would show it at half size or
    // less (and the settings allow): true when the reduced view is what is shown now.
    bool showReduced(const std::u16string& path);
    // A load on this thread that failed: speaks and empties the view.
    void failLoad(const std::u16string& path);
    // The picture openAtStartup(path, named) shows first, when it reports nothing before.
    std::u16string startupPictureOpened(std::u16string_view path, bool named) const;

    NavigationHost& host_;
    settings::AppSettings& settings_;
    ImageLoader loader_;
    ImageLoader aheadLoader_; // loader_, at the read-ahead's lower priority
    PreviewLoader preview_;
    FolderList list_;
    int currentIndex_ = 0;
    std::unique_ptr<image::LoadedImage> current_ = std::make_unique<image::LoadedImage>();
    image::ViewSize wholeSize_; // of the picture whose reduced decode current_ holds; else 0 x 0
    PreviewAhead previewAhead_; // written by the worker of readWholePicture; outlives it
    ReadAhead lookAhead_;
    bool lookAheadTells_ = false; // the running worker calls host_.wholePictureDecoded() when done
    bool reducesStartup_ = false; // the running worker only reduces the start-up picture
};

} // namespace velmora::browse
