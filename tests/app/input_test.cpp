#include "app/input/action_table.h"
#include "app/input/button_function.h"
#include "app/input/desktop_gestures.h"
#include "app/input/key_bindings.h"
#include "app/input/stylus_drag.h"

#include <gtest/gtest.h>

#include <map>
#include <set>
#include <string>
#include <vector>

namespace velmora::app {
namespace {

// Records every action as a short word so sequences can be compared.
class RecordedActions : public InputActions {
  public:
    std::vector<std::string> log;
    void runCommand(ui::Command command) override {
        using ui::Command;
        static const std::map<Command, std::string> kWords{
            {Command::ZoomIn, "zoomIn"},
            {Command::ZoomOut, "zoomOut"},
            {Command::Next, "next"},
            {Command::Previous, "previous"},
            {Command::First, "first"},
            {Command::Last, "last"},
            {Command::SeekForward, "seekForward"},
            {Command::SeekBackward, "seekBackward"},
            {Command::ToggleWholeOriginal, "whole"},
            {Command::ToggleAutoFitOriginal, "autoFit"},
            {Command::FitWhole, "fitWhole"},
            {Command::PopupMenu, "popup"}};
        const auto word = kWords.find(command);
        log.push_back(word != kWords.end() ? word->second
                                           : "command" + std::to_string(static_cast<int>(command)));
    }
    void moveView(MoveDirection direction, int amount) override {
        const char* names[] = {"left", "right", "up", "down"};
        log.push_back(std::string(names[static_cast<int>(direction)]) + std::to_string(amount));
    }
    void leaveFullScreen() override { log.push_back("normal"); }
};

TEST(ButtonFunction, EveryCodeRunsItsActionAndUnknownCodesNothing) {
    settings::AppSettings settings;
    settings.moveStepX = 7;
    settings.moveStepY = 9;
    RecordedActions actions;
    for (int code = -1; code <= 13; ++code) {
        runButtonFunction(settings::ButtonFunction(code), actions, settings);
    }
    const std::vector<std::string> expected{"zoomIn",      "zoomOut",      "next",  "previous",
                                            "seekForward", "seekBackward", "whole", "left7",
                                            "right7",      "up9",          "down9", "autoFit"};
    EXPECT_EQ(actions.log, expected);
}

TEST(KeyBindings, ArrowKeysFollowTheirAssignment) {
    settings::AppSettings settings;
    RecordedActions actions;
    settings.arrowKeyFunctions[0] = settings::ButtonFunction::Next; // left arrow: next
    handleKeyDown(vk::kLeft, actions, settings);
    settings.arrowKeyFunctions[0] = settings::ButtonFunction::None; // left arrow: nothing
    handleKeyDown(vk::kLeft, actions, settings);
    handleKeyDown(vk::kDown, actions, settings); // default: move down
    handleKeyDown(vk::kDown, actions, settings); // a repeat acts again
    EXPECT_EQ(actions.log, (std::vector<std::string>{"next", "down32", "down32"}));
}

TEST(KeyBindings, FixedKeysAndUnboundKeys) {
    settings::AppSettings settings;
    RecordedActions actions;
    for (int key : {vk::kBack,   vk::kReturn, vk::kSpace, vk::kEnd, vk::kHome, int('B'),
                    int('E'),    int('F'),    int('H'),   int('L'), int('N'),  int('O'),
                    int('P'),    int('R'),    int('S'),   int('V'), vk::kAdd,  vk::kSubtract,
                    vk::kEscape, vk::kDelete, int('A'),   int('Z'), 0x70}) {
        handleKeyDown(key, actions, settings);
    }
    const std::vector<std::string> expected{
        "previous",     "popup",        "next",        "last",         "first",
        "seekBackward", "fitWhole",     "seekForward", "command40065", "command40068",
        "next",         "command40010", "previous",    "command40069", "command40071",
        "command40064", "zoomIn",       "zoomOut",     "normal",       "command40074"};
    EXPECT_EQ(actions.log, expected);
}

TEST(KeyBindings, DoubleTapByOption) {
    settings::AppSettings settings;
    RecordedActions actions;
    for (int option : {0, 1, 2, 3, 4, 5, -1}) {
        settings.doubleTapAction = settings::DoubleTapAction(option);
        handleDoubleTap(actions, settings);
    }
    EXPECT_EQ(actions.log, (std::vector<std::string>{"popup", "next", "whole", "autoFit"}));
}

// A second row with the same command, key, function or option would never be reached.
TEST(ActionTable, EveryCommandKeyFunctionAndDoubleTapIsBoundOnce) {
    std::set<int> commands, keys, ctrlKeys, functions, taps;
    const auto once = [](std::set<int>& seen, int value) {
        EXPECT_TRUE(value == 0 || seen.insert(value).second) << value;
    };
    for (const Action& action : actionTable()) {
        once(commands, static_cast<int>(action.command));
        for (int key : action.keys) {
            once(keys, key);
        }
        once(ctrlKeys, action.ctrlKey);
        once(functions, static_cast<int>(action.button));
        once(taps, static_cast<int>(action.doubleTap));
    }
    // Every button function but the four moves runs a command, and so does every double tap.
    EXPECT_EQ(functions.size(), 8u);
    EXPECT_EQ(taps.size(), 4u);
    // The arrow keys and Esc act before the table is asked.
    for (int key : {vk::kLeft, vk::kRight, vk::kUp, vk::kDown, vk::kEscape}) {
        EXPECT_EQ(keys.count(key), 0u) << key;
    }
}

class FakeView : public DragTarget {
  public:
    int width = 240, height = 268;
    bool wider = true, taller = true;
    int originX = 0, originY = 0;
    std::vector<bool> recompositions; // false: fast, true: full quality
    int surfaceWidth() const override { return width; }
    int surfaceHeight() const override { return height; }
    bool imageWiderThanSurface() const override { return wider; }
    bool imageTallerThanSurface() const override { return taller; }
    void shiftOrigin(int dx, int dy) override {
        originX += dx;
        originY += dy;
    }
    void recompose(bool final) override { recompositions.push_back(final); }
};

struct Clock {
    uint32_t now = 1000;
};

TEST(StylusDrag, MovesOnlyInDirectionsWhereThePictureIsLarger) {
    Clock clock;
    StylusDrag drag([&clock] { return clock.now; });
    FakeView view;
    view.wider = false; // narrower but taller: only vertical movement
    drag.penDown(100, 100);
    clock.now += 250;
    drag.penMove(130, 80, view);
    EXPECT_EQ(view.originX, 0);
    EXPECT_EQ(view.originY, -20);
    drag.penUp(140, 90, view);
    EXPECT_EQ(view.originY, -10);
    EXPECT_EQ(view.recompositions, (std::vector<bool>{false, true}));
    EXPECT_FALSE(drag.isDown());
}

TEST(StylusDrag, QuickDragRecomposesOnceAtPenUp) {
    Clock clock;
    StylusDrag drag([&clock] { return clock.now; });
    FakeView view;
    drag.penDown(10, 10);
    for (int i = 1; i <= 5; ++i) {
        clock.now += 30; // all within 200 ms of pen down
        drag.penMove(10 + i, 10 + i, view);
    }
    EXPECT_TRUE(view.recompositions.empty());
    drag.penUp(20, 25, view);
    EXPECT_EQ(view.recompositions, std::vector<bool>{true});
    EXPECT_EQ(view.originX, 10);
    EXPECT_EQ(view.originY, 15);
}

TEST(StylusDrag, LeavingTheSurfaceEndsTheDragWithoutFinalRedraw) {
    Clock clock;
    StylusDrag drag([&clock] { return clock.now; });
    FakeView view;
    drag.penDown(50, 50);
    clock.now += 300;
    drag.penMove(60, 50, view);
    clock.now += 300;
    drag.penMove(-3, 50, view); // left of the window counts as far outside
    EXPECT_FALSE(drag.isDown());
    drag.penUp(70, 50, view);
    EXPECT_EQ(view.recompositions, std::vector<bool>{false});
    EXPECT_EQ(view.originX, 10);
}

TEST(StylusDrag, MovesAreIgnoredWithoutPenDownAndTapDoesNotRecompose) {
    Clock clock;
    StylusDrag drag([&clock] { return clock.now; });
    FakeView view;
    view.wider = view.taller = false;
    clock.now += 500;
    drag.penMove(5, 5, view);
    drag.penDown(5, 5);
    drag.penUp(5, 5, view);
    EXPECT_TRUE(view.recompositions.empty());
}

TEST(DesktopGestures, WheelScrollsLikeTheArrowKeysAndZoomsWithCtrlOneStepANotch) {
    settings::AppSettings settings;
    settings.arrowKeyFunctions[2] =
        settings::ButtonFunction::Next; // up arrow: next, so the wheel follows the assignment
    RecordedActions actions;
    DesktopGestures gestures;
    gestures.wheel(0, 120, false, actions, settings);
    gestures.wheel(0, -240, false, actions, settings);
    gestures.wheel(120, 0, false, actions, settings);
    gestures.wheel(-120, 0, false, actions, settings);
    // A fine wheel: four eighths of a notch, then the rest; the remainder carries over.
    for (int i = 0; i < 4; ++i) {
        gestures.wheel(0, 30, true, actions, settings);
    }
    gestures.wheel(0, -360, true, actions, settings);
    EXPECT_EQ(actions.log,
              (std::vector<std::string>{"next", "down32", "down32", "left32", "right32", "zoomIn",
                                        "zoomOut", "zoomOut", "zoomOut"}));
}

TEST(DesktopGestures, PinchZoomsOnceForEveryQuarterOfSpread) {
    RecordedActions actions;
    DesktopGestures gestures;
    gestures.pinchBegan();
    for (const double scale : {1.1, 1.3, 1.6, 1.05, 0.0}) {
        gestures.pinch(scale, actions);
    }
    gestures.pinchBegan(); // a new pinch starts from its own scale 1
    gestures.pinch(0.7, actions);
    EXPECT_EQ(actions.log, (std::vector<std::string>{"zoomIn", "zoomIn", "zoomOut", "zoomOut"}));
}

} // namespace
} // namespace velmora::app
