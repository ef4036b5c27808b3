#include "app/pointer/pointer_actions.h"

namespace qirelo::app::pointer {

using platform::input::Point;

int HalfOf(int pixels) {
    return pixels / 2;
}

PointerActions::PointerActions(ui::Form& form1, const ui::Control& web1,
                               platform::input::Pointer& pointer)
    : form1_(form1), web1_(web1), pointer_(pointer) {}

void PointerActions::Action1Execute() {
    form1_.set_window_state(ui::WindowState::Maximized);
    const Point target = ScreenMiddle();
    pointer_.set_cursor_pos(target);
    // Two clicks back to back, with no pause, make the system's double-click.
    LeftClick();
    LeftClick();
    pointer_.set_cursor_pos({2 * target.x + 10, 2 * target.y + 30});
}

void PointerActions::Action2Execute() {
    const platform::input::ScreenSize screen = pointer_.screen_size();
    pointer_.set_cursor_pos(FromWeb1Origin(HalfOf(screen.width), screen.height - 5));
    LeftClick();
}

void PointerActions::Action3Execute() {
    pointer_.set_cursor_pos(ScreenMiddle());
    LeftClick();
}

Point PointerActions::FromWeb1Origin(int x, int y) const {
    const ui::Point origin = web1_.screen_origin();
    return {x - origin.x, y - origin.y};
}

Point PointerActions::ScreenMiddle() const {
    const platform::input::ScreenSize screen = pointer_.screen_size();
    return FromWeb1Origin(HalfOf(screen.width), HalfOf(screen.height));
}

void PointerActions::LeftClick() {
    pointer_.send_mouse_event(platform::input::kMouseLeftDown);
    pointer_.send_mouse_event(platform::input::kMouseLeftUp);
}

} // namespace qirelo::app::pointer
