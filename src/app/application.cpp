#include "app/application.h"

#include "app/command_line_options.h"
#include "app/convert_command.h"
#include "app/main_window.h"
#include "app/startup_path.h"
#include "app/version_info.h"
#include "app/viewer_app.h"
#include "browse/navigator.h"
#include "browse/picture_preview.h"
#include "browse/read_ahead.h"
#include "codecs/corrections/colour_profile.h"
#include "codecs/corrections/picture_corrections.h"
#include "platform/device_fs.h"
#include "platform/qt/colord_profile.h"
#include "platform/qt/font_warm_up.h"
#include "platform/qt/instance_claim.h"
#include "platform/qt/screen_service.h"
#include "platform/qt/session_bus.h"
#include "platform/qt/single_instance.h"
#include "platform/qt/termination_request.h"
#include "platform/registry.h"
#include "settings/app_settings.h"
#include "ui/command.h"
#include "ui/qt/lazy_extension_icon_style.h"
#include "ui/qt/qt_message_box.h"
#include "ui/qt/qt_translations.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QPixmap>
#include <QTimer>

#include <cstdio>
#include <optional>

namespace velmora::app {
namespace {

constexpr int kExitOk = 0;
constexpr int kExitFailure = 1;

void printTo(FILE* stream, const QString& text) {
    std::fputs(text.toLocal8Bit().constData(), stream);
    std::fflush(stream);
}

int fail(const QString& reason) {
    printTo(stderr, QStringLiteral("velmora: %1\n").arg(reason));
    return kExitFailure;
}

// --root and --config; false (with the reason printed) when the root is not a folder.
[[nodiscard]] bool applyDeviceOptions(const CommandLineOptions& options) {
    if (!options.root.isEmpty()) {
        const QFileInfo root(options.root);
        if (!root.isDir()) {
            fail(QStringLiteral("the root is not a folder: %1").arg(options.root));
            return false;
        }
        platform::setDeviceRoot(root.absoluteFilePath().toStdString());
    }
    if (!options.config.isEmpty()) {
        platform::setConfigFolder(QFileInfo(options.config).absoluteFilePath().toStdString());
    }
    return true;
}

int runHeadless(const CommandLineOptions& options) {
    switch (options.mode) {
    case CommandLineOptions::Mode::Help:
        printTo(stdout, usageText());
        return kExitOk;
    case CommandLineOptions::Mode::Version:
        printTo(stdout, versionText());
        return kExitOk;
    case CommandLineOptions::Mode::Convert: {
        if (!applyDeviceOptions(options)) {
            return kExitFailure;
        }
        // The picture is read as the viewer shows it: turned and converted by the same settings.
        settings::AppSettings settings;
        settings.load();
        codecs::setPictureCorrections({settings.autoRotate, settings.colorManage});
        const ConvertResult result = convertPicture(
            options.convertInput, options.convertOutput, options.quality, options.edits,
            {settings.keepMetadata, settings.losslessTurns, settings.showAlpha});
        return result.ok ? kExitOk : fail(result.reason);
    }
    case CommandLineOptions::Mode::Viewer:
        break;
    }
    return kExitFailure;
}

QStringList argumentsOf(int argc, char** argv) {
    QStringList arguments;
    for (int i = 1; i < argc; ++i) {
        arguments.append(QString::fromLocal8Bit(argv[i]));
    }
    return arguments;
}

// A plain viewer start: the command line parses as one and its root is usable.
bool isPlainViewerStart(const ParsedCommandLine& parsed) {
    const CommandLineOptions& options = parsed.options;
    return parsed.error.isEmpty() && options.mode == CommandLineOptions::Mode::Viewer &&
           (options.root.isEmpty() || QFileInfo(options.root).isDir());
}

QString configurationKey() {
    return platform::InstanceClaim::keyFor(
        QString::fromStdString(platform::registry().folder().string()));
}

// What a start tells a viewer already running: its picture as an absolute host path (a file
// manager starts the viewer with a path relative to its own folder at times).
std::string handOverMessage(const CommandLineOptions& options) {
    const QString picture =
        QString::fromStdU16String(trimAndUnquote(options.picture.toStdU16String()));
    if (picture.isEmpty()) {
        return platform::composeInstanceMessage({});
    }
    return platform::composeInstanceMessage(
        QFile::encodeName(QFileInfo(picture).absoluteFilePath()).toStdString());
}

// Starts decoding the picture the viewer shows first (the argument, or the recent file the
// settings reopen), so that it decodes while the window system starts. Errors are left for the
// real start to report.
browse::ReadAhead readStartupPictureAhead(const CommandLineOptions& options) {
    browse::ReadAhead readAhead;
    settings::AppSettings settings;
    settings.load();
    codecs::setPictureCorrections({settings.autoRotate, settings.colorManage});
    const auto argument = startupDevicePath(trimAndUnquote(options.picture.toStdU16String()));
    const std::u16string picture =
        browse::startupPicture(argument.value_or(std::u16string()), settings);
    // Without a thread the picture is simply decoded when it is shown; so is a big JPEG, first
    // reduced for the window's size.
    image::ViewOptions view;
    view.initialZoom = settings.initialZoom;
    if (!picture.empty() &&
        !(settings.reducedFirstView && browse::likelyPreviewed(picture, view))) {
        // Behind the interface: the toolkit's start, on the same processors, comes first.
        (void)readAhead.start(browse::behindInterface(browse::loadWithCodecs), picture, {});
    }
    return readAhead;
}

int runViewer(QApplication& application, const CommandLineOptions& options,
              platform::InstanceClaim&& claim, browse::ReadAhead&& startupPicture) {
    // A screenshot run is a tool run: it never hands over to a running viewer.
    platform::SingleInstance instance(std::move(claim));
    const bool takingScreenshot = !options.screenshot.isEmpty();
    if (!takingScreenshot && !instance.claim(configurationKey(), handOverMessage(options))) {
        return kExitOk;
    }

    // A screenshot run asks nobody: without the Qt seam every box goes to stderr with its default.
    std::optional<ui::QtMessageBox> messageBox;
    if (!takingScreenshot) {
        messageBox.emplace();
    }
    ViewerApp viewer(options.screen, options.picture.toStdU16String());
    viewer.navigator().adoptReadAhead(std::move(startupPicture));
    QObject::connect(&instance, &platform::SingleInstance::activationRequested, &viewer,
                     &ViewerApp::openHandedOver);
    QObject::connect(&viewer, &ViewerApp::closed, &application, &QApplication::quit,
                     Qt::QueuedConnection);
    // Asked to end from outside: close as the exit command does, so the settings are saved.
    platform::TerminationRequest termination;
    QObject::connect(&termination, &platform::TerminationRequest::requested, &viewer,
                     [&viewer] { viewer.onCommand(ui::Command::Exit); });

    bool screenshotFailed = false;
    if (takingScreenshot) {
        QObject::connect(&viewer, &ViewerApp::startupFinished, &viewer, [&] {
            // Let pending layout and paint requests settle before the window is captured.
            QTimer::singleShot(0, &viewer, [&] {
                if (!viewer.mainWindow().grab().save(options.screenshot, "PNG")) {
                    screenshotFailed = true;
                    fail(QStringLiteral("cannot write the screenshot %1").arg(options.screenshot));
                }
                viewer.onCommand(ui::Command::Exit);
            });
        });
    }
    viewer.start();
    const int code = application.exec();
    return screenshotFailed ? kExitFailure : code;
}

} // namespace

int runApplication(int argc, char** argv) {
    const QStringList rawArguments = argumentsOf(argc, argv);
    if (wantsHeadlessMode(rawArguments)) {
        const ParsedCommandLine parsed = parseCommandLine(rawArguments);
        return parsed.error.isEmpty() ? runHeadless(parsed.options) : fail(parsed.error);
    }

    // A plain viewer start is settled before the window system starts: a later start hands over
    // to the running one at once, and the first one starts decoding its picture in parallel with
    // the toolkit's own start-up.
    const ParsedCommandLine early = parseCommandLine(rawArguments);
    platform::InstanceClaim claim;
    browse::ReadAhead startupPicture;
    // The device options are applied here for a plain start, after the toolkit's parse otherwise.
    const bool plainStart = isPlainViewerStart(early) && applyDeviceOptions(early.options);
    if (plainStart) {
        if (early.options.screenshot.isEmpty() &&
            claim.claim(configurationKey(), handOverMessage(early.options)) ==
                platform::InstanceClaim::Outcome::Running) {
            return kExitOk;
        }
    }
    // Without a usable XDG_RUNTIME_DIR Qt warns at start; the program's own private folder
    // (mode 0700) stands in for it.
    if (const QString runtime = platform::InstanceClaim::runtimeFolder(); !runtime.isEmpty()) {
        qputenv("XDG_RUNTIME_DIR", QFile::encodeName(runtime));
    }
    // Before the first bus connection (colord's, below): the bus library reads every bus address
    // once, at its first connection.
    platform::markUnreachableSessionBus();
    // Pictures are shown in the screen's colours where the desktop or colord publishes a profile.
    // Read after the hand-over, so that a later start never connects to the window system.
    codecs::setDisplayProfile(platform::qt::readScreenProfile());
    if (plainStart) {
        startupPicture = readStartupPictureAhead(early.options);
    }
    platform::qt::prepareScaleFactor(early.options.screen);
    platform::qt::FontWarmUp fonts;
    QApplication application(argc, argv);
    fonts.finish();
    QApplication::setApplicationName(QStringLiteral("velmora"));
    QApplication::setApplicationVersion(QStringLiteral(VELMORA_VERSION));
    QGuiApplication::setDesktopFileName(QStringLiteral(VELMORA_APP_ID));
    (void)ui::installQtTranslations(application); // without them the texts stay English
    ui::installLazyExtensionIconStyle();
    const ParsedCommandLine parsed = parseCommandLine(QApplication::arguments().mid(1));
    if (!parsed.error.isEmpty()) {
        return fail(parsed.error);
    }
    if (!plainStart && !applyDeviceOptions(parsed.options)) {
        return kExitFailure;
    }
    return runViewer(application, parsed.options, std::move(claim), std::move(startupPicture));
}

} // namespace velmora::app
