#pragma once

// What "FK_ClearText" empties: the edit box that holds the focus in the
// application's window, if the focused control is one.

#include "ui/application.h"
#include "ui/form.h"

namespace qirelo::app {

// Empties `form`'s focused control when it is an edit box (of any kind);
// otherwise, or with no focused control, does nothing.
void ClearFocusedEdit(ui::Form& form);

// The same from any thread: the window is touched on the main thread while
// the caller waits, as a window's own thread must handle its text.
void ClearFocusedEditOnMainThread(ui::Application& application, ui::Form& form);

} // namespace qirelo::app
