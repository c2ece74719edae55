#include "app/command_line_options.h"

namespace velmora::app {
namespace {

constexpr int kLowestQuality = 0;
constexpr int kHighestQuality = 100;

class ArgumentReader {
  public:
    explicit ArgumentReader(const QStringList& arguments) : arguments_(arguments) {}
    bool atEnd() const { return next_ >= arguments_.size(); }
    QString take() { return arguments_.at(next_++); }
    // The value after an option; nothing when the option is last.
    std::optional<QString> takeValue() {
        if (atEnd()) {
            return std::nullopt;
        }
        return take();
    }

  private:
    const QStringList& arguments_;
    qsizetype next_ = 0;
};

QString missingValue(const QString& option) {
    return QStringLiteral("option %1 needs a value").arg(option);
}

// Reads the option's value into target; returns an error text or an empty string.
QString readValue(ArgumentReader& reader, const QString& option, QString& target) {
    const auto value = reader.takeValue();
    if (!value) {
        return missingValue(option);
    }
    target = *value;
    return {};
}

QString readOption(ArgumentReader& reader, const QString& option, CommandLineOptions& options) {
    using Mode = CommandLineOptions::Mode;
    if (option == QLatin1String("--help") || option == QLatin1String("-h")) {
        options.mode = Mode::Help;
        return {};
    }
    if (option == QLatin1String("--version")) {
        options.mode = Mode::Version;
        return {};
    }
    if (option == QLatin1String("--root")) {
        return readValue(reader, option, options.root);
    }
    if (option == QLatin1String("--config")) {
        return readValue(reader, option, options.config);
    }
    if (option == QLatin1String("--screenshot")) {
        return readValue(reader, option, options.screenshot);
    }
    if (option == QLatin1String("--screen")) {
        QString text;
        if (QString error = readValue(reader, option, text); !error.isEmpty()) {
            return error;
        }
        options.screen = platform::qt::parseScreenOption(text);
        return options.screen ? QString() : QStringLiteral("bad screen size: %1").arg(text);
    }
    if (option == QLatin1String("--quality")) {
        QString text;
        if (QString error = readValue(reader, option, text); !error.isEmpty()) {
            return error;
        }
        bool ok = false;
        options.quality = text.toInt(&ok);
        const bool inRange =
            options.quality >= kLowestQuality && options.quality <= kHighestQuality;
        return ok && inRange ? QString() : QStringLiteral("bad quality: %1").arg(text);
    }
    if (option == QLatin1String("--edit")) {
        return readValue(reader, option, options.edits.emplace());
    }
    if (option == QLatin1String("--convert")) {
        options.mode = Mode::Convert;
        if (QString error = readValue(reader, option, options.convertInput); !error.isEmpty()) {
            return error;
        }
        return readValue(reader, option, options.convertOutput);
    }
    return QStringLiteral("unknown option: %1").arg(option);
}

} // namespace

ParsedCommandLine parseCommandLine(const QStringList& arguments) {
    ParsedCommandLine result;
    QStringList pictureParts;
    ArgumentReader reader(arguments);
    bool optionsEnded = false;
    while (!reader.atEnd() && result.error.isEmpty()) {
        const QString argument = reader.take();
        if (!optionsEnded && argument == QLatin1String("--")) {
            optionsEnded = true;
        } else if (!optionsEnded && argument.startsWith(QLatin1Char('-')) && argument.size() > 1) {
            result.error = readOption(reader, argument, result.options);
        } else {
            pictureParts.append(argument);
        }
    }
    result.options.picture = pictureParts.join(QLatin1Char(' '));
    if (result.error.isEmpty() && result.options.edits &&
        result.options.mode != CommandLineOptions::Mode::Convert) {
        result.error = QStringLiteral("--edit works only with --convert");
    }
    return result;
}

bool wantsHeadlessMode(const QStringList& arguments) {
    for (const QString& argument : arguments) {
        if (argument == QLatin1String("--")) {
            return false;
        }
        if (argument == QLatin1String("--help") || argument == QLatin1String("-h") ||
            argument == QLatin1String("--version") || argument == QLatin1String("--convert")) {
            return true;
        }
    }
    return false;
}

QString usageText() {
    return QStringLiteral(
        "Usage: velmora [options] [PICTURE]\n"
        "An image viewer with light editing.\n"
        "\n"
        "  PICTURE                  picture to show at start-up (JPEG, GIF, BMP, MAG, PNG, TIFF,\n"
        "                           WebP, AVIF, HEIF, JPEG XL)\n"
        "  --screen WxH[@DPI]       emulate a handheld screen of that size (DPI default 96)\n"
        "  --root DIR               host folder that is the device root (default /)\n"
        "  --config DIR             folder of the settings files (default ~/.config/velmora)\n"
        "  --screenshot OUT.png     start, write the window to OUT.png once the start-up picture\n"
        "                           is shown, then quit\n"
        "  --convert IN OUT         convert a picture; OUT's ending picks the type\n"
        "                           (.jpg/.jpeg, .bmp, .png, .tif, .webp, .avif)\n"
        "  --quality N              JPEG, WebP and AVIF quality for --convert, 0..100 (default "
        "99;\n"
        "                           100 writes WebP and AVIF lossless)\n"
        "  --edit OPS               with --convert: edit before writing; OPS is a comma-separated\n"
        "                           list applied left to right: rotate-left, rotate-right,\n"
        "                           flip-vertical, flip-horizontal, resize=WxH, resize=W (keeps\n"
        "                           the ratio), trim=WxH+X+Y, brightness=N (1..254),\n"
        "                           contrast=N (1..199), threshold=N (1..254), grey, negative,\n"
        "                           blur, sharpen, emboss\n"
        "  --version                show the version and the libraries in use\n"
        "  --help                   show this text\n");
}

} // namespace velmora::app
