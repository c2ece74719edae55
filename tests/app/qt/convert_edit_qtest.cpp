// --convert IN OUT --edit OPS run as a process: the written picture equals the same edits run
// in the viewer on the same input; every refused list exits 1 with one line and writes nothing.
#include "codecs/corrections/picture_corrections.h"
#include "codecs/load_image.h"
#include "codecs/picture_notes.h"
#include "codecs/readers.h"
#include "image/loaded_image.h"
#include "shell_sandbox.h"
#include "ui/command.h"

#include <QApplication>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <cstdlib>
#include <cstring>
#include <fstream>

using namespace velmora;
using namespace velmora::app;

namespace {

struct Exit {
    int code = -1;
    QString stdErr;
};

Exit runConvert(const QStringList& arguments) {
    QProcess process;
    process.start(QString::fromLocal8Bit(qgetenv("VELMORA_BINARY")),
                  QStringList{QStringLiteral("--convert")} + arguments);
    if (!process.waitForFinished(60000)) {
        process.kill();
        process.waitForFinished();
        return {};
    }
    return {process.exitCode(), QString::fromLocal8Bit(process.readAllStandardError())};
}

QString host(const std::filesystem::path& path) {
    return QString::fromStdString(path.string());
}

// A picture with a different value in every byte, written as BMP under the root.
std::filesystem::path writePattern(const test::ShellSandbox& sandbox) {
    image::DibImage picture;
    if (!picture.create(61, 40)) {
        qFatal("no memory for a test picture");
    }
    for (int32_t y = 0; y < picture.height(); ++y) {
        for (int32_t x = 0; x < 3 * picture.width(); ++x) {
            picture.row(y)[x] = static_cast<uint8_t>(x * 7 + y * 13 + (x * y >> 3));
        }
    }
    const auto path = sandbox.root() / "in.bmp";
    static_cast<void>(codecs::saveBmp(picture, *platform::toDevicePath(path)));
    return path;
}

bool samePixels(const image::DibImage& a, const image::DibImage& b) {
    if (a.width() != b.width() || a.height() != b.height()) {
        return false;
    }
    for (int32_t y = 0; y < a.height(); ++y) {
        if (std::memcmp(a.row(y), b.row(y), 3 * static_cast<size_t>(a.width())) != 0) {
            return false;
        }
    }
    return true;
}

// Answers the next modal dialog: a field set to a text, then OK.
void answer(const char* fieldName, const QString& text) {
    QTimer::singleShot(0, [fieldName, text] {
        QWidget* dialog = QApplication::activeModalWidget();
        QVERIFY(dialog != nullptr);
        if (fieldName != nullptr) {
            dialog->findChild<QLineEdit*>(QLatin1String(fieldName))->setText(text);
        }
        dialog->findChild<QPushButton*>(QStringLiteral("okButton"))->click();
    });
}

} // namespace

class ConvertEditTest : public QObject {
    Q_OBJECT

  private slots:
    // --convert reads the settings of its configuration folder: by default a photo with an
    // orientation and a profile is written upright and converted, as the viewer reads it; a hive
    // turning both off gives the stored pixels.
    void picturesAreReadByTheSettingsOfTheConfigFolder_data() {
        QTest::addColumn<bool>("on");
        QTest::newRow("defaults") << true;
        QTest::newRow("turned off") << false;
    }
    void picturesAreReadByTheSettingsOfTheConfigFolder() {
        QFETCH(bool, on);
        test::ShellSandbox sandbox;
        const auto pattern = writePattern(sandbox);
        image::LoadedImage stored;
        QVERIFY(codecs::loadImage(stored, *platform::toDevicePath(pattern)));
        const std::string jpeg = sandbox.writeJpeg("plain.jpg", stored);
        const auto photo = sandbox.root() / "photo.jpg";
        std::ofstream(photo, std::ios::binary) << test::withSegment(
            test::withSegment(jpeg, 0xE2, test::iccApp2(test::displayP3Profile())), 0xE1,
            test::exifApp1(test::exifTiff(8)));
        if (!on) {
            std::ofstream(sandbox.userHive())
                << "Windows Registry Editor Version 5.00\n\n"
                   "[HKEY_CURRENT_USER\\Software\\Quorrin\\Velmora]\n"
                   "\"AUTOROTATE\"=dword:00000000\n\"COLORMANAGE\"=dword:00000000\n";
        }
        const auto output = sandbox.root() / "out.bmp";
        const Exit exit = runConvert(
            {host(photo), host(output), QStringLiteral("--config"), host(sandbox.config())});
        QCOMPARE(exit.code, 0);

        codecs::setPictureCorrections({on, on});
        image::LoadedImage viewed;
        QVERIFY(codecs::loadImage(viewed, *platform::toDevicePath(photo)));
        codecs::setPictureCorrections({});
        image::LoadedImage written;
        QVERIFY(codecs::loadImage(written, *platform::toDevicePath(output)));
        QCOMPARE(written.width(), on ? stored.height() : stored.width());
        QVERIFY(samePixels(written, viewed));
        if (!on) {
            image::LoadedImage withoutNotes;
            QVERIFY(codecs::loadImage(withoutNotes,
                                      *platform::toDevicePath(sandbox.root() / "plain.jpg")));
            QVERIFY(samePixels(written, withoutNotes));
        }
    }

    void aChainEqualsTheViewerCommands() {
        test::ShellSandbox sandbox;
        const auto input = writePattern(sandbox);
        const auto output = sandbox.root() / "out.bmp";
        const Exit exit = runConvert({host(input), host(output), QStringLiteral("--edit"),
                                      QStringLiteral("rotate-right,flip-horizontal,resize=50,"
                                                     "contrast=100,sharpen,grey,emboss,negative,"
                                                     "brightness=128,flip-vertical,blur")});
        QCOMPARE(exit.code, 0);

        auto viewer = sandbox.startViewer(test::ShellSandbox::u16(input));
        QVERIFY(viewer);
        viewer->onCommand(ui::Command::RotateRight);
        viewer->onCommand(ui::Command::FlipHorizontal);
        answer("edit1001", QStringLiteral("50"));
        viewer->onCommand(ui::Command::Resize);
        answer(nullptr, {}); // contrast at its initial 100
        viewer->onCommand(ui::Command::Contrast);
        for (const ui::Command id : {ui::Command::Sharpen, ui::Command::Grey, ui::Command::Emboss,
                                     ui::Command::Negative}) {
            viewer->onCommand(id);
        }
        answer(nullptr, {}); // brightness at its initial 128
        viewer->onCommand(ui::Command::Brightness);
        viewer->onCommand(ui::Command::FlipVertical);
        viewer->onCommand(ui::Command::Blur);

        image::LoadedImage written;
        QVERIFY(codecs::loadImage(written, *platform::toDevicePath(output)));
        QCOMPARE(written.width(), 50);
        QVERIFY(samePixels(written, viewer->current()));
    }

    void turnsAloneAreMadeOnTheJpegData_data() {
        QTest::addColumn<QString>("edits");
        QTest::addColumn<bool>("lossless");
        QTest::newRow("turns") << QStringLiteral("flip-vertical,rotate-left") << true;
        QTest::newRow("turns and more")
            << QStringLiteral("rotate-right,negative,negative") << false;
    }
    void turnsAloneAreMadeOnTheJpegData() {
        QFETCH(QString, edits);
        QFETCH(bool, lossless);
        test::ShellSandbox sandbox;
        image::DibImage stored;
        QVERIFY(stored.create(64, 48));
        for (int32_t y = 0; y < stored.height(); ++y) {
            for (int32_t x = 0; x < 3 * stored.width(); ++x) {
                stored.row(y)[x] = static_cast<uint8_t>(x + y * 3);
            }
        }
        sandbox.writeJpeg("in.jpg", stored);
        const auto input = sandbox.root() / "in.jpg";
        const auto output = sandbox.root() / "out.jpg";
        const Exit exit = runConvert({host(input), host(output), QStringLiteral("--edit"), edits});
        QCOMPARE(exit.code, 0);
        // A turn left after a vertical flip is jpegtran's transverse; the rest is a right turn.
        const auto reference = sandbox.root() / "jpegtran.jpg";
        const QString command =
            QStringLiteral("jpegtran -perfect %1 %2 > %3")
                .arg(lossless ? QStringLiteral("-transverse") : QStringLiteral("-rotate 90"),
                     host(input), host(reference));
        QCOMPARE(std::system(command.toLocal8Bit().constData()), 0);
        image::LoadedImage written;
        image::LoadedImage turned;
        QVERIFY(codecs::loadImage(written, *platform::toDevicePath(output)));
        QVERIFY(codecs::loadImage(turned, *platform::toDevicePath(reference)));
        QCOMPARE(written.width(), 48);
        QCOMPARE(samePixels(written, turned), lossless);
    }

    void refusalsExitWithOneLineAndWriteNothing() {
        test::ShellSandbox sandbox;
        const auto input = writePattern(sandbox);
        const auto output = sandbox.root() / "out.png";
        const char* lists[] = {"",
                               "rotate",
                               "grey,,blur",
                               "resize=5001",
                               "resize=0x10",
                               "brightness=255",
                               "contrast=0",
                               "threshold=x",
                               "trim=1x1+1",
                               "resize=1"}; // the last: a 61 x 0 picture cannot be made
        for (const char* list : lists) {
            const Exit exit = runConvert(
                {host(input), host(output), QStringLiteral("--edit"), QLatin1String(list)});
            QVERIFY2(exit.code == 1, list);
            QVERIFY2(exit.stdErr.trimmed().count(QLatin1Char('\n')) == 0 &&
                         !exit.stdErr.trimmed().isEmpty(),
                     qPrintable(exit.stdErr));
            QVERIFY2(!std::filesystem::exists(output), list);
        }
        // --edit belongs to --convert.
        QProcess process;
        process.start(QString::fromLocal8Bit(qgetenv("VELMORA_BINARY")),
                      {QStringLiteral("--edit"), QStringLiteral("grey"), host(input)});
        QVERIFY(process.waitForFinished(60000));
        QCOMPARE(process.exitCode(), 1);
    }
};

QTEST_MAIN(ConvertEditTest)
#include "convert_edit_qtest.moc"
