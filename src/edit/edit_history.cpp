#include "edit/edit_history.h"

namespace velmora::edit {

void EditHistory::clear() {
    steps_.clear();
    position_ = 0;
    saved_ = 0;
    baseTurns_ = image::Turn{};
    droppedAny_ = false;
}

std::unique_ptr<image::DibImage> EditHistory::copyOf(const image::DibImage& picture) const {
    if (static_cast<size_t>(picture.stride()) * static_cast<size_t>(picture.height()) +
            picture.alphaBytes() >
        budget_) {
        return nullptr;
    }
    auto copy = std::make_unique<image::DibImage>();
    if (!copy->create(picture.width(), picture.height()) || !copy->copyAlphaFrom(picture)) {
        return nullptr;
    }
    copy->copyFrom(0, 0, picture);
    return copy;
}

void EditHistory::addEdit(std::unique_ptr<image::DibImage> before) {
    if (!before) {
        // Undoing the steps before this edit would skip it: they go.
        clear();
        saved_.reset();
        baseTurns_.reset();
        droppedAny_ = true;
        return;
    }
    add({std::nullopt, std::move(before), std::nullopt});
}

void EditHistory::addTurn(image::TurnStep step) {
    const auto turns = turnsAt(position_);
    add({step, nullptr, turns ? std::optional(turns->then(step)) : std::nullopt});
}

void EditHistory::add(Step step) {
    steps_.resize(position_);
    if (saved_ && *saved_ > position_) {
        saved_.reset();
    }
    steps_.push_back(std::move(step));
    ++position_;
    while (!steps_.empty() && keptBytes() > budget_) {
        dropOldest();
    }
}

void EditHistory::dropOldest() {
    baseTurns_ = steps_.front().turnsAfter;
    steps_.erase(steps_.begin());
    droppedAny_ = true;
    if (position_ > 0) {
        --position_;
    }
    if (saved_ && *saved_ == 0) {
        saved_.reset();
    } else if (saved_) {
        --*saved_;
    }
}

EditResult EditHistory::undo(image::DibImage& picture) {
    if (!canUndo()) {
        return {EditCause::Unchanged};
    }
    Step& step = steps_[position_ - 1];
    if (step.turn) {
        if (const EditResult turned = applyTurn(picture, image::Turn::inverse(*step.turn));
            !turned) {
            return turned;
        }
    } else {
        picture.swapPixels(*step.picture);
    }
    --position_;
    return {EditCause::Done};
}

EditResult EditHistory::redo(image::DibImage& picture) {
    if (!canRedo()) {
        return {EditCause::Unchanged};
    }
    Step& step = steps_[position_];
    if (step.turn) {
        if (const EditResult turned = applyTurn(picture, *step.turn); !turned) {
            return turned;
        }
    } else {
        picture.swapPixels(*step.picture);
    }
    ++position_;
    return {EditCause::Done};
}

std::optional<image::Turn> EditHistory::onlyTurnsSinceLoad() const {
    if (position_ == 0 && !droppedAny_) {
        return std::nullopt;
    }
    return turnsAt(position_);
}

std::optional<image::Turn> EditHistory::turnsAt(size_t position) const {
    return position == 0 ? baseTurns_ : steps_[position - 1].turnsAfter;
}

size_t EditHistory::keptBytes() const {
    size_t bytes = 0;
    for (const Step& step : steps_) {
        bytes += step.picture ? step.picture->capacity() + step.picture->alphaBytes() : 0;
    }
    return bytes;
}

} // namespace velmora::edit
