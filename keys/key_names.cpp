#include "keys/key_names.h"

#include <array>

#include "text/ascii.h"

namespace qirelo::keys {

namespace {

// Compared in this order; the first match decides.
constexpr std::array<KeyName, 46> kKeyNames{{
    {"FK_Shift", KeyAction::Hold, 0x10},      {"FK_Ctrl", KeyAction::Hold, 0x11},
    {"FK_Alt", KeyAction::Hold, 0x12},        {"FK_CAPSLOCK", KeyAction::Hold, 0x14},
    {"FK_BACKSPACE", KeyAction::Press, 0x08}, {"FK_BKSP", KeyAction::Press, 0x08},
    {"FK_BREAK", KeyAction::Press, 0x03},     {"FK_BS", KeyAction::Press, 0x08},
    {"FK_CLEAR", KeyAction::Press, 0x0C},     {"FK_DEL", KeyAction::Press, 0x2E},
    {"FK_DELETE", KeyAction::Press, 0x2E},    {"FK_DOWN", KeyAction::Press, 0x28},
    {"FK_END", KeyAction::Press, 0x23},       {"FK_ENTER", KeyAction::Press, 0x0D},
    {"FK_ESC", KeyAction::Press, 0x1B},       {"FK_ESCAPE", KeyAction::Press, 0x1B},
    {"FK_F1", KeyAction::Press, 0x70},        {"FK_F10", KeyAction::Press, 0x79},
    {"FK_F11", KeyAction::Press, 0x7A},       {"FK_F12", KeyAction::Press, 0x7B},
    {"FK_F13", KeyAction::Press, 0x7C},       {"FK_F14", KeyAction::Press, 0x7D},
    {"FK_F15", KeyAction::Press, 0x7E},       {"FK_F16", KeyAction::Press, 0x7F},
    {"FK_F2", KeyAction::Press, 0x71},        {"FK_F3", KeyAction::Press, 0x72},
    {"FK_F4", KeyAction::Press, 0x73},        {"FK_F5", KeyAction::Press, 0x74},
    {"FK_F6", KeyAction::Press, 0x75},        {"FK_F7", KeyAction::Press, 0x76},
    {"FK_F8", KeyAction::Press, 0x77},        {"FK_F9", KeyAction::Press, 0x78},
    {"FK_HELP", KeyAction::Press, 0x2F},      {"FK_HOME", KeyAction::Press, 0x24},
    {"FK_INS", KeyAction::Press, 0x2D},       {"FK_LEFT", KeyAction::Press, 0x25},
    {"FK_NUMLOCK", KeyAction::Press, 0x90}, // pressing it flips the toggle only
    {"FK_PGDN", KeyAction::Press, 0x22},      {"FK_PGUP", KeyAction::Press, 0x21},
    {"FK_PRTSC", KeyAction::Press, 0x2A}, // VK_PRINT, not VK_SNAPSHOT: what players expect
    {"FK_RIGHT", KeyAction::Press, 0x27},     {"FK_SCROLLLOCK", KeyAction::Press, 0x91},
    {"FK_TAB", KeyAction::Press, 0x09},       {"FK_UP", KeyAction::Press, 0x26},
    {"FK_IME", KeyAction::NextLayout, 0},     {"FK_ClearText", KeyAction::ClearText, 0},
}};

} // namespace

bool SameKeyName(std::string_view a, std::string_view b) {
    return text::iequals(a, b);
}

const KeyName* FindKeyName(std::string_view keys) {
    for (const KeyName& name : kKeyNames) {
        if (SameKeyName(keys, name.name)) {
            return &name;
        }
    }
    return nullptr;
}

} // namespace qirelo::keys
