// The main window and its bars on an emulated 240x320 screen: buttons and tooltips, full-screen
// mode, the toolbar toggle, rotation, the recent-file menu and the pop-up menu.
#include "shell_sandbox.h"

#include "app/input/action_table.h"
#include "app/main_window.h"
#include "app/menu_bar.h"
#include "app/nav_rules.h"
#include "app/nav_toolbar.h"
#include "ui/command.h"
#include "ui/string_table.h"

#include <QApplication>
#include <QLabel>
#include <QMenu>
#include <QRawFont>
#include <QTest>
#include <QTimer>
#include <QToolButton>

using namespace velmora;
using namespace velmora::app;

class ShellWindowTest : public QObject {
    Q_OBJECT

  private:
    QString tooltipOf(QToolBar& bar, ui::Command command) {
        auto* button =
            bar.findChild<QToolButton*>(QStringLiteral("button%1").arg(static_cast<int>(command)));
        return button != nullptr ? button->toolTip() : QStringLiteral("<missing>");
    }

    int surfaceHeight(ViewerApp& viewer) { return viewer.pictureView().surface().height(); }

  private slots:
    void barsHoldEveryButtonWithItsTooltip() {
        test::ShellSandbox sandbox;
        auto viewer = sandbox.startViewer();
        QVERIFY(viewer);
        MenuBar& menuBar = *viewer->menuBar();
        NavToolbar& toolBar = *viewer->toolBar();
        QCOMPARE(menuBar.objectName(), QStringLiteral("menuBar"));
        QCOMPARE(toolBar.objectName(), QStringLiteral("toolBar"));

        const std::pair<const char*, ui::StringId> dropDowns[] = {
            {"buttonFile", ui::str::kMenuFile},
            {"buttonEdit", ui::str::kMenuEdit},
            {"buttonHelp", ui::str::kMenuHelp}};
        for (const auto& [name, textId] : dropDowns) {
            auto* button = menuBar.findChild<QToolButton*>(QLatin1String(name));
            QVERIFY2(button != nullptr, name);
            QCOMPARE(button->text(), QString::fromStdU16String(ui::loadResourceString(textId)));
            // One Japanese font draws the whole text, kana and kanji alike.
            const QRawFont font = QRawFont::fromFont(button->font());
            for (const QChar c : button->text()) {
                QVERIFY2(font.supportsCharacter(c), name);
            }
        }
        QCOMPARE(tooltipOf(menuBar, ui::Command::Open), QStringLiteral("開く"));
        QCOMPARE(tooltipOf(menuBar, ui::Command::Settings), QStringLiteral("設定"));
        QCOMPARE(tooltipOf(menuBar, ui::Command::FileInfo), QStringLiteral("ファイル情報"));
        QCOMPARE(tooltipOf(menuBar, ui::Command::ToggleToolbar), QStringLiteral("ツール表示"));

        const std::pair<ui::Command, const char16_t*> navButtons[] = {
            {ui::Command::First, u"先頭へ"},
            {ui::Command::Previous, u"前へ"},
            {ui::Command::Next, u"次へ"},
            {ui::Command::Last, u"最後へ"},
            {ui::Command::ZoomIn, u"拡大"},
            {ui::Command::ZoomOut, u"縮小"},
            {ui::Command::ToggleWholeOriginal, u"全体表示"},
            {ui::Command::SeekForward, u"順シーク"},
            {ui::Command::SeekBackward, u"逆シーク"}};
        for (const auto& [command, tooltip] : navButtons) {
            QCOMPARE(tooltipOf(toolBar, command), QString::fromUtf16(tooltip));
        }

        // Both bars span the screen at its bottom, the toolbar directly above the menu bar,
        // and every button fits on the handheld's width.
        const QWidget& window = viewer->mainWindow();
        QCOMPARE(menuBar.geometry().bottom(), window.height() - 1);
        QCOMPARE(toolBar.geometry().bottom() + 1, menuBar.y());
        QCOMPARE(toolBar.width(), window.width());
        for (QToolBar* bar : {static_cast<QToolBar*>(&menuBar), static_cast<QToolBar*>(&toolBar)}) {
            for (QAction* action : bar->actions()) {
                QWidget* widget = bar->widgetForAction(action);
                QVERIFY2(widget != nullptr && widget->isVisible() &&
                             widget->geometry().right() < bar->width(),
                         qPrintable(action->objectName() + QStringLiteral(" does not fit")));
            }
        }
        QCOMPARE(viewer->pictureView().surface().width(), 240);
        QCOMPARE(surfaceHeight(*viewer), 320 - menuBar.height() - toolBar.height());
    }

    void menusCarryTheCommandTexts() {
        test::ShellSandbox sandbox;
        auto viewer = sandbox.startViewer();
        QVERIFY(viewer);
        QMenu& file = viewer->menuBar()->fileMenu();
        const auto action = [&file](ui::Command command) {
            return file.findChild<QAction*>(
                QStringLiteral("action%1").arg(static_cast<int>(command)));
        };
        QCOMPARE(action(ui::Command::Open)->text(), QStringLiteral("開く(&O)"));
        QCOMPARE(action(ui::Command::FullScreen)->text(), QStringLiteral("フルスクリーン(&A)"));
        QCOMPARE(action(ui::Command::Exit)->text(), QStringLiteral("終了(&Q)"));
        QVERIFY(action(ui::Command::NormalScreen)->isChecked());
        QVERIFY(!action(ui::Command::NormalScreen)->isEnabled());

        QMenu* edit = viewer->menuBar()->findChild<QMenu*>(QStringLiteral("menuEdit"));
        QVERIFY(edit != nullptr);
        QCOMPARE(edit->findChild<QAction*>(QStringLiteral("action40067"))->text(),
                 QStringLiteral("２値化(&P)"));

        // Every menu item and bar button names a command of the action table, or it would do
        // nothing.
        for (const QAction* item : viewer->mainWindow().findChildren<QAction*>()) {
            if (item->objectName().startsWith(QStringLiteral("action"))) {
                const auto command = ui::Command(item->objectName().mid(6).toInt());
                QVERIFY2(findAction(&Action::command, command) != nullptr,
                         qPrintable(item->objectName()));
            }
        }

        // A menu item ends in the command table: the full-screen item enters full screen.
        action(ui::Command::FullScreen)->trigger();
        QVERIFY(viewer->isFullScreen());
    }

    void fullScreenHidesTheBarsAndLeavingKeepsAHandZoom() {
        test::ShellSandbox sandbox;
        const auto picture = sandbox.writePicture("big.png", 600, 900);
        auto viewer = sandbox.startViewer(test::ShellSandbox::u16(picture));
        QVERIFY(viewer);
        viewer->onCommand(ui::Command::FitWhole);
        const int normalHeight = surfaceHeight(*viewer);

        viewer->onCommand(ui::Command::FullScreen);
        QVERIFY(viewer->menuBar()->isHidden());
        QVERIFY(viewer->toolBar()->isHidden());
        QCOMPARE(viewer->pictureView().surface().width(), 240);
        QCOMPARE(surfaceHeight(*viewer), 320);
        const int fittedWidth = viewer->pictureView().state().displayWidth;
        QVERIFY(fittedWidth < 600); // the fit follows the larger surface

        viewer->onCommand(ui::Command::ZoomIn);
        const image::ViewState zoomed = viewer->pictureView().state();
        viewer->onCommand(ui::Command::NormalScreen);
        QVERIFY(!viewer->isFullScreen());
        QVERIFY(viewer->menuBar()->isVisible());
        QVERIFY(viewer->toolBar()->isVisible());
        QCOMPARE(surfaceHeight(*viewer), normalHeight);
        QCOMPARE(viewer->pictureView().state().displayWidth, zoomed.displayWidth);
        QCOMPARE(viewer->pictureView().state().displayHeight, zoomed.displayHeight);
    }

    void hidingTheToolbarGrowsTheSurfaceByItsHeight() {
        test::ShellSandbox sandbox;
        const auto picture = sandbox.writePicture("wide.png", 500, 400);
        auto viewer = sandbox.startViewer(test::ShellSandbox::u16(picture));
        QVERIFY(viewer);
        viewer->onCommand(ui::Command::ZoomOut);
        const image::ViewState before = viewer->pictureView().state();
        const int height = surfaceHeight(*viewer);
        const int toolbarHeight = viewer->toolBar()->height();
        QVERIFY(toolbarHeight > 0);

        viewer->onCommand(ui::Command::ToggleToolbar);
        QVERIFY(viewer->toolBar()->isHidden());
        QCOMPARE(surfaceHeight(*viewer), height + toolbarHeight);
        QCOMPARE(viewer->pictureView().state().displayWidth,
                 before.displayWidth); // the zoom is kept

        viewer->onCommand(ui::Command::ToggleToolbar);
        QVERIFY(viewer->toolBar()->isVisible());
        QCOMPARE(surfaceHeight(*viewer), height);

        // In full screen the toggle only decides what leaving it shows.
        viewer->onCommand(ui::Command::FullScreen);
        viewer->onCommand(ui::Command::ToggleToolbar);
        QVERIFY(viewer->toolBar()->isHidden());
        viewer->onCommand(ui::Command::ToggleFullScreen);
        QVERIFY(viewer->toolBar()->isHidden());
        QCOMPARE(surfaceHeight(*viewer), height + toolbarHeight);
    }

    void rotatingAnEmulatedScreenSwapsTheSurface() {
        test::ShellSandbox sandbox;
        auto viewer = sandbox.startViewer();
        QVERIFY(viewer);
        viewer->onCommand(ui::Command::FullScreen);
        QCOMPARE(viewer->pictureView().surface().width(), 240);
        QCOMPARE(viewer->pictureView().surface().height(), 320);

        viewer->onCommand(ui::Command::RotateScreen);
        QTRY_COMPARE(viewer->pictureView().surface().width(), 320);
        QCOMPARE(viewer->pictureView().surface().height(), 240);
        QCOMPARE(platform::screenMetrics().width, 320);

        for (int turn = 2; turn <= 4; ++turn) {
            viewer->onCommand(ui::Command::RotateScreen);
            const int expectedWidth = turn % 2 == 0 ? 240 : 320;
            QTRY_COMPARE(viewer->pictureView().surface().width(), expectedWidth);
        }
        QCOMPARE(viewer->screen().orientation(), platform::qt::kOrientation0);
        QVERIFY(sandbox.boxes.shown.empty());
    }

    void rotationSkipsUnsupportedTurns() {
        using namespace platform::qt;
        const unsigned upright90And270 = kOrientation90 | kOrientation270;
        QCOMPARE(nextOrientation(kOrientation90, upright90And270), kOrientation270);
        QCOMPARE(nextOrientation(kOrientation270, upright90And270), kOrientation0);
        QCOMPARE(nextOrientation(kOrientation0, kAllTurns), kOrientation90);
        QCOMPARE(nextOrientation(kOrientation90, kAllTurns), kOrientation180);
        QCOMPARE(nextOrientation(kOrientation0, kOrientation180), kOrientation180);
    }

    void rotatingARealScreenIsNotSupported() {
        test::ShellSandbox sandbox;
        auto viewer = sandbox.startViewer({}, std::nullopt);
        QVERIFY(viewer);
        viewer->onCommand(ui::Command::RotateScreen);
        QCOMPARE(sandbox.boxes.shown.size(), size_t{1});
        QCOMPARE(sandbox.boxes.shown[0].text, ui::loadResourceString(ui::str::kNotSupported));
    }

    void recentMenuShowsNoneForEmptySlots() {
        test::ShellSandbox sandbox;
        auto viewer = sandbox.startViewer();
        QVERIFY(viewer);
        viewer->settings.recentFiles = {u"\\pics\\R&B.jpg"};
        emit viewer->menuBar()->fileMenuAboutToShow();
        const QList<QAction*> items = viewer->menuBar()->recentMenu().actions();
        QCOMPARE(items.size(), 3);
        QCOMPARE(items[0]->text(), QStringLiteral("\\pics\\R&&B.jpg")); // shown literally
        QCOMPARE(items[1]->text(), QStringLiteral("none"));
        QCOMPARE(items[2]->text(), QStringLiteral("none"));

        // Choosing an empty slot does nothing.
        items[1]->trigger();
        QCOMPARE(viewer->navigator().count(), 0);
        QVERIFY(sandbox.boxes.shown.empty());
    }

    void popupMenuFollowsTheViewerState() {
        test::ShellSandbox sandbox;
        const auto picture = sandbox.writePicture("a_rather_long_picture_name.png", 40, 30);
        auto viewer = sandbox.startViewer(test::ShellSandbox::u16(picture));
        QVERIFY(viewer);
        viewer->onCommand(ui::Command::FullScreen);
        viewer->showPopupMenu();
        auto* menu = viewer->mainWindow().findChild<QMenu*>(QStringLiteral("popupMenu"));
        QVERIFY(menu != nullptr);
        const auto action = [menu](ui::Command command) {
            return menu->findChild<QAction*>(
                QStringLiteral("action%1").arg(static_cast<int>(command)));
        };
        QCOMPARE(action(ui::Command::FileInfo)->text(), QStringLiteral("About[a_rather_long_..]"));
        QVERIFY(action(ui::Command::ToggleFullScreen)->isChecked());
        // A one-entry list: nowhere to go.
        for (ui::Command command :
             {ui::Command::First, ui::Command::Previous, ui::Command::Next, ui::Command::Last}) {
            QVERIFY(!action(command)->isEnabled());
        }
        QVERIFY(action(ui::Command::ZoomIn)->isEnabled());
        menu->close();
    }

    void menusStayInsideTheEmulatedScreen() {
        test::ShellSandbox sandbox;
        auto viewer = sandbox.startViewer();
        QVERIFY(viewer);
        QWidget& window = viewer->mainWindow();
        window.move(100, 50);
        QTRY_VERIFY(window.mapToGlobal(QPoint(0, 0)).x() >= 100);
        const QRect screen(window.mapToGlobal(QPoint(0, 0)), window.size());
        viewer->showPopupMenu();
        auto* popup = window.findChild<QMenu*>(QStringLiteral("popupMenu"));
        QVERIFY(popup);
        const QList<QMenu*> subMenus = popup->findChildren<QMenu*>();
        QVERIFY(!subMenus.isEmpty());
        // Where the host's screen has room but the emulated one has not.
        subMenus.first()->popup(screen.topRight() + QPoint(-10, 200));
        QTRY_VERIFY(subMenus.first()->isVisible());
        QVERIFY2(screen.contains(subMenus.first()->geometry()),
                 qPrintable(QStringLiteral("%1,%2 %3x%4")
                                .arg(subMenus.first()->x())
                                .arg(subMenus.first()->y())
                                .arg(subMenus.first()->width())
                                .arg(subMenus.first()->height())));
        subMenus.first()->close();
        popup->close();
    }

    void informationLeavesFullScreenAndAboutAnswersCtrlA() {
        test::ShellSandbox sandbox;
        const auto picture = sandbox.writePicture("info.png", 40, 30);
        auto viewer = sandbox.startViewer(test::ShellSandbox::u16(picture));
        QVERIFY(viewer);
        QApplication::setActiveWindow(&viewer->mainWindow());
        viewer->onCommand(ui::Command::FullScreen);

        // Records the modal dialog that opens, then closes it.
        QStringList opened;
        bool fullScreenWhileShown = true;
        QImage aboutIcon;
        const auto closeNextDialog = [&] {
            QTimer::singleShot(50, [&] {
                if (QWidget* dialog = QApplication::activeModalWidget()) {
                    opened.append(dialog->objectName());
                    fullScreenWhileShown = viewer->isFullScreen();
                    if (auto* icon = dialog->findChild<QLabel*>(QStringLiteral("aboutIcon"))) {
                        aboutIcon = icon->pixmap().toImage();
                    }
                    dialog->close();
                }
            });
        };
        closeNextDialog();
        viewer->onCommand(ui::Command::FileInfo);
        QCOMPARE(opened, QStringList{QStringLiteral("fileInfoDialog")});
        QVERIFY(!fullScreenWhileShown);

        QApplication::setActiveWindow(&viewer->mainWindow());
        closeNextDialog();
        QTest::keyClick(&viewer->mainWindow(), Qt::Key_A, Qt::ControlModifier);
        QCOMPARE(opened.size(), 2);
        QCOMPARE(opened[1], QStringLiteral("aboutDialog"));
        // The application's own icon, not an empty square.
        QVERIFY(!aboutIcon.isNull());
        QCOMPARE(aboutIcon.pixelColor(aboutIcon.width() / 2, aboutIcon.height() / 2).alpha(), 255);
    }

    void popupAboutTextCutsLongNames() {
        QCOMPARE(popupAboutText(QStringLiteral("\\a\\sixteen_chars_.jpg")),
                 QStringLiteral("About[sixteen_chars_..]"));
        QCOMPARE(popupAboutText(QStringLiteral("\\a\\exactly16chars.j")),
                 QStringLiteral("About[exactly16chars.j]"));
        QCOMPARE(popupAboutText(QStringLiteral("plain.png")), QStringLiteral("About[plain.png]"));
        QCOMPARE(popupAboutText(QString()), QStringLiteral("About[]"));
    }

    void navButtonsFollowTheListPosition() {
        const auto states = [](int count, int index) {
            const NavButtonStates s = navButtonStates(count, index);
            return QString::fromLatin1("%1%2%3%4")
                .arg(s.first ? 'F' : '-')
                .arg(s.previous ? 'P' : '-')
                .arg(s.next ? 'N' : '-')
                .arg(s.last ? 'L' : '-');
        };
        QCOMPARE(states(0, 0), QStringLiteral("----"));
        QCOMPARE(states(1, 0), QStringLiteral("----"));
        QCOMPARE(states(3, 0), QStringLiteral("--NL"));
        QCOMPARE(states(3, 1), QStringLiteral("FPNL"));
        QCOMPARE(states(3, 2), QStringLiteral("FP--"));
    }
};

QTEST_MAIN(ShellWindowTest)
#include "shell_window_qtest.moc"
