// The settings command on the running viewer: the sheet over the main window, a picture of each
// page on the 240x320 screen, and a button assignment that takes effect at OK.
#include "shell_sandbox.h"

#include "app/main_window.h"
#include "codecs/picture_notes.h"
#include "settings/qt/settings_page.h"
#include "settings/qt/settings_sheet.h"
#include "ui/command.h"

#include <QCheckBox>
#include <QComboBox>
#include <QPushButton>
#include <QTabBar>
#include <QTabWidget>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>

#include <fstream>
#include <functional>

using namespace velmora;
using namespace velmora::app;
using settings::qt::SettingsSheet;

namespace {

const QStringList kTabTitles{u"動作"_qs, u"ボタン"_qs,       u"拡張子"_qs,
                             u"表示"_qs, u"ダブルタップ"_qs, u"一般"_qs};

// Runs the settings command and hands the open sheet to act, which closes it; false when no
// sheet came up.
bool withSheet(ViewerApp& viewer, const std::function<void(SettingsSheet&)>& act) {
    bool found = false;
    QTimer::singleShot(0, [&] {
        auto* sheet = qobject_cast<SettingsSheet*>(QApplication::activeModalWidget());
        if (sheet == nullptr) {
            return;
        }
        found = true;
        act(*sheet);
        if (sheet->isVisible()) {
            sheet->reject();
        }
    });
    viewer.onCommand(ui::Command::Settings);
    return found;
}

void press(SettingsSheet& sheet, const char* button) {
    sheet.findChild<QPushButton*>(QString::fromLatin1(button))->click();
}

// Every visible control of the page lies inside the page; the names of those that do not.
QStringList controlsOutside(const QWidget& page) {
    QStringList outside;
    for (const QWidget* control : page.findChildren<QWidget*>()) {
        if (!control->isVisibleTo(&page) || control->parentWidget() != &page) {
            continue;
        }
        if (!page.rect().contains(control->geometry())) {
            outside << QStringLiteral("%1 %2").arg(
                QString::fromLatin1(control->metaObject()->className()), control->objectName());
        }
    }
    return outside;
}

} // namespace

class SettingsCommandTest : public QObject {
    Q_OBJECT

  private slots:
    // The program's own picture of each page at 240x320 (kept in VELMORA_SHEET_SHOTS when set).
    void everyPageFitsTheHandheldScreen() {
        test::ShellSandbox sandbox;
        auto viewer = sandbox.startViewer();
        QVERIFY(viewer);
        const QString shots = qEnvironmentVariable("VELMORA_SHEET_SHOTS",
                                                   QString::fromStdString(sandbox.root().string()));
        QStringList problems;
        const bool shown = withSheet(*viewer, [&](SettingsSheet& sheet) {
            QCOMPARE(sheet.windowTitle(), u"プロパティ"_qs);
            QCOMPARE(sheet.geometry(), viewer->mainWindow().geometry());
            auto* tabs = sheet.findChild<QTabWidget*>(QStringLiteral("tabs12320"));
            QCOMPARE(tabs->tabPosition(), QTabWidget::South);
            QCOMPARE(tabs->count(), 6);
            QTabBar* bar = tabs->tabBar();
            for (int i = 0; i < tabs->count(); ++i) {
                tabs->setCurrentIndex(i);
                QCOMPARE(tabs->tabText(i), kTabTitles[i]);
                QApplication::processEvents();
                // Every tab in view without scrolling, whichever page is shown.
                for (int tab = 0; tab < tabs->count(); ++tab) {
                    if (!bar->rect().contains(bar->tabRect(tab))) {
                        problems << QStringLiteral("page %1: tab %2 is cut").arg(i).arg(tab);
                    }
                }
                const QWidget* page = sheet.page(i);
                for (const QString& name : controlsOutside(*page)) {
                    problems << QStringLiteral("page %1: %2").arg(i).arg(name);
                }
                const QImage shot = sheet.grab().toImage();
                QCOMPARE(shot.size(), QSize(240, 320));
                shot.save(QStringLiteral("%1/settings-page-%2.png").arg(shots).arg(i + 1));
            }
            QVERIFY(bar->mapTo(&sheet, QPoint(0, bar->height())).y() >= sheet.height() - 4);
        });
        QVERIFY(shown);
        QVERIFY2(problems.isEmpty(), qPrintable(problems.join(u'\n')));
    }

    void buttonSetToNothingNoLongerActs() {
        test::ShellSandbox sandbox;
        auto viewer = sandbox.startViewer(
            test::ShellSandbox::u16(sandbox.writePicture("large.png", 600, 900)));
        QVERIFY(viewer);
        QApplication::setActiveWindow(&viewer->mainWindow());
        QVERIFY(viewer->input().hotKeys().lookup(0xC5).has_value()); // F5 zooms in

        const bool shown = withSheet(*viewer, [](SettingsSheet& sheet) {
            sheet.findChild<QTabWidget*>(QStringLiteral("tabs12320"))->setCurrentIndex(1);
            auto* list = sheet.findChild<QTreeWidget*>(QStringLiteral("list110"));
            QCOMPARE(list->topLevelItemCount(), 16); // four arrows and F1 to F12
            QTreeWidgetItem* f5 = list->topLevelItem(8);
            QCOMPARE(f5->text(0), u"F5"_qs);
            list->setCurrentItem(f5);
            auto* combo = sheet.findChild<QComboBox*>(QStringLiteral("combo120"));
            QCOMPARE(combo->currentText(), u"拡大"_qs);
            combo->setCurrentIndex(0);
            emit combo->activated(0);
            press(sheet, "okButton");
        });
        QVERIFY(shown);
        QCOMPARE(viewer->settings.buttonFunctions[5], settings::ButtonFunction::None);
        QVERIFY(!viewer->input().hotKeys().lookup(0xC5).has_value());
        QVERIFY(viewer->input().hotKeys().lookup(0xC1).has_value()); // the others stay taken
        QApplication::setActiveWindow(&viewer->mainWindow());
        const int width = viewer->pictureView().state().displayWidth;
        QTest::keyClick(&viewer->mainWindow(), Qt::Key_F5);
        QCOMPARE(viewer->pictureView().state().displayWidth, width);

        // Kept in memory until the viewer ends, then written with the other settings.
        viewer->onCommand(ui::Command::Exit);
        const std::string text = test::ShellSandbox::readFile(sandbox.userHive());
        QVERIFY(text.find("\"BTNFUNC5\"=dword:00000000") != std::string::npos);
    }

    // A landscape-stored photo marked "turn right" shows upright; unchecking the box shows the
    // stored pixels from the next read on, and the choice is saved with the other settings.
    void orientationBoxTakesEffectAtTheNextRead_data() {
        QTest::addColumn<bool>("handheld");
        QTest::newRow("240x320") << true;
        QTest::newRow("desktop") << false;
    }
    void orientationBoxTakesEffectAtTheNextRead() {
        QFETCH(bool, handheld);
        test::ShellSandbox sandbox;
        image::DibImage stored;
        QVERIFY(stored.create(60, 40));
        stored.fillColor(0x2040C0);
        const std::string jpeg = sandbox.writeJpeg("plain.jpg", stored);
        const auto photo = sandbox.root() / "photo.jpg";
        std::ofstream(photo, std::ios::binary)
            << test::withSegment(jpeg, 0xE1, test::exifApp1(test::exifTiff(6)));

        auto viewer = handheld ? sandbox.startViewer(test::ShellSandbox::u16(photo))
                               : sandbox.startViewer(test::ShellSandbox::u16(photo), std::nullopt);
        QVERIFY(viewer);
        QCOMPARE(QSize(viewer->current().width(), viewer->current().height()), QSize(40, 60));
        const bool shown = withSheet(*viewer, [](SettingsSheet& sheet) {
            sheet.findChild<QTabWidget*>(QStringLiteral("tabs12320"))->setCurrentIndex(5);
            auto* turn = sheet.page(5)->findChild<QCheckBox*>(QStringLiteral("check1048"));
            auto* colours = sheet.page(5)->findChild<QCheckBox*>(QStringLiteral("check1049"));
            QCOMPARE(turn->accessibleName(), u"画像の向きを自動補正する"_qs);
            QCOMPARE(colours->accessibleName(), u"カラープロファイルを適用する"_qs);
            QVERIFY(turn->isChecked() && colours->isChecked());
            turn->click();
            press(sheet, "okButton");
        });
        QVERIFY(shown);
        viewer->onCommand(ui::Command::Restore);
        QCOMPARE(QSize(viewer->current().width(), viewer->current().height()), QSize(60, 40));

        viewer->onCommand(ui::Command::Exit);
        const std::string text = test::ShellSandbox::readFile(sandbox.userHive());
        QVERIFY(text.find("\"AUTOROTATE\"=dword:00000000") != std::string::npos);
        QVERIFY(text.find("\"COLORMANAGE\"=dword:00000001") != std::string::npos);
    }

    void desktopStartCentresTheSheetOverTheWindow() {
        test::ShellSandbox sandbox;
        auto viewer = sandbox.startViewer({}, std::nullopt);
        QVERIFY(viewer);
        const bool shown = withSheet(*viewer, [&](SettingsSheet& sheet) {
            const QRect window = viewer->mainWindow().geometry();
            QVERIFY(window.contains(sheet.geometry()) && sheet.geometry() != window);
            QVERIFY((sheet.geometry().center() - window.center()).manhattanLength() <= 2);
            auto* tabs = sheet.findChild<QTabWidget*>(QStringLiteral("tabs12320"));
            tabs->setCurrentIndex(1);
            QApplication::processEvents();
            QVERIFY(controlsOutside(*sheet.page(1)).isEmpty());
            press(sheet, "okButton");
        });
        QVERIFY(shown);
    }
};

QTEST_MAIN(SettingsCommandTest)
#include "settings_command_qtest.moc"
