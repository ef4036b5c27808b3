#pragma once

// The Win32 peers of the widgets, one per kind, and realize(), which gives a
// whole window its native controls.

#include "ui/win32/window_peer.h"

namespace qirelo::ui {
class Form;
}

namespace qirelo::ui::win32 {

// Creates the native windows of `root` and of every control under it,
// parents first; each takes the widget's current state.
void realize(Backend& backend, Control& root);

// The native window of a realized control.
HWND window_of(const Control& control);

} // namespace qirelo::ui::win32
