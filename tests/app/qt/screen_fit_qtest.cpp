// Every screen size drawn right: 240x320, 480x640 at 192 DPI, a desktop at scale 1 and 2 (the
// program runs once as it is and once with QT_SCALE_FACTOR=2, taking the screens of its factor).
#include "shell_sandbox.h"

#include "app/main_window.h"
#include "browse/qt/thumbnail_dialog.h"
#include "support/modal_dialog.h"
#include "ui/command.h"
#include "ui/qt/qt_message_box.h"
#include "ui/string_table.h"

#include <QAbstractButton>
#include <QLabel>
#include <QMessageBox>
#include <QTest>

using namespace velmora;
using Screen = std::optional<platform::qt::EmulatedScreen>;
Q_DECLARE_METATYPE(Screen)

namespace {

void addScreenRows() {
    QTest::addColumn<Screen>("screen");
    const double scale = qEnvironmentVariable("QT_SCALE_FACTOR", QStringLiteral("1")).toDouble();
    if (scale == 1) {
        QTest::newRow("240x320") << Screen(platform::qt::EmulatedScreen{240, 320, 96});
        QTest::newRow("desktop") << Screen();
    } else {
        QTest::newRow("480x640@192") << Screen(platform::qt::EmulatedScreen{480, 640, 192});
        QTest::newRow("desktop at scale 2") << Screen();
    }
}

// In device pixels.
QRect onDevice(const QRect& rect, qreal ratio) {
    return QRect((QPointF(rect.topLeft()) * ratio).toPoint(), QSizeF(rect.size() * ratio).toSize());
}

} // namespace

class ScreenFitTest : public QObject {
    Q_OBJECT

  private slots:
    void thumbnailCellsAreDevicePixels_data() { addScreenRows(); }
    void thumbnailCellsAreDevicePixels() {
        QFETCH(Screen, screen);
        test::ShellSandbox sandbox;
        auto viewer = sandbox.startViewer({}, screen);
        QVERIFY(viewer);
        // 100 x 120 one-pixel black and white squares: any scaling doubles or blurs them.
        image::DibImage checker;
        QVERIFY(checker.create(100, 120));
        for (int y = 0; y < 120; ++y) {
            for (int x = 0; x < 100; ++x) {
                std::fill_n(checker.bits() + y * checker.stride() + x * 3, 3,
                            (x + y) % 2 ? 255 : 0);
            }
        }
        browse::FolderList paths(12, u"\\checker.bmp");
        static_cast<void>(codecs::saveBmp(checker, paths[0]));
        // At this DPI: margin 5 and gap 10 (in 1/96 inch) around cells of 100 x 120.
        const int margin = (5 * platform::screenDpiX() + 48) / 96;
        const int gap = (10 * platform::screenDpiX() + 48) / 96;
        const QSize pitch(100 + gap, 120 + gap);

        test::ModalDialogDriver driver;
        driver.onNext([&](QWidget& dialog) {
            auto& view = static_cast<browse::qt::ThumbnailDialog&>(dialog);
            QTRY_VERIFY(view.pageComplete());
            auto* canvas = view.findChild<QWidget*>(QStringLiteral("thumbnailCanvas"));
            const QImage shown = canvas->grab().toImage();
            QCOMPARE(shown.size(), onDevice(canvas->rect(), canvas->devicePixelRatioF()).size());
            const auto& grid = view.grid();
            QVERIFY(grid.columns >= 2);
            QCOMPARE(grid.columns, shown.width() / pitch.width());
            QCOMPARE(int(grid.cells.size()), grid.columns * (shown.height() / pitch.height()));
            for (size_t i = 0; i < grid.cells.size(); ++i) {
                const auto& cell = grid.cells[i];
                const QPoint place(int(i) % grid.columns * pitch.width(),
                                   int(i) / grid.columns * pitch.height());
                QCOMPARE(QRect(cell.x, cell.y, cell.width, cell.height),
                         QRect(QPoint(margin, margin) + place, QSize(100, 120)));
            }
            // Shown one to one: neighbouring pixels of the checker still differ on the screen.
            const auto& first = grid.cells.front();
            for (int x = first.x; x < first.x + 20; ++x) {
                QVERIFY(shown.pixel(x, first.y + 10) != shown.pixel(x + 1, first.y + 10));
            }
            view.reject();
        });
        browse::qt::ThumbnailDialog(&viewer->mainWindow(), paths, false).run();
        QCOMPARE(driver.seen, QStringList{QStringLiteral("thumbnailDialog")});
    }

    void everyMessageFitsTheScreen_data() { addScreenRows(); }
    void everyMessageFitsTheScreen() {
        QFETCH(Screen, screen);
        test::ShellSandbox sandbox;
        auto viewer = sandbox.startViewer({}, screen);
        QVERIFY(viewer);
        ui::QtMessageBox seam; // the real boxes instead of the sandbox's recorder
        QWidget& window = viewer->mainWindow();
        const QRect area = onDevice(window.geometry(), window.devicePixelRatioF());
        // Every text of the string table, and the composed load failure with a long name.
        std::vector<std::u16string> texts{u"読込失敗:\n" + std::u16string(60, u'x') + u".jpg"};
        for (int id = 1; id <= 41000; ++id) {
            if (std::u16string text = ui::loadResourceString(ui::StringId{id}); !text.empty()) {
                texts.push_back(std::move(text));
            }
        }
        for (const std::u16string& text : texts) {
            QApplication::setActiveWindow(&window); // the box's owner, as a window manager does
            QRect box;
            bool textWhole = false;
            QTimer::singleShot(0, [&] {
                auto* shown = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
                box = onDevice(shown->frameGeometry(), window.devicePixelRatioF());
                const auto* label = shown->findChild<QLabel*>(QStringLiteral("qt_msgbox_label"));
                textWhole = label->width() >= label->minimumSizeHint().width() &&
                            label->height() >= label->heightForWidth(label->width());
                shown->button(QMessageBox::No)->click();
            });
            // Yes and No: the widest row of buttons.
            ui::showMessage(
                {text, ui::kCaptionQuestion, ui::MessageIcon::Question, ui::MessageButtons::YesNo});
            const QString shown = QString::fromStdU16String(text);
            QVERIFY2(box.width() <= area.width() && textWhole, qPrintable(shown));
            QVERIFY2(!screen || area.contains(box), qPrintable(shown));
        }
    }

    void dialogsFitTheScreen_data() { addScreenRows(); }
    void dialogsFitTheScreen() {
        QFETCH(Screen, screen);
        test::ShellSandbox sandbox;
        auto viewer = sandbox.startViewer(
            test::ShellSandbox::u16(sandbox.writePicture("a.png", 320, 200)), screen);
        QVERIFY(viewer);
        const QRect window = viewer->mainWindow().geometry();
        for (const ui::Command command :
             {ui::Command::Open, ui::Command::Save, ui::Command::Trim, ui::Command::Resize,
              ui::Command::Mail, ui::Command::Settings, ui::Command::FileInfo,
              ui::Command::Brightness}) {
            QRect placed;
            QSize content;
            test::ModalDialogDriver driver;
            driver.onNext([&](QWidget& dialog) {
                placed = dialog.geometry();
                content = dialog.minimumSizeHint();
                static_cast<QDialog&>(dialog).reject();
            });
            viewer->onCommand(command);
            const QByteArray shownName = driver.seen.value(0).toLatin1();
            const char* name = shownName.constData();
            QCOMPARE(driver.seen.size(), 1);
            QVERIFY2(placed.width() >= content.width() && placed.height() >= content.height(),
                     name);
            if (screen) {
                QCOMPARE(placed, window); // full screen on the handheld
            } else {
                // Centred over the main window, covering it only when the window is too small.
                QVERIFY2(window.contains(placed), name);
                QVERIFY2((placed.center() - window.center()).manhattanLength() <= 2, name);
                QVERIFY2(placed != window || window.width() < 600, name);
            }
        }
    }
};

QTEST_MAIN(ScreenFitTest)
#include "screen_fit_qtest.moc"
