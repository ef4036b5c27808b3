#pragma once

// The Qt peers of the widgets and realize(), which gives a whole window its
// native widgets. Every control becomes one Qt widget placed at the control's
// own bounds inside its parent's widget: the portable layout places them, Qt
// only draws and reports the user's input.

#include <QWidget>

#include "ui/control.h"
#include "ui/qt/backend.h"

namespace qirelo::ui::qt {

// Creates the Qt widgets of `root` and of every control under it, parents
// first; each takes the control's current state.
void realize(Backend& backend, Control& root);

// The Qt widget of a realized control.
QWidget* widget_of(const Control& control);

} // namespace qirelo::ui::qt
