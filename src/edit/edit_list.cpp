#include "edit/edit_list.h"

#include "edit/filter.h"
#include "edit/tone.h"
#include "edit/transform.h"

#include <array>
#include <charconv>
#include <optional>

namespace velmora::edit {
namespace {

constexpr int32_t kMaxResizeSide = 5000;

struct Range {
    int32_t low;
    int32_t high;
};

struct NamedKind {
    std::string_view name;
    EditKind kind;
    std::optional<Range> value; // set for the operations written name=N
};

constexpr std::array<NamedKind, 12> kSimpleOperations{{
    {"rotate-left", EditKind::RotateLeft, {}},
    {"rotate-right", EditKind::RotateRight, {}},
    {"flip-vertical", EditKind::FlipVertical, {}},
    {"flip-horizontal", EditKind::FlipHorizontal, {}},
    {"grey", EditKind::Grey, {}},
    {"negative", EditKind::Negative, {}},
    {"blur", EditKind::Blur, {}},
    {"sharpen", EditKind::Sharpen, {}},
    {"emboss", EditKind::Emboss, {}},
    {"brightness", EditKind::Brightness, Range{1, 254}},
    {"contrast", EditKind::Contrast, Range{1, 199}},
    {"threshold", EditKind::Threshold, Range{1, 254}},
}};

// Reads numbers off the front of a value text.
class NumberReader {
  public:
    explicit NumberReader(std::string_view text) : text_(text) {}

    std::optional<int32_t> digits() {
        int32_t value = 0;
        const auto [end, error] = std::from_chars(text_.data(), text_.data() + text_.size(), value);
        if (error != std::errc() || end == text_.data() || text_.front() == '-') {
            return std::nullopt;
        }
        text_.remove_prefix(static_cast<size_t>(end - text_.data()));
        return value;
    }

    // +N or -N.
    std::optional<int32_t> signedNumber() {
        if (text_.empty() || (text_.front() != '+' && text_.front() != '-')) {
            return std::nullopt;
        }
        const bool negative = text_.front() == '-';
        text_.remove_prefix(1);
        const auto value = digits();
        if (!value) {
            return std::nullopt;
        }
        return negative ? -*value : *value;
    }

    bool skip(char c) {
        if (text_.empty() || text_.front() != c) {
            return false;
        }
        text_.remove_prefix(1);
        return true;
    }

    bool atEnd() const { return text_.empty(); }

  private:
    std::string_view text_;
};

bool inRange(int32_t v, Range range) {
    return v >= range.low && v <= range.high;
}

std::string badValue(std::string_view operation, std::string_view rule) {
    return "bad value in " + std::string(operation) + " (" + std::string(rule) + ")";
}

// Fills op from "resize=..." or "trim=..."'s value; returns the reason on failure.
std::string parseGeometry(std::string_view name, std::string_view value, EditOperation& op) {
    NumberReader reader(value);
    const auto width = reader.digits();
    if (name == "resize") {
        const Range side{1, kMaxResizeSide};
        if (width && reader.atEnd() && inRange(*width, side)) {
            op.kind = EditKind::ResizeKeepRatio;
            op.values[0] = *width;
            return {};
        }
        const auto height = reader.skip('x') ? reader.digits() : std::nullopt;
        if (!width || !height || !reader.atEnd() || !inRange(*width, side) ||
            !inRange(*height, side)) {
            return badValue(op.text, "resize=WxH or resize=W, 1..5000 each");
        }
        op.kind = EditKind::Resize;
        op.values[0] = *width;
        op.values[1] = *height;
        return {};
    }
    const auto height = reader.skip('x') ? reader.digits() : std::nullopt;
    const auto left = reader.signedNumber();
    const auto top = reader.signedNumber();
    if (!width || !height || !left || !top || !reader.atEnd()) {
        return badValue(op.text, "trim=WxH+X+Y");
    }
    op.kind = EditKind::Trim;
    op.values[0] = *width;
    op.values[1] = *height;
    op.values[2] = *left;
    op.values[3] = *top;
    return {};
}

std::string parseOperation(std::string_view text, EditOperation& op) {
    op.text = std::string(text);
    if (text.empty()) {
        return "empty operation in the edit list";
    }
    const size_t equals = text.find('=');
    const std::string_view name = text.substr(0, equals);
    const bool hasValue = equals != std::string_view::npos;
    const std::string_view value = hasValue ? text.substr(equals + 1) : std::string_view();
    if (name == "resize" || name == "trim") {
        return hasValue ? parseGeometry(name, value, op) : badValue(text, "a value is needed");
    }
    for (const NamedKind& named : kSimpleOperations) {
        if (named.name != name) {
            continue;
        }
        op.kind = named.kind;
        if (!named.value) {
            return hasValue ? badValue(text, "takes no value") : std::string();
        }
        NumberReader reader(value);
        const auto number = reader.digits();
        if (!number || !reader.atEnd() || !inRange(*number, *named.value)) {
            return badValue(text, std::to_string(named.value->low) + ".." +
                                      std::to_string(named.value->high));
        }
        op.values[0] = *number;
        return {};
    }
    return "unknown edit operation: " + std::string(text);
}

std::optional<image::TurnStep> turnStepOf(EditKind kind) {
    switch (kind) {
    case EditKind::RotateLeft:
        return image::TurnStep::RotateLeft;
    case EditKind::RotateRight:
        return image::TurnStep::RotateRight;
    case EditKind::FlipVertical:
        return image::TurnStep::FlipVertical;
    case EditKind::FlipHorizontal:
        return image::TurnStep::FlipHorizontal;
    default:
        return std::nullopt;
    }
}

// Runs one operation; false when it could not get the memory for its new picture.
bool applyOperation(image::DibImage& image, const EditOperation& op) {
    const int32_t* v = op.values;
    if (const auto step = turnStepOf(op.kind)) {
        return static_cast<bool>(applyTurn(image, *step));
    }
    switch (op.kind) {
    case EditKind::RotateLeft:
    case EditKind::RotateRight:
    case EditKind::FlipVertical:
    case EditKind::FlipHorizontal:
        break;
    case EditKind::Resize:
        return static_cast<bool>(resize(image, v[0], v[1]));
    case EditKind::ResizeKeepRatio:
        return static_cast<bool>(
            resize(image, v[0], keepRatioHeight(v[0], image.width(), image.height())));
    case EditKind::Trim:
        // An empty rectangle after clamping leaves the picture as it is; only memory fails.
        return trim(image, TrimRect{v[2], v[3], v[0], v[1]}).cause != EditCause::OutOfMemory;
    case EditKind::Brightness:
        brightness(image, v[0]);
        return true;
    case EditKind::Contrast:
        contrast(image, v[0]);
        return true;
    case EditKind::Threshold:
        threshold(image, v[0]);
        return true;
    case EditKind::Grey:
        grey(image);
        return true;
    case EditKind::Negative:
        negative(image);
        return true;
    case EditKind::Blur:
        return blur(image);
    case EditKind::Sharpen:
        return sharpen(image);
    case EditKind::Emboss:
        return emboss(image);
    }
    return false;
}

} // namespace

ParsedEditList parseEditList(std::string_view list) {
    ParsedEditList parsed;
    if (list.empty()) {
        parsed.error = "empty edit list";
        return parsed;
    }
    while (true) {
        const size_t comma = list.find(',');
        EditOperation op;
        parsed.error = parseOperation(list.substr(0, comma), op);
        if (!parsed.error.empty()) {
            parsed.operations.clear();
            return parsed;
        }
        parsed.operations.push_back(std::move(op));
        if (comma == std::string_view::npos) {
            return parsed;
        }
        list.remove_prefix(comma + 1);
    }
}

std::optional<image::Turn> onlyTurns(const std::vector<EditOperation>& operations) {
    if (operations.empty()) {
        return std::nullopt;
    }
    image::Turn turn;
    for (const EditOperation& op : operations) {
        const auto step = turnStepOf(op.kind);
        if (!step) {
            return std::nullopt;
        }
        turn = turn.then(*step);
    }
    return turn;
}

std::string applyEditList(image::DibImage& image, const std::vector<EditOperation>& operations) {
    for (const EditOperation& op : operations) {
        if (!applyOperation(image, op)) {
            return "cannot make the new picture for " + op.text;
        }
    }
    return {};
}

} // namespace velmora::edit
