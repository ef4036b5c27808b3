#include <X11/Xlib.h>
#include <X11/extensions/XTest.h>

#include "platform/linux/input.h"

namespace qirelo::platform::native {

input::ScreenSize XPointer::screen_size() {
    auto display = display_->use();
    const int screen = DefaultScreen(*display);
    return {DisplayWidth(*display, screen), DisplayHeight(*display, screen)};
}

void XPointer::set_cursor_pos(input::Point to) {
    auto display = display_->use();
    XWarpPointer(*display, None, DefaultRootWindow(*display), 0, 0, 0, 0, to.x, to.y);
    XFlush(*display);
}

input::Point XPointer::cursor_pos() {
    auto display = display_->use();
    ::Window root = 0, child = 0;
    int root_x = 0, root_y = 0, x = 0, y = 0;
    unsigned mask = 0;
    XQueryPointer(*display, DefaultRootWindow(*display), &root, &child, &root_x, &root_y, &x, &y,
                  &mask);
    return {root_x, root_y};
}

// mouse_event's button flags, each a press or a release of one button.
void XPointer::send_mouse_event(std::uint32_t flags) {
    struct ButtonFlag {
        std::uint32_t flag;
        unsigned button;
        bool press;
    };
    static constexpr ButtonFlag kButtons[] = {
        {input::kMouseLeftDown, 1, true},
        {input::kMouseLeftUp, 1, false},
        {0x08, 3, true},
        {0x10, 3, false}, // right
        {0x20, 2, true},
        {0x40, 2, false}, // middle
    };
    auto display = display_->use();
    for (const auto& b : kButtons)
        if (flags & b.flag)
            XTestFakeButtonEvent(*display, b.button, b.press ? True : False, CurrentTime);
    XFlush(*display);
}

} // namespace qirelo::platform::native
