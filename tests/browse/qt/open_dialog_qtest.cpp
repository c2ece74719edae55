#include "browse/qt/open_dialog.h"
#include "browse/qt/thumbnail_dialog.h"
#include "codecs/readers.h"
#include "image/dib_image.h"
#include "platform/device_fs.h"
#include "platform/screen.h"
#include "settings/app_settings.h"

#include "support/recording_message_box.h"
#include "support/temp_dir.h"

#include <QApplication>
#include <QPushButton>
#include <QScrollBar>
#include <QTimer>
#include <QTreeView>
#include <QWheelEvent>
#include <QtTest>

#include <fstream>

#include <functional>

using namespace velmora;
using browse::qt::OpenDialog;
using browse::qt::ThumbnailDialog;

namespace {

// Runs body once the modal dialog of that object name shows.
void whenShown(const char* objectName, std::function<void(QDialog&)> body) {
    QTimer::singleShot(0, [objectName, body = std::move(body)] {
        auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        if (dialog == nullptr || dialog->objectName() != QLatin1String(objectName)) {
            qWarning("%s is not showing", objectName);
            return;
        }
        body(*dialog);
    });
}

QStringList rowNames(QDialog& dialog) {
    const auto* list = dialog.findChild<QTreeView*>(QStringLiteral("fileList"));
    QStringList names;
    for (int row = 0; row < list->model()->rowCount(); ++row) {
        names << list->model()->index(row, 0).data().toString();
    }
    return names;
}

void tapRow(QDialog& dialog, int row) {
    auto* list = dialog.findChild<QTreeView*>(QStringLiteral("fileList"));
    const QRect rect = list->visualRect(list->model()->index(row, 0));
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, rect.center());
}

// A desktop double click as the window system delivers it: press, release, press, release.
void doubleClickRow(QDialog& dialog, int row) {
    auto* list = dialog.findChild<QTreeView*>(QStringLiteral("fileList"));
    const QPoint point = list->visualRect(list->model()->index(row, 0)).center();
    QTest::mouseDClick(dialog.windowHandle(), Qt::LeftButton, {},
                       list->viewport()->mapTo(&dialog, point));
}

void press(QDialog& dialog, const char* button) {
    dialog.findChild<QPushButton*>(QLatin1String(button))->click();
}

// Taps the middle of cell i of a thumbnail view once its page is drawn.
void tapCell(QDialog& dialog, int cell) {
    auto& view = static_cast<ThumbnailDialog&>(dialog);
    QTRY_VERIFY(view.pageComplete());
    const auto& rect = view.grid().cells.at(static_cast<size_t>(cell));
    auto* canvas = view.findChild<QWidget*>(QStringLiteral("thumbnailCanvas"));
    QTest::mouseClick(canvas, Qt::LeftButton, {}, QPoint(rect.x + 50, rect.y + 60));
}

} // namespace

class OpenDialogTest : public QObject {
    Q_OBJECT
  private slots:
    void init() {
        platform::setDeviceRoot(dir_.path());
        image::DibImage picture;
        QVERIFY(picture.create(40, 30));
        for (int i = 1; i <= 5; ++i) {
            std::filesystem::create_directories(dir_.path() / "P");
            picture.fillColor(0x102030u * static_cast<uint32_t>(i));
            QVERIFY(codecs::saveBmp(picture, u"\\P\\p" + std::u16string(1, u'0' + i) + u".bmp"));
        }
        settings::lastBrowseDir().clear();
    }
    void cleanup() {
        platform::setDeviceRoot("/");
        std::filesystem::remove_all(dir_.path() / "P");
    }

    void tapsEnterGoUpAndChooseThirdOfFive() {
        QStringList atRoot, inP, backAtRoot;
        whenShown("openDialog", [&](QDialog& dialog) {
            atRoot = rowNames(dialog);
            tapRow(dialog, 0);
            backAtRoot = (tapRow(dialog, 0), rowNames(dialog));
            tapRow(dialog, 0);
            inP = rowNames(dialog);
            tapRow(dialog, 3);
        });
        OpenDialog dialog(nullptr, settings_);
        const auto choice = dialog.run();
        QCOMPARE(atRoot, QStringList({"P"}));
        QCOMPARE(backAtRoot, QStringList({"P"}));
        QCOMPARE(inP, QStringList({"..", "p1.bmp", "p2.bmp", "p3.bmp", "p4.bmp", "p5.bmp"}));
        QVERIFY(choice.has_value());
        QCOMPARE(choice->list.size(), size_t{5});
        QCOMPARE(choice->list[0], u"\\P\\p1.bmp");
        QCOMPARE(choice->currentIndex, 2);
        QCOMPARE(settings::lastBrowseDir(), u"P\\");

        // The next run starts where the last picture was chosen; cancel keeps it.
        whenShown("openDialog", [&](QDialog& d) {
            inP = rowNames(d);
            press(d, "cancelButton");
        });
        OpenDialog again(nullptr, settings_);
        QVERIFY(!again.run().has_value());
        QCOMPARE(inP.front(), QStringLiteral(".."));
        QCOMPARE(settings::lastBrowseDir(), u"P\\");
    }

    void doubleClickEntersAFolderOnce() {
        QStringList listed;
        whenShown("openDialog", [&](QDialog& dialog) {
            doubleClickRow(dialog, 0);
            listed = rowNames(dialog);
            press(dialog, "cancelButton");
        });
        OpenDialog dialog(nullptr, settings_);
        QVERIFY(!dialog.run().has_value());
        QCOMPARE(listed.size(), 6);
        QCOMPARE(listed.front(), QStringLiteral(".."));
    }

    void vanishedRememberedFolderStartsAtTheRoot() {
        settings::lastBrowseDir() = u"A\\B\\";
        OpenDialog dialog(nullptr, settings_);
        QVERIFY(dialog.currentFolder().empty());
        QVERIFY(settings::lastBrowseDir().empty());
    }

    void thumbnailChoiceKeepsTheRememberedFolder() {
        whenShown("openDialog", [&](QDialog& dialog) {
            tapRow(dialog, 0); // into P
            whenShown("thumbnailDialog", [](QDialog& view) { tapCell(view, 1); });
            press(dialog, "thumbnailButton");
        });
        OpenDialog dialog(nullptr, settings_);
        const auto choice = dialog.run();
        QVERIFY(choice.has_value());
        QCOMPARE(choice->list.size(), size_t{5});
        QCOMPARE(choice->currentIndex, 1);
        QVERIFY(settings::lastBrowseDir().empty());
    }

    void tapOnAnEmptyCellDoesNothing() {
        bool stillOpen = false;
        whenShown("thumbnailDialog", [&](QDialog& view) {
            tapCell(view, 1); // only one picture: the second cell is empty
            stillOpen = view.isVisible();
            auto& grid = static_cast<ThumbnailDialog&>(view);
            // The drawn thumbnail is the picture in its cell, not the white page.
            const QImage shown = view.findChild<QWidget*>("thumbnailCanvas")->grab().toImage();
            const auto& cell = grid.grid().cells[0];
            QCOMPARE(shown.pixelColor(cell.x + 50, cell.y + 60), QColor(0x30, 0x20, 0x10));
            tapCell(view, 0);
        });
        ThumbnailDialog view(nullptr, {u"\\P\\p1.bmp"}, false);
        const auto chosen = view.run();
        QVERIFY(stillOpen);
        QVERIFY(chosen.has_value());
        QCOMPARE(*chosen, u"\\P\\p1.bmp");
        QVERIFY(!std::filesystem::exists(dir_.path() / "P" / "VelThumbs"));
    }

    void downKeyTurnsToThePageTheTapChoosesFrom() {
        QWidget handheld;
        handheld.setGeometry(0, 0, 240, 320);
        whenShown("thumbnailDialog", [](QDialog& view) {
            auto& grid = static_cast<ThumbnailDialog&>(view);
            QTRY_VERIFY(grid.pageComplete());
            QCOMPARE(grid.grid().cells.size(), size_t{4});
            QTest::keyClick(view.findChild<QWidget*>("thumbnailCanvas"), Qt::Key_Down);
            QCOMPARE(grid.page(), 1);
            QTest::keyClick(view.findChild<QWidget*>("thumbnailCanvas"), Qt::Key_Down);
            QCOMPARE(grid.page(), 1); // the last page
            auto* scrollBar = view.findChild<QScrollBar*>("pageScrollBar");
            QCOMPARE(scrollBar->value(), 1);
            scrollBar->setValue(0);
            QCOMPARE(grid.page(), 0);
            scrollBar->triggerAction(QAbstractSlider::SliderPageStepAdd);
            QCOMPARE(grid.page(), 1);
            tapCell(view, 0);
        });
        browse::FolderList paths;
        for (char16_t i = u'1'; i <= u'5'; ++i) {
            paths.push_back(u"\\P\\p" + std::u16string(1, i) + u".bmp");
        }
        ThumbnailDialog view(&handheld, paths, false);
        QCOMPARE(view.run().value_or(u""), u"\\P\\p5.bmp");
    }

    // Desktop: the wheel turns pages, arrows move the selection across pages, a right click
    // chooses nothing, Enter chooses; an unreadable picture is marked, unlike a black one.
    void desktopGridSelectsWithKeysAndMarksBrokenPictures() {
        platform::ScreenMetrics desktop;
        desktop.handheld = false;
        platform::setScreenMetrics(desktop);
        image::DibImage black;
        QVERIFY(black.create(40, 30));
        QVERIFY(codecs::saveBmp(black, u"\\P\\p6.bmp"));
        std::ofstream(dir_.path() / "P" / "p7.bmp") << "not a picture";
        QWidget owner;
        owner.setGeometry(0, 0, 240, 320);
        enum Input { WheelDown = -1, WheelUp = -2, RightClick = -3 }; // else a key
        const struct {
            int input;
            int page;
            int selected;
        } steps[] = {{WheelDown, 1, -1},    {WheelUp, 0, -1},     {Qt::Key_Right, 0, 0},
                     {Qt::Key_Right, 0, 1}, {Qt::Key_Down, 0, 3}, {Qt::Key_Down, 1, 5},
                     {Qt::Key_Left, 1, 4},  {RightClick, 1, 4}};
        QStringList wrong;
        std::vector<int> middles;
        whenShown("thumbnailDialog", [&](QDialog& dialog) {
            auto& view = static_cast<ThumbnailDialog&>(dialog);
            auto* canvas = view.findChild<QWidget*>("thumbnailCanvas");
            QTRY_VERIFY(view.pageComplete());
            for (const auto& s : steps) {
                if (s.input == RightClick) {
                    QTest::mouseClick(canvas, Qt::RightButton, {}, {50, 60});
                } else if (s.input < 0) {
                    QWheelEvent wheel({50, 60}, canvas->mapToGlobal(QPointF(50, 60)), {},
                                      {0, s.input == WheelUp ? 120 : -120}, Qt::NoButton, {},
                                      Qt::NoScrollPhase, false);
                    QApplication::sendEvent(canvas, &wheel);
                } else {
                    QTest::keyClick(canvas, Qt::Key(s.input));
                }
                QTRY_VERIFY(view.pageComplete());
                if (view.page() != s.page || view.selectedItem() != s.selected ||
                    !view.isVisible()) {
                    wrong << QString::number(&s - steps);
                }
            }
            // Page 1 holds p5, p6 (black) and p7 (unreadable): the middles of their cells.
            const QImage shown = canvas->grab().toImage();
            for (const int cell : {1, 2}) {
                const auto& rect = view.grid().cells[static_cast<size_t>(cell)];
                middles.push_back(qGray(shown.pixel(rect.x + 50, rect.y + 60)));
            }
            QTest::keyClick(canvas, Qt::Key_Return);
        });
        ThumbnailDialog view(&owner,
                             {u"\\P\\p1.bmp", u"\\P\\p2.bmp", u"\\P\\p3.bmp", u"\\P\\p4.bmp",
                              u"\\P\\p5.bmp", u"\\P\\p6.bmp", u"\\P\\p7.bmp"},
                             false);
        const auto chosen = view.run();
        platform::setScreenMetrics({});
        QCOMPARE(wrong, QStringList());
        QCOMPARE(chosen.value_or(u""), u"\\P\\p5.bmp");
        QCOMPARE(middles.size(), size_t{2});
        QCOMPARE(middles[0], 0);  // black
        QVERIFY(middles[1] > 40); // marked
    }

  private:
    test::TempDir dir_;
    test::RecordingMessageBox boxes_;
    settings::AppSettings settings_;
};

QTEST_MAIN(OpenDialogTest)
#include "open_dialog_qtest.moc"
