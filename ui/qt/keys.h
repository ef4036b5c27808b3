#pragma once

// Qt's key events in the window system's own terms: the virtual-key code of
// a key, the extended-key flag of its key data, and the character a key press
// stands for.

#include <QKeyEvent>

#include <cstdint>

namespace qirelo::ui::qt {

// The Windows virtual-key code of a Qt key, 0 for keys without one.
std::uint16_t VirtualKeyOf(const QKeyEvent& event);

// Bit 24 of a key message's lParam: the key comes from the extended block
// (arrows, Insert, Delete, Home, End, Page Up/Down outside the keypad).
bool IsExtendedKey(const QKeyEvent& event);

// The 8-bit character of a key press (Enter 13, Tab 9, Backspace 8, Escape
// 27, printable ASCII), 0 when it has none.
char CharacterOf(const QKeyEvent& event);

} // namespace qirelo::ui::qt
