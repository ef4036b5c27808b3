#pragma once

// The key-name table of the keystroke sender.

#include <cstdint>
#include <string_view>

namespace qirelo::keys {

enum class KeyAction {
    Hold,       // alternate the key's held flag: press and hold it, or release it
    Press,      // press and release the key
    NextLayout, // switch to the next installed keyboard layout
    ClearText,  // empty the focused edit box of this application
};

struct KeyName {
    std::string_view name;
    KeyAction action;
    std::uint8_t vk; // 0 for the actions that send no key
};

// The first name of the table that equals `keys` as SameKeyName compares,
// or nullptr.
const KeyName* FindKeyName(std::string_view keys);

// Equal lengths and equal bytes, ASCII letters a to z compared without case;
// nothing is trimmed.
bool SameKeyName(std::string_view a, std::string_view b);

} // namespace qirelo::keys
