#include "edit/qt/edit_controller.h"

#include "edit/filter.h"
#include "edit/qt/resize_dialog.h"
#include "edit/qt/trim_dialog.h"
#include "edit/tone.h"
#include "ui/message_box.h"
#include "ui/string_table.h"

namespace velmora::edit::qt {
namespace {

const ValueRequest kBrightness{QStringLiteral("明るさを設定してください。"),
                               QStringLiteral("数値が大きいほど白っぽい画面になります。"), 1, 254,
                               128};
const ValueRequest kContrast{QStringLiteral("コントラスト値を設定してください。"),
                             QStringLiteral("数値が大きいほどメリハリのある画面になります。"), 1,
                             199, 100};
const ValueRequest kThreshold{QStringLiteral("閾値を設定してください。"),
                              QStringLiteral("数値が大きいほど黒っぽい画面になります。"), 1, 254,
                              128};

// Shows the message of an edit's result, if it has one; true when the picture changed.
bool reported(EditResult result) {
    if (result.cause == EditCause::OutOfMemory) {
        ui::showError(ui::str::kImageCreateFailed);
    }
    return static_cast<bool>(result);
}

// Shows the wait cursor for its lifetime.
class BusyScope {
  public:
    explicit BusyScope(EditHost& host) : host_(host) { host_.setBusy(true); }
    ~BusyScope() { host_.setBusy(false); }
    BusyScope(const BusyScope&) = delete;
    BusyScope& operator=(const BusyScope&) = delete;

  private:
    EditHost& host_;
};

} // namespace

EditController::EditController(EditHost& host, QWidget* mainWindow)
    : host_(host), progress_(std::make_unique<ProgressDialog>(mainWindow)) {}

EditController::~EditController() = default;

bool EditController::onCommand(ui::Command id) {
    switch (id) {
    case ui::Command::RotateLeft:
        turn(image::TurnStep::RotateLeft);
        break;
    case ui::Command::RotateRight:
        turn(image::TurnStep::RotateRight);
        break;
    case ui::Command::FlipVertical:
        turn(image::TurnStep::FlipVertical);
        break;
    case ui::Command::FlipHorizontal:
        turn(image::TurnStep::FlipHorizontal);
        break;
    case ui::Command::Undo:
        undoOrRedo(true);
        break;
    case ui::Command::Redo:
        undoOrRedo(false);
        break;
    case ui::Command::Resize:
        resize();
        break;
    case ui::Command::Trim:
        trim();
        break;
    case ui::Command::Brightness:
        retouchWithValue(brightness, kBrightness);
        break;
    case ui::Command::Contrast:
        retouchWithValue(contrast, kContrast);
        break;
    case ui::Command::Threshold:
        retouchWithValue(threshold, kThreshold);
        break;
    case ui::Command::Grey:
        changePixels(grey);
        break;
    case ui::Command::Negative:
        changePixels(negative);
        break;
    case ui::Command::Blur:
        filter(blur);
        break;
    case ui::Command::Sharpen:
        filter(sharpen);
        break;
    case ui::Command::Emboss:
        filter(emboss);
        break;
    default:
        return false;
    }
    return true;
}

bool EditController::hasPicture() {
    const image::DibImage& picture = host_.editedPicture();
    return picture.hasPixels() && picture.width() > 0 && picture.height() > 0;
}

void EditController::changed(bool sizeChanged) {
    if (sizeChanged) {
        host_.showActualSize();
    } else {
        host_.redrawPicture();
    }
    host_.editedPicture().turnsSinceLoad = history_.onlyTurnsSinceLoad();
    if (history_.matchesFile()) {
        host_.clearModified();
    } else {
        host_.markModified();
    }
}

template <class Operation> bool EditController::keepingUndo(Operation operation) {
    image::LoadedImage& picture = host_.editedPicture();
    std::unique_ptr<image::DibImage> before = history_.copyOf(picture);
    if (!operation(picture)) {
        return false;
    }
    history_.addEdit(std::move(before));
    return true;
}

void EditController::turn(image::TurnStep step) {
    if (!hasPicture()) {
        return;
    }
    const bool quarterTurn =
        step == image::TurnStep::RotateLeft || step == image::TurnStep::RotateRight;
    if (quarterTurn) {
        // The turned picture is a second full copy: make room for it first.
        host_.dropLookAhead();
    }
    bool turned = false;
    {
        BusyScope busy(host_);
        turned = reported(applyTurn(host_.editedPicture(), step));
    }
    if (turned) {
        history_.addTurn(step);
        changed(quarterTurn);
    }
}

void EditController::undoOrRedo(bool back) {
    if (back ? !history_.canUndo() : !history_.canRedo()) {
        return;
    }
    image::LoadedImage& picture = host_.editedPicture();
    const int32_t width = picture.width();
    const int32_t height = picture.height();
    // A turn taken back makes a turned copy; a kept picture is only exchanged.
    host_.dropLookAhead();
    bool stepped = false;
    {
        BusyScope busy(host_);
        stepped = reported(back ? history_.undo(picture) : history_.redo(picture));
    }
    if (stepped) {
        changed(picture.width() != width || picture.height() != height);
    }
}

void EditController::changePixels(void (*operation)(image::DibImage&)) {
    if (!hasPicture()) {
        return;
    }
    {
        BusyScope busy(host_);
        keepingUndo([operation](image::DibImage& picture) {
            operation(picture);
            return true;
        });
    }
    changed(false);
}

void EditController::retouchWithValue(void (*operation)(image::DibImage&, int),
                                      const ValueRequest& request) {
    if (!hasPicture()) {
        return;
    }
    const auto value = askValue(request, host_.dialogOwner());
    if (!value) {
        return;
    }
    {
        BusyScope busy(host_);
        keepingUndo([operation, value](image::DibImage& picture) {
            operation(picture, *value);
            return true;
        });
    }
    changed(false);
}

void EditController::filter(bool (*operation)(image::DibImage&, const Progress&)) {
    if (!hasPicture()) {
        return;
    }
    bool filtered = false;
    {
        ProgressRun run(*progress_);
        filtered = keepingUndo([operation, &run](image::DibImage& picture) {
            return operation(picture, run.callback());
        });
    }
    if (filtered) {
        changed(false);
    }
}

void EditController::resize() {
    if (!hasPicture()) {
        return;
    }
    host_.dropLookAhead();
    image::DibImage& picture = host_.editedPicture();
    const auto size = askNewSize(picture.width(), picture.height(), host_.dialogOwner());
    if (!size) {
        return;
    }
    bool resized = false;
    {
        ProgressRun run(*progress_);
        resized = keepingUndo([&](image::DibImage& edited) {
            return reported(edit::resize(edited, size->width, size->height, run.callback()));
        });
    }
    if (resized) {
        changed(true);
    }
}

void EditController::trim() {
    if (!hasPicture()) {
        return;
    }
    const auto rect = askTrimRect(host_.editedPicture(), host_.dialogOwner());
    if (rect && keepingUndo([&](image::DibImage& picture) {
            return reported(edit::trim(picture, *rect));
        })) {
        changed(true);
    }
}

} // namespace velmora::edit::qt
