#include "app/nav_toolbar.h"

#include "app/bar_button.h"

namespace velmora::app {

NavToolbar::NavToolbar(QWidget* parent, const CommandSink& onCommand) : QToolBar(parent) {
    setUpFixedBar(*this, "toolBar");
    const auto add = [this, &onCommand](ui::Command command, const char16_t* tooltip,
                                        const char* icon) {
        return addBarButton(*this, {command, tooltip, icon}, onCommand);
    };
    addSeparator();
    first_ = add(Command::First, u"先頭へ", "toolbar/first.svg");
    previous_ = add(Command::Previous, u"前へ", "toolbar/previous.svg");
    next_ = add(Command::Next, u"次へ", "toolbar/next.svg");
    last_ = add(Command::Last, u"最後へ", "toolbar/last.svg");
    addSeparator();
    add(Command::ZoomIn, u"拡大", "toolbar/zoom_in.svg");
    add(Command::ZoomOut, u"縮小", "toolbar/zoom_out.svg");
    add(Command::ToggleWholeOriginal, u"全体表示", "toolbar/whole.svg");
    addSeparator();
    add(Command::SeekForward, u"順シーク", "toolbar/seek_forward.svg");
    add(Command::SeekBackward, u"逆シーク", "toolbar/seek_backward.svg");
}

void NavToolbar::setNavStates(const NavButtonStates& states) {
    first_->setEnabled(states.first);
    previous_->setEnabled(states.previous);
    next_->setEnabled(states.next);
    last_->setEnabled(states.last);
}

} // namespace velmora::app
