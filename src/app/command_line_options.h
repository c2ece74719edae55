// The program's command line: a picture to show and the options of the Linux build.
#pragma once

#include "platform/qt/screen_service.h"

#include <QString>
#include <QStringList>

#include <optional>

namespace velmora::app {

struct CommandLineOptions {
    enum class Mode { Viewer, Help, Version, Convert };
    Mode mode = Mode::Viewer;
    // Every argument that is not an option, joined by single spaces: a picture path with spaces
    // may arrive unquoted in several pieces, as on the handheld's single command line.
    QString picture;
    std::optional<platform::qt::EmulatedScreen> screen;
    QString root;
    QString config;
    QString screenshot;
    QString convertInput;
    QString convertOutput;
    int quality = 99;             // the save dialog's default
    std::optional<QString> edits; // --edit OPS, read by the edit module
};

struct ParsedCommandLine {
    CommandLineOptions options;
    QString error; // empty when the arguments were understood
};

// Parses the arguments after the program name.
ParsedCommandLine parseCommandLine(const QStringList& arguments);

// True when the arguments ask for a mode that runs without a window (help, version, convert),
// so that no display connection is needed.
[[nodiscard]] bool wantsHeadlessMode(const QStringList& arguments);

QString usageText();

} // namespace velmora::app
