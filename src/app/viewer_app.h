// ViewerApp: the one application object. It owns the main window with its two bars, the
// composition surface the window is painted from, the view state, the navigation (folder list,
// shown and read-ahead images) and the settings, and it carries the command table.
#pragma once

#include "app/nav_rules.h"
#include "app/viewer_input.h"
#include "browse/navigator.h"
#include "browse/qt/browse_controller.h"
#include "edit/qt/edit_controller.h"
#include "fileops/qt/file_controller.h"
#include "fileops/qt/mail_controller.h"
#include "fileops/qt/network_controller.h"
#include "fileops/qt/sharing_host.h"
#include "image/dib_image.h"
#include "image/view_geometry.h"
#include "image/view_state.h"
#include "platform/qt/screen_service.h"
#include "settings/app_settings.h"
#include "settings/qt/settings_controller.h"

#include <QObject>
#include <QPoint>
#include <QTimer>

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

class QMenu;

namespace velmora::app {

class MainWindow;
class MenuBar;
class MenuPlacement;
class NavToolbar;

class ViewerApp : public QObject,
                  public browse::NavigationHost,
                  public browse::qt::BrowseHost,
                  public settings::qt::SettingsHost,
                  public fileops::FileOpsHost,
                  public fileops::qt::SharingHost,
                  public edit::qt::EditHost {
    Q_OBJECT
  public:
    // commandLine: the start-up argument as given (trimmed and unquoted by start()).
    ViewerApp(std::optional<platform::qt::EmulatedScreen> emulatedScreen,
              std::u16string commandLine);
    ~ViewerApp() override;
    ViewerApp(const ViewerApp&) = delete;
    ViewerApp& operator=(const ViewerApp&) = delete;

    // Creates and shows the main window: screen facts, settings, bars, then the start-up timer.
    void start();

    // Runs a command by the action table; false for a number the table does not know.
    bool onCommand(ui::Command command);

    void layoutToolbar();
    void updateNavButtons() override;
    bool resizeBackBuffer();
    void enterFullScreen() override;
    void leaveFullScreen();
    void toggleFullScreen();
    void toggleToolbar();
    void minimise();
    void rotateScreen();
    void fillRecentMenu(QMenu& recentMenu);
    // At the handheld's fixed point, or at a screen point (a right click).
    void showPopupMenu(std::optional<QPoint> screenPoint = std::nullopt);
    // Brings the main window forward (a second start asked for it).
    void activate();
    // A later start's request: comes forward and, when hostPath names a picture, opens it as the
    // start-up picture is opened (once no dialog is open).
    void openHandedOver(const QString& hostPath);

    // The view of the current image on the surface.
    image::ViewGeometry viewGeometry();
    void clampOrigin();
    void applyInitialZoom();
    void redraw();
    void redrawFast();

    // Window events. onClose is false when the window stays open (unsaved edits kept).
    void onResize();
    bool onClose();

    MainWindow& mainWindow() const { return *mainWindow_; }
    MenuBar* menuBar() const { return menuBar_; }
    NavToolbar* toolBar() const { return toolBar_; }
    browse::Navigator& navigator() override { return navigator_; }
    platform::qt::ScreenService& screen() { return screen_; }
    // Keys, hardware buttons, taps and drags.
    ViewerInput& input() { return input_; }
    image::LoadedImage& current() { return navigator_.current(); }

    bool fullScreen = false;
    bool toolbarVisible = true;
    bool modified = false;
    image::DibImage backBuffer;
    image::ViewState view;
    settings::AppSettings settings;
    std::u16string commandLinePath;

  signals:
    // The start-up timer has run and the start-up picture, if any, is shown.
    void startupFinished();
    // The main window is closing; the settings have been saved.
    void closed();

  private:
    bool isFullScreen() const override { return fullScreen; }
    void setBusy(bool busy) override;
    void clearModified() override { modified = false; }
    bool mayLeavePicture() override { return fileController_.settleUnsavedEdits(); }
    void imageShown() override;
    void viewCleared() override;
    image::ViewRequest viewRequest() const override;
    void imageShownComposed(const image::ComposedView& ahead) override;
    image::ViewOptions viewOptions() const;
    QWidget* dialogOwner() override;
    void leaveFullScreenForDialog() override;
    std::u16string currentFilePath() const override { return navigator_.currentPath(); }
    bool isModified() const override { return modified; }
    std::optional<std::u16string> runSaveCommand() override { return fileController_.save(); }

    // SettingsHost
    settings::AppSettings& appSettings() override { return settings; }
    QWidget* sheetOwner() override;
    void registerButtons() override { input_.registerButtons(); }
    void unregisterButtons() override { input_.unregisterButtons(); }

    // EditHost
    image::DibImage& editedPicture() override { return current(); }
    QWidget* editWindow() override;
    void dropLookAhead() override { navigator_.releaseLookAhead(); }
    void showActualSize() override;
    void redrawPicture() override { redraw(); }
    void markModified() override { modified = true; }

    void createBars();
    // The window, view and navigation commands, which the application serves itself.
    void runOwnCommand(ui::Command command);
    void onStartupTimer();
    void showFileInfo();
    void seek(image::SeekResult result);
    void zoomBy(bool (image::ViewGeometry::*step)());
    void applyView(void (image::ViewGeometry::*operation)());
    NavButtonStates navStates() const;

    platform::qt::ScreenService screen_;
    browse::Navigator navigator_;
    browse::qt::BrowseController browseController_{*this, navigator_, settings};
    fileops::qt::FileController fileController_{*this, settings};
    ViewerInput input_{*this};
    settings::qt::SettingsController settingsController_{*this};
    fileops::qt::MailController mailController_{*this};
    fileops::qt::NetworkController networkController_{*this};
    std::unique_ptr<MainWindow> mainWindow_;
    MenuBar* menuBar_ = nullptr;                   // owned by the main window
    NavToolbar* toolBar_ = nullptr;                // owned by the main window
    std::unique_ptr<MenuPlacement> menuPlacement_; // on an emulated screen only
    QTimer startupTimer_;
    bool startupTimerRan_ = false;
    std::unique_ptr<edit::qt::EditController> editController_; // made with the main window
    uint64_t redrawCount_ = 0; // tells whether an operation has redrawn the view
};

// The running application and its settings.
ViewerApp& currentApp();
settings::AppSettings& currentSettings();

} // namespace velmora::app
