// Every screen size drawn right: on the handheld's 240x320, on an emulated 480x640 at 192 DPI and
// on a desktop at scale factor 2. Qt's scale factor is fixed per process, so this program runs
// twice (as it is, and with QT_SCALE_FACTOR=2); each run takes the screens of its factor.
#include "shell_sandbox.h"

#include "app/command_ids.h"
#include "app/main_window.h"
#include "browse/qt/thumbnail_dialog.h"
#include "platform/screen.h"
#include "support/modal_dialog.h"
#include "ui/message_box.h"
#include "ui/qt/qt_message_box.h"
#include "ui/string_table.h"

#include <QAbstractButton>
#include <QApplication>
#include <QLabel>
#include <QMessageBox>
#include <QTest>
#include <QTimer>

using namespace velmora;
using platform::qt::EmulatedScreen;
using Screen = std::optional<EmulatedScreen>;
Q_DECLARE_METATYPE(Screen)

namespace {

struct ScreenCase {
    const char* name;
    Screen screen;
    qreal scale;
};

const ScreenCase kScreens[] = {
    {"240x320", EmulatedScreen{240, 320, 96}, 1},
    {"desktop", std::nullopt, 1},
    {"480x640@192", EmulatedScreen{480, 640, 192}, 2},
    {"desktop at scale 2", std::nullopt, 2},
};

qreal processScale() {
    const QByteArray factor = qgetenv("QT_SCALE_FACTOR");
    return factor.isEmpty() ? 1 : factor.toDouble();
}

void addScreenRows() {
    QTest::addColumn<Screen>("screen");
    for (const ScreenCase& c : kScreens) {
        if (qFuzzyCompare(c.scale, processScale())) {
            QTest::newRow(c.name) << c.screen;
        }
    }
}

// A 100 x 120 picture of one-pixel black and white squares: any scaling of it blurs or doubles
// neighbouring pixels.
std::filesystem::path writeChecker(const test::ShellSandbox& sandbox, const std::string& name) {
    image::DibImage picture;
    picture.create(browse::kThumbnailWidth, browse::kThumbnailHeight);
    for (int y = 0; y < picture.height(); ++y) {
        for (int x = 0; x < picture.width(); ++x) {
            const uint8_t value = (x + y) % 2 == 0 ? 0 : 255;
            std::fill_n(picture.bits() + y * picture.stride() + x * 3, 3, value);
        }
    }
    const auto host = sandbox.root() / name;
    codecs::savePng(picture, *platform::toDevicePath(host));
    return host;
}

// The main window's area in device pixels, in which everything must fit.
QRect deviceRect(const QRect& rect, qreal ratio) {
    return QRectF(rect.x() * ratio, rect.y() * ratio, rect.width() * ratio, rect.height() * ratio)
        .toAlignedRect();
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
        browse::FolderList paths;
        for (int i = 0; i < 12; ++i) {
            const auto host = writeChecker(sandbox, "checker" + std::to_string(i) + ".png");
            paths.push_back(*platform::toDevicePath(host));
        }
        const int dpi = platform::screenDpiX();
        // The grid's lengths at this DPI: margin 5, gap 10 (in 1/96 inch), cells 100 x 120.
        const int margin = (5 * dpi + 48) / 96;
        const int pitchX = 100 + (10 * dpi + 48) / 96;
        const int pitchY = 120 + (10 * dpi + 48) / 96;

        bool checked = false;
        test::ModalDialogDriver driver;
        driver.onNext([&](QWidget& dialog) {
            auto& view = static_cast<browse::qt::ThumbnailDialog&>(dialog);
            QTRY_VERIFY(view.pageComplete());
            auto* canvas = view.findChild<QWidget*>(QStringLiteral("thumbnailCanvas"));
            const qreal ratio = canvas->devicePixelRatioF();
            const QSize device = (QSizeF(canvas->size()) * ratio).toSize();
            const auto& grid = view.grid();
            QCOMPARE(grid.columns, device.width() / pitchX);
            QCOMPARE(int(grid.cells.size()), grid.columns * (device.height() / pitchY));
            QVERIFY(grid.columns >= 2);
            for (size_t i = 0; i < grid.cells.size(); ++i) {
                const auto& cell = grid.cells[i];
                const int column = int(i) % grid.columns;
                const int row = int(i) / grid.columns;
                QCOMPARE(QRect(cell.x, cell.y, cell.width, cell.height),
                         QRect(margin + column * pitchX, margin + row * pitchY, 100, 120));
            }
            // Shown one to one: the checker's neighbouring pixels still differ on the screen.
            const QImage shown = canvas->grab().toImage();
            QCOMPARE(shown.size(), device);
            const auto& first = grid.cells.front();
            for (int x = 0; x < 20; ++x) {
                QVERIFY(qGray(shown.pixel(first.x + x, first.y + 10)) !=
                        qGray(shown.pixel(first.x + x + 1, first.y + 10)));
            }
            checked = true;
            view.reject();
        });
        browse::qt::ThumbnailDialog view(&viewer->mainWindow(), paths, false);
        view.run();
        QVERIFY(checked);
    }

    void everyMessageFitsTheScreen_data() { addScreenRows(); }
    void everyMessageFitsTheScreen() {
        QFETCH(Screen, screen);
        test::ShellSandbox sandbox;
        auto viewer = sandbox.startViewer({}, screen);
        QVERIFY(viewer);
        ui::QtMessageBox seam; // the real boxes instead of the sandbox's recorder
        QWidget& window = viewer->mainWindow();
        const qreal ratio = window.devicePixelRatioF();
        const QRect screenArea = deviceRect(window.geometry(), ratio);

        std::vector<std::u16string> texts;
        for (int id = 1; id <= 41000; ++id) {
            if (std::u16string text = ui::loadResourceString(id); !text.empty()) {
                texts.push_back(std::move(text));
            }
        }
        // The one composed message, with a long file name that has no place to break.
        texts.push_back(u"読込失敗:\n" + std::u16string(60, u'x') + u".jpg");
        QVERIFY(texts.size() > 30);
        for (const std::u16string& text : texts) {
            QApplication::setActiveWindow(&window); // the box's owner, as a window manager does
            QRect box;
            bool textWhole = false;
            QTimer::singleShot(0, [&] {
                auto* shown = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
                QVERIFY(shown);
                box = deviceRect(shown->frameGeometry(), ratio);
                const auto* label = shown->findChild<QLabel*>(QStringLiteral("qt_msgbox_label"));
                textWhole = label->width() >= label->minimumSizeHint().width() &&
                            label->height() >= label->heightForWidth(label->width());
                shown->button(QMessageBox::No)->click();
            });
            // Yes and No: the widest row of buttons.
            ui::showMessage(
                {text, ui::kCaptionQuestion, ui::MessageIcon::Question, ui::MessageButtons::YesNo});
            const QString shownText = QString::fromStdU16String(text);
            QVERIFY2(box.width() <= screenArea.width(),
                     qPrintable(QStringLiteral("%1 px: %2").arg(box.width()).arg(shownText)));
            if (screen) {
                QVERIFY2(screenArea.contains(box),
                         qPrintable(QStringLiteral("%1 %2,%3 %4x%5 in %6,%7 %8x%9")
                                        .arg(shownText)
                                        .arg(box.x())
                                        .arg(box.y())
                                        .arg(box.width())
                                        .arg(box.height())
                                        .arg(screenArea.x())
                                        .arg(screenArea.y())
                                        .arg(screenArea.width())
                                        .arg(screenArea.height())));
            }
            QVERIFY2(textWhole, qPrintable(shownText));
        }
    }

    void dialogsFitTheScreen_data() { addScreenRows(); }
    void dialogsFitTheScreen() {
        QFETCH(Screen, screen);
        test::ShellSandbox sandbox;
        auto viewer = sandbox.startViewer(
            test::ShellSandbox::u16(sandbox.writePicture("a.png", 320, 200)), screen);
        QVERIFY(viewer);
        const QWidget& window = viewer->mainWindow();
        const struct {
            int command;
            const char* dialog;
        } commands[] = {
            {app::kCmdOpen, "openDialog"},         {app::kCmdSave, "saveDialog"},
            {app::kCmdTrim, "trimDialog"},         {app::kCmdResize, "resizeDialog"},
            {app::kCmdMail, "mailDialog"},         {app::kCmdSettings, "settingsSheet"},
            {app::kCmdFileInfo, "fileInfoDialog"}, {app::kCmdBrightness, "valueDialog"},
        };
        for (const auto& c : commands) {
            QRect placed;
            QSize content;
            test::ModalDialogDriver driver;
            driver.onNext([&](QWidget& dialog) {
                placed = dialog.geometry();
                content = dialog.minimumSizeHint();
                static_cast<QDialog&>(dialog).reject();
            });
            viewer->onCommand(c.command);
            QCOMPARE(driver.seen, QStringList{QLatin1String(c.dialog)});
            QVERIFY2(content.width() <= placed.width() && content.height() <= placed.height(),
                     c.dialog);
            if (screen) {
                // Full screen on the handheld: the dialog covers the main window.
                QCOMPARE(placed, window.geometry());
            } else {
                // On a desktop: its own size, centred over the main window (which it covers
                // only when the window is smaller than what the dialog asks for).
                QVERIFY2(window.geometry().contains(placed), c.dialog);
                QVERIFY2(placed != window.geometry() || window.width() < 600, c.dialog);
                QVERIFY2((placed.center() - window.geometry().center()).manhattanLength() <= 2,
                         c.dialog);
            }
        }
    }
};

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    ScreenFitTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "screen_fit_qtest.moc"
