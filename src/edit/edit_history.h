// The undo history of the shown picture. A quarter turn or flip is kept as the step itself and
// undone by its opposite; any other edit keeps the picture as it was before, which undo and redo
// exchange with the shown one. Kept pictures share a memory budget: when a new one does not fit,
// the oldest steps are dropped first.
#pragma once

#include "edit/transform.h"
#include "image/dib_image.h"
#include "image/turn.h"

#include <cstddef>
#include <memory>
#include <optional>
#include <vector>

namespace velmora::edit {

class EditHistory {
  public:
    static constexpr size_t kDefaultBudget = size_t{256} << 20;

    explicit EditHistory(size_t budgetBytes = kDefaultBudget) : budget_(budgetBytes) {}

    // A picture was read: nothing to undo, and the picture is its file's.
    void clear();

    // A copy of picture to keep before an edit; null when no memory could be had for it or it
    // would not fit the budget on its own.
    [[nodiscard]] std::unique_ptr<image::DibImage> copyOf(const image::DibImage& picture) const;
    // After an edit that changed pixels: before is the picture as it was (null when it could
    // not be copied, and then nothing before this edit can be undone any more).
    void addEdit(std::unique_ptr<image::DibImage> before);
    // After a quarter turn or flip.
    void addTurn(image::TurnStep step);

    [[nodiscard]] bool canUndo() const { return position_ > 0; }
    [[nodiscard]] bool canRedo() const { return position_ < steps_.size(); }
    // Takes picture one step back or forward. Unchanged when there is no such step, or when a
    // turn back cannot get the memory for its new picture (OutOfMemory; the step stays).
    EditResult undo(image::DibImage& picture);
    EditResult redo(image::DibImage& picture);

    // The picture is the one last read or saved.
    [[nodiscard]] bool matchesFile() const { return saved_ == position_; }
    void markSaved() { saved_ = position_; }
    // What the edits since the picture was read come to while all of them are turns and flips;
    // nothing when there are none or another kind is among them.
    [[nodiscard]] std::optional<image::Turn> onlyTurnsSinceLoad() const;
    // Bytes held by kept pictures.
    [[nodiscard]] size_t keptBytes() const;

  private:
    struct Step {
        std::optional<image::TurnStep> turn;
        std::unique_ptr<image::DibImage> picture; // before the step while it is done, after it
                                                  // while it is undone
        std::optional<image::Turn> turnsAfter;
    };

    void add(Step step);
    void dropOldest();
    std::optional<image::Turn> turnsAt(size_t position) const;

    size_t budget_;
    std::vector<Step> steps_;
    size_t position_ = 0; // steps done
    std::optional<size_t> saved_ = 0;
    std::optional<image::Turn> baseTurns_ = image::Turn{}; // before the first kept step
    bool droppedAny_ = false;
};

} // namespace velmora::edit
