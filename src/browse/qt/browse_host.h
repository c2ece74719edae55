// What the browsing commands need from the application window.
#pragma once

class QWidget;

namespace velmora::browse::qt {

class BrowseHost {
  public:
    virtual ~BrowseHost() = default;

    // The window the browsing dialogs are shown over.
    virtual QWidget* dialogOwner() = 0;
    // Leaves full-screen mode (if on) so that a dialog shows with the bars.
    virtual void leaveFullScreenForDialog() = 0;
};

} // namespace velmora::browse::qt
