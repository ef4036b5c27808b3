#include "platform/linux/x_display.h"

#include <X11/Xlib.h>
#include <X11/extensions/XTest.h>

namespace qirelo::platform::native {

XDisplay::XDisplay() : display_(XOpenDisplay(nullptr)) {
    if (!display_)
        throw XDisplayError("cannot open the X display");
    int event_base = 0, error_base = 0, major = 0, minor = 0;
    if (!XTestQueryExtension(display_, &event_base, &error_base, &major, &minor)) {
        XCloseDisplay(display_);
        throw XDisplayError("the X server has no XTEST extension");
    }
}

XDisplay::~XDisplay() {
    XCloseDisplay(display_);
}

} // namespace qirelo::platform::native
