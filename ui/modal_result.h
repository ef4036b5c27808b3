#pragma once

// How a modal window was answered: the button pressed (OK, Cancel, Yes, No),
// or None while it is still open.

namespace qirelo::ui {

enum class ModalResult { None, Ok, Cancel, Yes, No };

} // namespace qirelo::ui
