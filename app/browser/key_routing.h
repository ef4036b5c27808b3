#pragma once

#include <cstdint>

namespace qirelo::app::browser {

// The keyboard messages, 0x100 (key down) to 0x108.
bool IsKeyboardMessage(unsigned message);

// Whether a message taken by the application's loop is a key that the
// browser control of the showing tab should see before the window's own
// dialog-key handling: Tab and Enter, every key with Ctrl held, and the
// editing keys Backspace, Left, Right and Delete when they come from the
// extended block. Only keyboard messages (0x100..0x108) qualify.
bool OffersKeyToBrowser(unsigned message, std::uintptr_t key, std::intptr_t key_data,
                        bool ctrl_down);

} // namespace qirelo::app::browser
