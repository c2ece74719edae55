// Navigator: the folder list with its current index, the shown and read-ahead images, and the
// worker that decodes the following picture in the background so that moving on is immediate.
//
// Threads: every member function runs on the interface thread. The look-ahead worker is handed,
// when it starts, the path it reads and the image it fills; it touches nothing else, and sets the
// image's ready flag (release order) as its last write. The interface thread reads a look-ahead
// image's path only after it has seen ready set (acquire order), and waits for the worker
// (stopLookAhead) before it reuses or releases that image.
#pragma once

#include "browse/folder_list.h"
#include "browse/navigation_host.h"
#include "image/loaded_image.h"
#include "settings/app_settings.h"

#include <functional>
#include <string>
#include <string_view>
#include <thread>

namespace velmora::browse {

// Decodes path into image; runs on the interface thread and on the worker, so it must keep its
// state per call. The program uses codecs::loadImage.
using ImageLoader = std::function<bool(image::LoadedImage&, std::u16string_view)>;

class Navigator {
  public:
    Navigator(NavigationHost& host, settings::AppSettings& settings);
    Navigator(NavigationHost& host, settings::AppSettings& settings, ImageLoader loader);
    ~Navigator(); // waits for a running worker
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
    // otherwise the new list stays with index 0 and nothing new is shown.
    void openInFolder(std::u16string_view path);
    // Recent file i (0..2) within its sorted folder; error 40088 when the file is gone.
    void openRecentFile(int index);
    // Start-up: an existing picture path becomes a one-entry list and is shown; otherwise the
    // newest recent file is opened when the settings ask for it. Empty path: no argument.
    void openAtStartup(std::u16string_view path);

    // Makes the entry at the current index the shown picture (black view for an empty list).
    void showCurrent();
    // Next/previous wrap around after a yes/no question; first/last never ask.
    void showNext();
    void showPrevious();
    void showFirst();
    void showLast();

    // Waits for the running worker, if any, and starts one for the following entry when the
    // settings allow reading ahead.
    void startLookAhead();
    void stopLookAhead();
    // Stops the worker and frees the read-ahead picture (edits do this to make room).
    void releaseLookAhead();

    image::LoadedImage& current() { return *current_; }
    const image::LoadedImage& current() const { return *current_; }

  private:
    void showIndex(int index);
    void reenterFullScreen();
    bool takeLookAhead(const std::u16string& path);

    NavigationHost& host_;
    settings::AppSettings& settings_;
    ImageLoader loader_;
    FolderList list_;
    int currentIndex_ = 0;
    image::LoadedImage imageA_;
    image::LoadedImage imageB_;
    image::LoadedImage* current_ = &imageA_;
    image::LoadedImage* lookAhead_ = &imageB_;
    std::thread worker_;
};

} // namespace velmora::browse
