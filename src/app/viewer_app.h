// ViewerApp: the one application object. It owns the main window with its two bars, the picture
// view the window is painted from, the navigation (folder list, shown and read-ahead images) and
// the settings, and it carries the command table.
#pragma once

#include "app/nav_rules.h"
#include "app/picture_view.h"
#include "app/viewer_input.h"
#include "browse/navigator.h"
#include "browse/qt/animation_player.h"
#include "browse/qt/browse_controller.h"
#include "edit/qt/edit_controller.h"
#include "fileops/qt/file_controller.h"
#include "fileops/qt/mail_controller.h"
#include "fileops/qt/network_controller.h"
#include "fileops/qt/sharing_host.h"
#include "platform/qt/screen_service.h"
#include "settings/app_settings.h"
#include "settings/qt/settings_controller.h"

#include <QObject>
#include <QPoint>
#include <QTimer>

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
    // Fits the picture view's surface to the window less its bars; false when the size stayed.
    [[nodiscard]] bool resizeBackBuffer();
    // The picture's surface in device pixels, for bars of these heights in window coordinates.
    QSize surfaceSize(int menuBarHeight, int toolBarHeight) const;
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

    // Window events. onClose is false when the window stays open (unsaved edits kept).
    void onResize();
    [[nodiscard]] bool onClose();

    MainWindow& mainWindow() const { return *mainWindow_; }
    MenuBar* menuBar() const { return menuBar_; }
    NavToolbar* toolBar() const { return toolBar_; }
    browse::Navigator& navigator() override { return navigator_; }
    platform::qt::ScreenService& screen() { return screen_; }
    // Keys, hardware buttons, taps and drags.
    ViewerInput& input() { return input_; }
    PictureView& pictureView() { return pictureView_; }
    browse::qt::AnimationPlayer& animation() { return animation_; }
    image::LoadedImage& current() { return navigator_.current(); }

    [[nodiscard]] bool isFullScreen() const override { return fullScreen_; }
    [[nodiscard]] bool isModified() const override { return modified_; }
    void markModified() override { modified_ = true; }
    void clearModified() override;
    // The window every dialog and box of the viewer covers.
    QWidget* dialogOwner() override;

    settings::AppSettings settings;
    std::u16string commandLinePath;

  signals:
    // The start-up timer has run and the start-up picture, if any, is shown.
    void startupFinished();
    // The main window is closing; the settings have been saved.
    void closed();

  private:
    void setBusy(bool busy) override;
    [[nodiscard]] bool mayLeavePicture() override { return fileController_.settleUnsavedEdits(); }
    void imageShown() override;
    void viewCleared() override;
    image::ViewRequest viewRequest() const override { return pictureView_.request(); }
    void imageShownComposed(const image::ComposedView& ahead) override;
    void wholePictureDecoded() override;
    void wholePictureShown(const image::ComposedView* ahead) override {
        pictureView_.showWhole(ahead);
    }
    void leaveFullScreenForDialog() override;
    std::u16string currentFilePath() const override { return navigator_.currentPath(); }
    std::optional<std::u16string> runSaveCommand() override { return fileController_.save(); }

    // SettingsHost
    settings::AppSettings& appSettings() override { return settings; }
    void registerButtons() override { input_.registerButtons(); }
    void unregisterButtons() override { input_.unregisterButtons(); }

    // EditHost
    image::LoadedImage& editedPicture() override { return current(); }
    void dropLookAhead() override { navigator_.releaseLookAhead(); }
    void showActualSize() override { pictureView_.showActualSize(); }
    void redrawPicture() override { pictureView_.redraw(); }

    void forgetEdits();
    void createBars();
    // The window, view and navigation commands, which the application serves itself.
    void runOwnCommand(ui::Command command);
    void onStartupTimer();
    void showFileInfo();
    NavButtonStates navStates() const;

    platform::qt::ScreenService screen_;
    browse::Navigator navigator_;
    PictureView pictureView_;
    browse::qt::AnimationPlayer animation_{navigator_, settings, [this] { pictureView_.redraw(); }};
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
    bool fullScreen_ = false;
    bool toolbarVisible_ = true;
    bool modified_ = false;
};

} // namespace velmora::app
