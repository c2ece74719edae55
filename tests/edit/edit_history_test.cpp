// Undo and redo: each step back gives the picture before the edit, each step forward the one
// after it; kept pictures stay within the budget, oldest dropped first; whether the picture is
// its file's and what its turns come to follow the steps.
#include "edit/edit_history.h"
#include "edit/tone.h"
#include "edit/transform.h"
#include "edit_pictures.h"

#include <gtest/gtest.h>

#include <functional>
#include <optional>

namespace velmora::edit {
namespace {

using image::Turn;
using image::TurnStep;

struct Edit {
    std::optional<TurnStep> turn;
    std::function<void(image::DibImage&)> pixels;
};

void run(EditHistory& history, image::DibImage& picture, const Edit& edit) {
    if (edit.turn) {
        ASSERT_TRUE(applyTurn(picture, *edit.turn));
        history.addTurn(*edit.turn);
        return;
    }
    auto before = history.copyOf(picture);
    edit.pixels(picture);
    history.addEdit(std::move(before));
}

TEST(EditHistory, StepsBackAndForthThroughMixedEdits) {
    const std::vector<Edit> edits = {
        {TurnStep::RotateLeft, {}},
        {TurnStep::FlipHorizontal, {}},
        {{}, grey},
        {TurnStep::FlipVertical, {}},
        {{}, [](image::DibImage& p) { ASSERT_TRUE(resize(p, 4, 9)); }},
        {TurnStep::RotateRight, {}},
        {{},
         [](image::DibImage& p) {
             ASSERT_TRUE(trim(p, {1, 1, 5, 2}));
         }},
    };
    // What the edits come to while they are all turns: a left turn, then mirrored.
    const std::vector<std::optional<Turn>> turns = {std::nullopt, Turn{3, false}, Turn{1, true}};
    image::DibImage picture;
    test::makePattern(picture, 7, 5);
    EditHistory history;
    std::vector<std::vector<uint8_t>> states{test::snapshot(picture)};
    for (const Edit& edit : edits) {
        run(history, picture, edit);
        states.push_back(test::snapshot(picture));
    }
    for (size_t at = edits.size(); at > 0; --at) {
        SCOPED_TRACE(at);
        EXPECT_EQ(history.matchesFile(), false);
        EXPECT_EQ(history.onlyTurnsSinceLoad(), at < turns.size() ? turns[at] : std::nullopt);
        ASSERT_TRUE(history.undo(picture));
        EXPECT_EQ(test::snapshot(picture), states[at - 1]);
    }
    EXPECT_TRUE(history.matchesFile());
    EXPECT_EQ(history.onlyTurnsSinceLoad(), std::nullopt);
    EXPECT_EQ(history.undo(picture).cause, EditCause::Unchanged);
    for (size_t at = 1; at <= edits.size(); ++at) {
        ASSERT_TRUE(history.redo(picture));
        EXPECT_EQ(test::snapshot(picture), states[at]);
    }
    EXPECT_EQ(history.redo(picture).cause, EditCause::Unchanged);

    // Saved here: a step away modifies the picture again, the step back does not.
    history.markSaved();
    ASSERT_TRUE(history.undo(picture));
    EXPECT_FALSE(history.matchesFile());
    ASSERT_TRUE(history.redo(picture));
    EXPECT_TRUE(history.matchesFile());
    // A new edit after undoing drops what could be redone, and the saved state with it.
    ASSERT_TRUE(history.undo(picture));
    run(history, picture, {{}, negative});
    EXPECT_FALSE(history.canRedo());
    ASSERT_TRUE(history.undo(picture));
    EXPECT_EQ(test::snapshot(picture), states[edits.size() - 1]);
    EXPECT_FALSE(history.matchesFile());
}

TEST(EditHistory, KeptPicturesStayWithinTheBudgetOldestDroppedFirst) {
    image::DibImage picture;
    test::makePattern(picture, 10, 10);
    const size_t one = EditHistory().copyOf(picture)->capacity();
    EditHistory history(one * 5 / 2);
    std::vector<std::vector<uint8_t>> states{test::snapshot(picture)};
    for (int i = 0; i < 4; ++i) {
        run(history, picture, {{}, negative});
        run(history, picture, {{}, grey});
        // Turns cost nothing, whatever their number.
        for (int j = 0; j < 4; ++j) {
            run(history, picture, {TurnStep::RotateRight, {}});
        }
        states.push_back(test::snapshot(picture));
    }
    EXPECT_LE(history.keptBytes(), one * 5 / 2);
    int steps = 0;
    while (history.canUndo()) {
        ASSERT_TRUE(history.undo(picture));
        ++steps;
        EXPECT_FALSE(history.matchesFile());
    }
    // Two pictures fit: back to the end of the third round, whose turns are still kept.
    EXPECT_EQ(steps, 4 + 1 + 1 + 4);
    image::DibImage expected;
    test::makePattern(expected, 10, 10);
    for (int i = 0; i < 3; ++i) {
        negative(expected);
        grey(expected);
    }
    EXPECT_EQ(test::snapshot(picture), test::snapshot(expected));
    EXPECT_EQ(history.onlyTurnsSinceLoad(), std::nullopt);
}

TEST(EditHistory, TurnsComeToOneMirrorAndQuarterTurns) {
    // Every chain of three steps turns a picture as its value does: mirror, then turn right.
    const TurnStep all[] = {TurnStep::RotateLeft, TurnStep::RotateRight, TurnStep::FlipVertical,
                            TurnStep::FlipHorizontal};
    for (const TurnStep a : all) {
        for (const TurnStep b : all) {
            for (const TurnStep c : all) {
                image::DibImage stepped;
                image::DibImage direct;
                test::makePattern(stepped, 5, 3);
                test::makePattern(direct, 5, 3);
                Turn turn;
                for (const TurnStep step : {a, b, c}) {
                    ASSERT_TRUE(applyTurn(stepped, step));
                    turn = turn.then(step);
                }
                if (turn.mirrored) {
                    flipHorizontal(direct);
                }
                for (int k = 0; k < turn.quarterTurns; ++k) {
                    ASSERT_TRUE(rotateRight(direct));
                }
                EXPECT_EQ(test::snapshot(stepped), test::snapshot(direct));
            }
        }
    }
}

} // namespace
} // namespace velmora::edit
