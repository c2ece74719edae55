// The command line: option parsing, and the real program run as a process for the single
// instance, --convert, --screenshot, --help and --version.
#include "app/command_line_options.h"
#include "app/convert_command.h"
#include "codecs/load_image.h"
#include "codecs/readers.h"
#include "image/dib_image.h"
#include "platform/device_fs.h"
#include "support/temp_dir.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QProcess>
#include <QSet>
#include <QTest>

#include <cstring>
#include <sys/stat.h>

using namespace velmora;
using namespace velmora::app;

class CommandLineTest : public QObject {
    Q_OBJECT

  private:
    static QString binary() { return QString::fromLocal8Bit(qgetenv("VELMORA_BINARY")); }

    static QString hostPath(const test::TempDir& dir, const char* name) {
        return QString::fromStdString((dir.path() / name).string());
    }

    // A 48x32 BMP written by the viewer's own writer.
    static QString writeBmp(const test::TempDir& dir) {
        image::DibImage picture;
        if (!picture.create(48, 32)) {
            qFatal("no memory for a test picture");
        }
        picture.fillColor(0x00FF00);
        const QString path = hostPath(dir, "in.bmp");
        static_cast<void>(codecs::saveBmp(picture, *platform::toDevicePath(dir.path() / "in.bmp")));
        return path;
    }

    struct Run {
        int exitCode = -1;
        QString stdErr;
        QString stdOut;
    };

    static Run
    run(const QStringList& arguments,
        const QProcessEnvironment& environment = QProcessEnvironment::systemEnvironment(),
        const QString& program = binary()) {
        constexpr int kTimeoutMs = 30000;
        QProcess process;
        process.setProcessEnvironment(environment);
        process.start(program, arguments);
        Run result;
        if (!process.waitForFinished(kTimeoutMs)) {
            process.kill();
            process.waitForFinished();
            return result;
        }
        result.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -2;
        result.stdErr = QString::fromLocal8Bit(process.readAllStandardError());
        result.stdOut = QString::fromLocal8Bit(process.readAllStandardOutput());
        return result;
    }

  private slots:
    void initTestCase() {
        QVERIFY2(QFileInfo(binary()).isExecutable(), "VELMORA_BINARY must name the program");
    }

    void optionsAreParsed() {
        const ParsedCommandLine parsed = parseCommandLine(
            {QStringLiteral("--screen"), QStringLiteral("240x320@192"), QStringLiteral("--root"),
             QStringLiteral("/r"), QStringLiteral("/r/My"), QStringLiteral("Photo.jpg"),
             QStringLiteral("--"), QStringLiteral("--odd.png")});
        QVERIFY(parsed.error.isEmpty());
        QVERIFY(parsed.options.mode == CommandLineOptions::Mode::Viewer);
        QVERIFY(parsed.options.screen.has_value());
        QCOMPARE(parsed.options.screen->width, 240);
        QCOMPARE(parsed.options.screen->height, 320);
        QCOMPARE(parsed.options.screen->dpi, 192);
        QCOMPARE(parsed.options.root, QStringLiteral("/r"));
        // Pieces of a path given without quotes come back together.
        QCOMPARE(parsed.options.picture, QStringLiteral("/r/My Photo.jpg --odd.png"));

        const ParsedCommandLine convert = parseCommandLine(
            {QStringLiteral("--convert"), QStringLiteral("a.gif"), QStringLiteral("b.jpg"),
             QStringLiteral("--quality"), QStringLiteral("20")});
        QVERIFY(convert.error.isEmpty());
        QVERIFY(convert.options.mode == CommandLineOptions::Mode::Convert);
        QCOMPARE(convert.options.convertOutput, QStringLiteral("b.jpg"));
        QCOMPARE(convert.options.quality, 20);
    }

    void badOptionsAreRefused() {
        const QStringList bad[] = {{QStringLiteral("--screen"), QStringLiteral("0x320")},
                                   {QStringLiteral("--screen"), QStringLiteral("240x320@5")},
                                   {QStringLiteral("--screen"), QStringLiteral("240*320")},
                                   {QStringLiteral("--quality"), QStringLiteral("101")},
                                   {QStringLiteral("--quality"), QStringLiteral("high")},
                                   {QStringLiteral("--convert"), QStringLiteral("only-input.bmp")},
                                   {QStringLiteral("--config")},
                                   {QStringLiteral("--frobnicate")}};
        for (const QStringList& arguments : bad) {
            QVERIFY2(!parseCommandLine(arguments).error.isEmpty(), qPrintable(arguments.join(' ')));
        }
    }

    void outputTypeFollowsTheEnding() {
        QVERIFY(outputTypeFor(QStringLiteral("x.JPEG")) == OutputType::Jpeg);
        QVERIFY(outputTypeFor(QStringLiteral("x.Bmp")) == OutputType::Bmp);
        QVERIFY(outputTypeFor(QStringLiteral("x.png")) == OutputType::Png);
        QVERIFY(outputTypeFor(QStringLiteral("x.tif")) == OutputType::Tiff);
        QVERIFY(outputTypeFor(QStringLiteral("x.tiff")) == OutputType::Unknown);
        QVERIFY(outputTypeFor(QStringLiteral("x.WebP")) == OutputType::Webp);
        QVERIFY(outputTypeFor(QStringLiteral("x.avif")) == OutputType::Avif);
        QVERIFY(outputTypeFor(QStringLiteral("png")) == OutputType::Unknown);
    }

    void convertWritesTheChosenType() {
        test::TempDir dir;
        const QString input = writeBmp(dir);
        image::LoadedImage original;
        QVERIFY(codecs::loadImage(original, *platform::toDevicePath(input.toStdString())));
        // Quality 100 writes WebP and AVIF lossless.
        const std::pair<const char*, const char*> outputs[] = {
            {"out.png", "99"},  {"out.jpg", "99"},  {"out.tif", "99"},    {"out.bmp", "99"},
            {"out.webp", "60"}, {"out.avif", "60"}, {"same.webp", "100"}, {"same.avif", "100"}};
        for (const auto& [name, quality] : outputs) {
            const QString output = hostPath(dir, name);
            const Run result = run({QStringLiteral("--convert"), input, output,
                                    QStringLiteral("--quality"), QLatin1String(quality)});
            QCOMPARE(result.exitCode, 0);
            QVERIFY(result.stdErr.isEmpty());
            // Read back with the viewer's own readers (Qt has no TIFF reader here).
            image::LoadedImage written;
            const auto device = platform::toDevicePath(output.toStdString());
            QVERIFY2(device && codecs::loadImage(written, *device), name);
            QCOMPARE(written.width(), 48);
            QCOMPARE(written.height(), 32);
            if (QLatin1String(name).startsWith(QLatin1String("same"))) {
                for (int32_t y = 0; y < 32; ++y) {
                    QVERIFY2(std::memcmp(written.row(y), original.row(y), 3 * 48) == 0, name);
                }
            }
        }
    }

    void convertFailuresExitWithOneLine() {
        test::TempDir dir;
        const QString input = writeBmp(dir);
        const QString broken =
            QString::fromStdString(dir.write("broken.gif", "GIF89a\x01").string());
        const QStringList failing[] = {
            {QStringLiteral("--convert"), hostPath(dir, "missing.png"), hostPath(dir, "o.png")},
            {QStringLiteral("--convert"), broken, hostPath(dir, "o.png")},
            {QStringLiteral("--convert"), input, hostPath(dir, "o.gif")},
            {QStringLiteral("--convert"), input, hostPath(dir, "no-such-folder/o.png")}};
        for (const QStringList& arguments : failing) {
            const Run result = run(arguments);
            QCOMPARE(result.exitCode, 1);
            QCOMPARE(result.stdErr.count(QLatin1Char('\n')), 1);
        }
        QVERIFY(!QFileInfo::exists(hostPath(dir, "o.png")));
    }

    void convertOfANamedPipeFailsAtOnce() {
        // Without a writer, a plain open of the pipe would wait for ever.
        test::TempDir dir;
        for (const char* name :
             {"p.jpg", "p.gif", "p.bmp", "p.mag", "p.png", "p.tif", "p.webp", "p.avif"}) {
            const QString pipe = hostPath(dir, name);
            QVERIFY(mkfifo(pipe.toLocal8Bit().constData(), 0600) == 0);
            const Run result = run({QStringLiteral("--convert"), pipe, hostPath(dir, "o.png")});
            QVERIFY2(result.exitCode == 1, name);
            QVERIFY(result.stdErr.contains(QStringLiteral("cannot read a picture")));
        }
    }

    void helpAndVersionNeedNoDisplay() {
        const Run help = run({QStringLiteral("--help")});
        QCOMPARE(help.exitCode, 0);
        QVERIFY(help.stdOut.contains(QStringLiteral("--screenshot")));
        const Run version = run({QStringLiteral("--version")});
        QCOMPARE(version.exitCode, 0);
        QVERIFY(version.stdOut.startsWith(QStringLiteral("velmora " VELMORA_VERSION "\n")));
        for (const char* library :
             {"Qt ", "libjpeg", "libpng", "libtiff", "libwebp", "libavif", "libheif", "libjxl"}) {
            QVERIFY2(version.stdOut.contains(QLatin1String(library)), library);
        }
        // The newer formats' versions come from their module, found beside the program.
        QVERIFY(!version.stdOut.contains(QStringLiteral("not available")));
    }

    void withoutItsModuleTheNewerFormatsFailAsUnsupported() {
        test::TempDir dir;
        const QString input = writeBmp(dir);
        const QString webp = hostPath(dir, "in.webp");
        const QString avif = hostPath(dir, "in.avif");
        image::LoadedImage picture;
        QVERIFY(codecs::loadImage(picture, *platform::toDevicePath(input.toStdString())));
        QVERIFY(codecs::saveWebp(picture, *platform::toDevicePath(webp.toStdString()), 90));
        QVERIFY(codecs::saveAvif(picture, *platform::toDevicePath(avif.toStdString()), 90));
        // A copy of the program in a folder of its own: no module beside it, or a broken one.
        for (const char* folder : {"missing", "broken"}) {
            QVERIFY(QDir().mkpath(hostPath(dir, folder)));
            const QString lone = hostPath(dir, folder) + QStringLiteral("/velmora");
            QVERIFY(QFile::copy(binary(), lone));
            if (QLatin1String(folder) == QLatin1String("broken")) {
                dir.write("broken/velmora-formats.so", "not a shared object");
            }
            const QStringList failing[] = {
                {QStringLiteral("--convert"), webp, hostPath(dir, "o.png")},
                {QStringLiteral("--convert"), avif, hostPath(dir, "o.png")},
                {QStringLiteral("--convert"), input, hostPath(dir, "o.webp")},
                {QStringLiteral("--convert"), input, hostPath(dir, "o.avif")}};
            for (const QStringList& arguments : failing) {
                const Run result = run(arguments, QProcessEnvironment::systemEnvironment(), lone);
                QCOMPARE(result.exitCode, 1);
                QVERIFY2(result.stdErr.contains(QStringLiteral("unavailable")),
                         qPrintable(result.stdErr));
                QVERIFY(result.stdErr.contains(QStringLiteral("cannot ")));
            }
            QVERIFY(!QFileInfo::exists(hostPath(dir, "o.png")));
            QVERIFY(!QFileInfo::exists(hostPath(dir, "o.webp")));
            const Run version =
                run({QStringLiteral("--version")}, QProcessEnvironment::systemEnvironment(), lone);
            QCOMPARE(version.exitCode, 0);
            QVERIFY(version.stdOut.contains(QStringLiteral("libjxl: not available")));
            // Everything else works as ever.
            QCOMPARE(run({QStringLiteral("--convert"), input, hostPath(dir, "o.png")},
                         QProcessEnvironment::systemEnvironment(), lone)
                         .exitCode,
                     0);
            QVERIFY(QFile::remove(hostPath(dir, "o.png")));
        }
    }

    void screenshotShowsThePictureThenQuitsSavingTheSettings() {
        test::TempDir dir;
        const QString picture = writeBmp(dir);
        const QString shot = hostPath(dir, "shot.png");
        const Run result =
            run({QStringLiteral("--screen"), QStringLiteral("240x320"), QStringLiteral("--config"),
                 hostPath(dir, "config"), QStringLiteral("--screenshot"), shot, picture});
        QCOMPARE(result.exitCode, 0);
        const QImage image(shot);
        QCOMPARE(image.size(), QSize(240, 320));
        // VORIGIN defaults to the top right: the green picture sits in that corner.
        QCOMPARE(image.pixelColor(239, 0), QColor(0, 255, 0));
        QCOMPARE(image.pixelColor(0, 0), QColor(0, 0, 0));
        // Below the picture's surface, behind the bars, the window is white.
        QCOMPARE(image.pixelColor(239, 319), QColor(Qt::white));
        QVERIFY(QFileInfo::exists(hostPath(dir, "config/user.reg")));
    }

    void screenshotOfABrokenPictureAnswersTheBoxOnStderrAndExits() {
        test::TempDir dir;
        const QString broken =
            QString::fromStdString(dir.write("broken.gif", "GIF89a\x01").string());
        const QString shot = hostPath(dir, "broken.png");
        const Run result =
            run({QStringLiteral("--screen"), QStringLiteral("240x320"), QStringLiteral("--config"),
                 hostPath(dir, "config"), QStringLiteral("--screenshot"), shot, broken});
        QCOMPARE(result.exitCode, 0);
        QCOMPARE(result.stdErr.count(QLatin1Char('\n')), 1);
        QVERIFY2(result.stdErr.contains(QStringLiteral("broken.gif")), qPrintable(result.stdErr));
        QCOMPARE(QImage(shot).size(), QSize(240, 320));
    }

    void desktopScreenshotShowsBothBarsAndPrintsNothing() {
        test::TempDir dir;
        const QString shot = hostPath(dir, "desktop.png");
        QProcessEnvironment withoutRuntimeFolder = QProcessEnvironment::systemEnvironment();
        withoutRuntimeFolder.remove(QStringLiteral("XDG_RUNTIME_DIR"));
        const Run result = run({QStringLiteral("--config"), hostPath(dir, "config"),
                                QStringLiteral("--screenshot"), shot, writeBmp(dir)},
                               withoutRuntimeFolder);
        QCOMPARE(result.exitCode, 0);
        QCOMPARE(result.stdErr, QString());
        QCOMPARE(result.stdOut, QString());
        const QImage image(shot);
        QVERIFY(image.height() > 100);
        // The bars' icons and captions give the bottom strip many colours; an empty strip has one.
        QSet<QRgb> colours;
        for (int y = image.height() - 40; y < image.height(); ++y) {
            for (int x = 0; x < image.width(); ++x) {
                colours.insert(image.pixel(x, y));
            }
        }
        QVERIFY2(colours.size() > 8, qPrintable(QString::number(colours.size())));
    }

    void secondStartExitsWhileTheFirstRunsWhichEndsCleanlyWhenAsked() {
        test::TempDir dir;
        test::TempDir runtime; // private to the test: a viewer the user runs does not interfere
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("XDG_RUNTIME_DIR"),
                           QString::fromStdString(runtime.path().string()));
        const QStringList arguments{QStringLiteral("--screen"), QStringLiteral("240x320"),
                                    QStringLiteral("--config"), hostPath(dir, "config")};
        QProcess first;
        first.setProcessEnvironment(environment);
        first.start(binary(), arguments);
        QVERIFY(first.waitForStarted());
        // The first start has claimed the instance once its lock shows in the runtime folder.
        const QDir runtimeFolder(QString::fromStdString(runtime.path().string()));
        QTRY_VERIFY_WITH_TIMEOUT(!runtimeFolder.isEmpty(QDir::AllEntries | QDir::NoDotAndDotDot),
                                 20000);

        // The second start hands over before it touches the window system: it needs none.
        QProcessEnvironment secondEnvironment = environment;
        secondEnvironment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("none-here"));
        QProcess second;
        second.setProcessEnvironment(secondEnvironment);
        second.start(binary(), arguments);
        QVERIFY(second.waitForFinished(20000));
        QCOMPARE(second.exitStatus(), QProcess::NormalExit);
        QCOMPARE(second.exitCode(), 0);
        QCOMPARE(first.state(), QProcess::Running);
        // Asked to end (SIGTERM), the first closes normally and keeps its settings.
        first.terminate();
        QVERIFY(first.waitForFinished(10000));
        QCOMPARE(first.exitStatus(), QProcess::NormalExit);
        QCOMPARE(first.exitCode(), 0);
        QVERIFY(QFileInfo::exists(hostPath(dir, "config/user.reg")));
    }
};

QTEST_MAIN(CommandLineTest)
#include "command_line_qtest.moc"
