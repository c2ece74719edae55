#include "app/viewer_app.h"

#include "app/bar_button.h"
#include "app/input/action_table.h"
#include "app/main_window.h"
#include "app/menu_bar.h"
#include "app/menu_placement.h"
#include "app/nav_toolbar.h"
#include "app/popup_menu.h"
#include "app/startup_path.h"
#include "codecs/corrections/picture_corrections.h"
#include "image/view_compose.h"
#include "platform/network_connections.h"
#include "ui/message_box.h"
#include "ui/qt/about_dialog.h"
#include "ui/qt/file_info_dialog.h"
#include "ui/string_table.h"

#include <QApplication>
#include <QMenu>

// The icons live in a static library: their registration has to be pulled in explicitly.
static void registerIcons() {
    Q_INIT_RESOURCE(velmora);
}

namespace velmora::app {
namespace {

// A window that is never exposed (started minimised, or on another desktop) still opens its
// start-up picture after this long.
constexpr int kUnexposedStartupMs = 1000;
constexpr int kRecentSlots = settings::kRecentFileLimit;
// How often a picture handed over by a later start asks again while a dialog is open.
constexpr int kHandOverRetryMs = 250;

QSize initialScreenSize(const std::optional<platform::qt::EmulatedScreen>& emulated) {
    return platform::qt::ScreenService(emulated).screenSize();
}

} // namespace

ViewerApp::ViewerApp(std::optional<platform::qt::EmulatedScreen> emulatedScreen,
                     std::u16string commandLine)
    : settings(initialScreenSize(emulatedScreen).width(),
               initialScreenSize(emulatedScreen).height()),
      commandLinePath(std::move(commandLine)), screen_(emulatedScreen), navigator_(*this, settings),
      pictureView_(navigator_, settings, [this] { mainWindow_->updatePicture(); }) {
    registerIcons();
    ui::setBeforeMessageHook([this] { leaveFullScreenForDialog(); });
    startupTimer_.setSingleShot(true);
    startupTimer_.setInterval(kUnexposedStartupMs);
    connect(&startupTimer_, &QTimer::timeout, this, &ViewerApp::onStartupTimer);
}

ViewerApp::~ViewerApp() {
    ui::setBeforeMessageHook({});
    navigator_.abandonLookAhead();
    menuPlacement_.reset();
    mainWindow_.reset();
}

void ViewerApp::start() {
    mainWindow_ = std::make_unique<MainWindow>(*this);
    editController_ = std::make_unique<edit::qt::EditController>(*this, mainWindow_.get());
    // The window gets its final size and its bars before it is shown: both bars are in the
    // first frame, and nothing is fitted to an intermediate size.
    screen_.placeOnWorkArea(*mainWindow_);
    platform::setScreenMetrics(screen_.metrics(mainWindow_.get()));
    platform::loadNetworkFolder();
    settings.load();
    codecs::setPictureCorrections({settings.autoRotate, settings.colorManage});
    input_.registerButtons();
    commandLinePath = trimAndUnquote(commandLinePath);
    const auto startupPath = startupDevicePath(commandLinePath).value_or(std::u16string());
    const bool named = !commandLinePath.empty();
    // While the bars are made, the worker reduces a big start-up picture for the largest surface
    // they can leave, each bar being at least as high as its icons: the reduction covers the
    // surface, and is no larger than the surface needs.
    const QSize largestSurface = surfaceSize(kBarIconSide, kBarIconSide);
    navigator_.reduceStartupPictureAhead(
        startupPath, named,
        {{largestSurface.width(), largestSurface.height()}, pictureView_.options()});
    createBars();
    (void)resizeBackBuffer(); // redrawn below in any case
    pictureView_.redraw();
    if (screen_.isEmulated()) {
        menuPlacement_ = std::make_unique<MenuPlacement>(*mainWindow_);
    }
    const bool pictureAtHand = navigator_.startupPictureAtHand(startupPath, named);
    connect(
        mainWindow_.get(), &MainWindow::firstPainted, this, [this] { startupTimer_.start(0); },
        Qt::QueuedConnection);
    animation_.watch(*mainWindow_);
    screen_.showOnWorkArea(*mainWindow_);
    // A start-up picture at hand is in the window's first frame: it is opened before any event
    // is handled, its view composed on the worker while the window was shown. Any other is opened
    // as soon as the shown window has been painted once.
    if (pictureAtHand) {
        onStartupTimer();
    }
    startupTimer_.start();
}

void ViewerApp::createBars() {
    const CommandSink sink = [this](Command command) { onCommand(command); };
    menuBar_ = new MenuBar(mainWindow_.get(), sink);
    toolBar_ = new NavToolbar(mainWindow_.get(), sink);
    menuBar_->setFixedHeight(menuBar_->sizeHint().height());
    toolBar_->setFixedHeight(toolBar_->sizeHint().height());
    connect(menuBar_, &MenuBar::fileMenuAboutToShow, this,
            [this] { fillRecentMenu(menuBar_->recentMenu()); });
    layoutToolbar();
    updateNavButtons();
}

void ViewerApp::onStartupTimer() {
    if (startupTimerRan_) {
        return;
    }
    startupTimerRan_ = true;
    startupTimer_.stop();
    // A path outside the device root counts as missing, which falls back like one.
    const auto path = startupDevicePath(commandLinePath);
    navigator_.openAtStartup(path.value_or(std::u16string()), !commandLinePath.empty());
    emit startupFinished();
}

bool ViewerApp::onCommand(Command command) {
    const Action* action = findAction(&Action::command, command);
    if (action == nullptr) {
        return false;
    }
    const browse::qt::AnimationPlayer::Hold held(animation_);
    switch (action->handler) {
    case Handler::App:
        runOwnCommand(command);
        return true;
    case Handler::Browse:
        return browseController_.onCommand(command);
    case Handler::Edit:
        animation_.stop(); // the edit works on the frame shown
        return editController_ && editController_->onCommand(command);
    case Handler::Files:
        return fileController_.onCommand(command);
    case Handler::Mail:
        return mailController_.onCommand(command);
    case Handler::Network:
        return networkController_.onCommand(command);
    case Handler::Settings:
        return settingsController_.onCommand(command);
    }
    return false;
}

void ViewerApp::runOwnCommand(Command command) {
    switch (command) {
    case Command::Close:
        QMetaObject::invokeMethod(mainWindow_.get(), &QWidget::close, Qt::QueuedConnection);
        break;
    case Command::Exit:
        mainWindow_->close();
        break;
    case Command::About:
        ui::showAboutDialog(mainWindow_.get());
        break;
    case Command::FileInfo:
        showFileInfo();
        break;
    case Command::RecentFile0:
    case Command::RecentFile1:
    case Command::RecentFile2:
        navigator_.openRecentFile(static_cast<int>(command) -
                                  static_cast<int>(Command::RecentFile0));
        break;
    case Command::FullScreen:
        enterFullScreen();
        break;
    case Command::NormalScreen:
        leaveFullScreen();
        break;
    case Command::ToggleFullScreen:
        toggleFullScreen();
        break;
    case Command::ToggleToolbar:
        toggleToolbar();
        break;
    case Command::Minimise:
        minimise();
        break;
    case Command::RotateScreen:
        rotateScreen();
        break;
    case Command::Next:
        navigator_.showNext();
        break;
    case Command::Previous:
        navigator_.showPrevious();
        break;
    case Command::First:
        navigator_.showFirst();
        break;
    case Command::Last:
        navigator_.showLast();
        break;
    case Command::Restore:
        navigator_.reload();
        break;
    case Command::ZoomIn:
        pictureView_.zoomBy(&image::ViewGeometry::zoomIn);
        break;
    case Command::ZoomOut:
        pictureView_.zoomBy(&image::ViewGeometry::zoomOut);
        break;
    case Command::FitWhole:
        pictureView_.apply(&image::ViewGeometry::fitWhole);
        break;
    case Command::FitHeight:
        pictureView_.apply(&image::ViewGeometry::fitHeight);
        break;
    case Command::FitWidth:
        pictureView_.apply(&image::ViewGeometry::fitWidth);
        break;
    case Command::OriginalSize:
        pictureView_.showActualSize();
        break;
    case Command::ToggleWholeOriginal:
        pictureView_.apply(&image::ViewGeometry::toggleWholeOriginal);
        break;
    case Command::ToggleAutoFitOriginal:
        pictureView_.apply(&image::ViewGeometry::toggleAutoFitOriginal);
        break;
    case Command::PopupMenu:
        showPopupMenu();
        break;
    case Command::SeekForward:
        pictureView_.seek(pictureView_.geometry().seekForward());
        break;
    case Command::SeekBackward:
        pictureView_.seek(pictureView_.geometry().seekBackward());
        break;
    default: // served by the controllers
        break;
    }
}

void ViewerApp::showFileInfo() {
    leaveFullScreenForDialog();
    const image::LoadedImage& shown = current();
    ui::FileInfo info = ui::describeFile(navigator_.currentPath(), shown.width(), shown.height(),
                                         navigator_.currentIndex(), navigator_.count());
    info.frameCount = animation_.frameCount();
    ui::showFileInfoDialog(info, mainWindow_.get());
}

void ViewerApp::layoutToolbar() {
    if (menuBar_ == nullptr || toolBar_ == nullptr) {
        return;
    }
    // The window covers the work area, so its bottom edge is the screen's bottom: the menu bar
    // sits there and the toolbar directly above it, both across the whole width.
    const int width = mainWindow_->width();
    const int mh = menuBar_->height();
    const int th = toolBar_->height();
    menuBar_->setGeometry(0, mainWindow_->height() - mh, width, mh);
    toolBar_->setGeometry(0, mainWindow_->height() - th - mh, width, th);
}

NavButtonStates ViewerApp::navStates() const {
    return navButtonStates(navigator_.count(), navigator_.currentIndex());
}

void ViewerApp::updateNavButtons() {
    if (toolBar_ != nullptr) {
        toolBar_->setNavStates(navStates());
    }
}

QSize ViewerApp::surfaceSize(int menuBarHeight, int toolBarHeight) const {
    int windowHeight = mainWindow_->height();
    if (!fullScreen_) {
        windowHeight -= menuBarHeight;
        if (toolbarVisible_) {
            windowHeight -= toolBarHeight;
        }
    }
    // The surface is in device pixels: one picture pixel per screen pixel at original size.
    const qreal ratio = platform::qt::ScreenService::devicePixelRatio(mainWindow_.get());
    return {qRound(mainWindow_->width() * ratio), qRound(windowHeight * ratio)};
}

bool ViewerApp::resizeBackBuffer() {
    const QSize surface = surfaceSize(menuBar_->height(), toolBar_->height());
    return pictureView_.resize(surface.width(), surface.height());
}

void ViewerApp::enterFullScreen() {
    fullScreen_ = true;
    menuBar_->hide();
    toolBar_->hide();
    activate();
    screen_.placeOnWholeScreen(*mainWindow_);
    (void)resizeBackBuffer();
    pictureView_.redraw();
}

void ViewerApp::leaveFullScreen() {
    fullScreen_ = false;
    activate();
    menuBar_->show();
    toolBar_->setVisible(toolbarVisible_);
    screen_.leaveWholeScreen(*mainWindow_);
    (void)resizeBackBuffer();
    pictureView_.redraw();
}

void ViewerApp::toggleFullScreen() {
    if (fullScreen_) {
        leaveFullScreen();
    } else {
        enterFullScreen();
    }
}

void ViewerApp::toggleToolbar() {
    toolbarVisible_ = !toolbarVisible_;
    // The bars stay hidden in full-screen mode; the flag decides what leaving it shows.
    toolBar_->setVisible(toolbarVisible_ && !fullScreen_);
    (void)resizeBackBuffer();
    pictureView_.clampOrigin();
    pictureView_.redraw();
}

void ViewerApp::minimise() {
    mainWindow_->showMinimized();
}

void ViewerApp::rotateScreen() {
    const unsigned supported = screen_.supportedOrientations();
    if (supported == 0) {
        ui::showError(ui::str::kNotSupported);
        return;
    }
    screen_.setOrientation(platform::qt::nextOrientation(screen_.orientation(), supported),
                           *mainWindow_);
    // The pixels per inch were read at start-up and stay.
    const QSize turned = screen_.screenSize(mainWindow_.get());
    platform::setScreenSize(turned.width(), turned.height());
}

void ViewerApp::fillRecentMenu(QMenu& recentMenu) {
    const QList<QAction*> items = recentMenu.actions();
    for (int i = 0; i < kRecentSlots && i < items.size(); ++i) {
        const QString path = QString::fromStdU16String(settings.recentFileAt(i));
        items[i]->setText(escapeMnemonics(path));
    }
}

void ViewerApp::showPopupMenu(std::optional<QPoint> screenPoint) {
    PopupMenuState state;
    state.aboutText = popupAboutText(QString::fromStdU16String(navigator_.currentPath()));
    state.nav = navStates();
    state.fullScreen = fullScreen_;
    QMenu* menu =
        createPopupMenu(*mainWindow_, state, [this](Command command) { onCommand(command); });
    menu->popup(screenPoint.value_or(mainWindow_->mapToGlobal(QPoint(30, 90))));
}

void ViewerApp::activate() {
    if (mainWindow_->isMinimized()) {
        mainWindow_->showNormal();
    }
    mainWindow_->raise();
    mainWindow_->activateWindow();
}

void ViewerApp::openHandedOver(const QString& hostPath) {
    activate();
    // A dialog or a box that is open may be working on the picture shown: the new one waits.
    if (QApplication::activeModalWidget() != nullptr) {
        QTimer::singleShot(kHandOverRetryMs, this, [this, hostPath] { openHandedOver(hostPath); });
        return;
    }
    const auto path = startupDevicePath(hostPath.toStdU16String());
    if (path && browse::isStartupPicture(*path) && mayLeavePicture()) {
        navigator_.openAtStartup(*path, true);
    }
}

void ViewerApp::setBusy(bool busy) {
    if (busy) {
        QApplication::setOverrideCursor(Qt::WaitCursor);
    } else {
        QApplication::restoreOverrideCursor();
    }
}

// A picture shown or the view emptied: the edits of the one before cannot be undone any more.
void ViewerApp::forgetEdits() {
    if (editController_) {
        editController_->pictureReplaced();
    }
}

void ViewerApp::imageShown() {
    forgetEdits();
    pictureView_.showInitialZoom();
    animation_.pictureShown();
}

void ViewerApp::imageShownComposed(const image::ComposedView& ahead) {
    forgetEdits();
    pictureView_.showComposed(ahead);
    animation_.pictureShown();
}

void ViewerApp::viewCleared() {
    forgetEdits();
    pictureView_.clear();
    animation_.stop();
}

void ViewerApp::clearModified() {
    modified_ = false;
    if (editController_) {
        editController_->pictureSaved();
    }
}

void ViewerApp::wholePictureDecoded() {
    // On the worker: only posts. A call still queued when the window goes is dropped with it.
    QMetaObject::invokeMethod(
        this, [this] { navigator_.takeWholePicture(); }, Qt::QueuedConnection);
}

QWidget* ViewerApp::dialogOwner() {
    return mainWindow_.get();
}

void ViewerApp::leaveFullScreenForDialog() {
    if (fullScreen_) {
        leaveFullScreen();
    }
}

void ViewerApp::onResize() {
    if (menuBar_ == nullptr || toolBar_ == nullptr) {
        return;
    }
    // The shell keeps its menu bar at the bottom whatever the window does.
    layoutToolbar();
    if (resizeBackBuffer()) {
        pictureView_.redraw();
    }
}

bool ViewerApp::onClose() {
    if (!mayLeavePicture()) {
        return false;
    }
    startupTimer_.stop();
    input_.unregisterButtons();
    settings.save();
    emit closed();
    return true;
}

} // namespace velmora::app
