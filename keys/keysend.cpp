#include "keys/keysend.h"

#include <array>
#include <utility>

#include "keys/key_names.h"

namespace qirelo::keys {

namespace {

constexpr std::uint8_t kShift = 0x10;
constexpr std::uint8_t kControl = 0x11;
constexpr std::uint8_t kAlt = 0x12;
constexpr std::uint8_t kCapsLock = 0x14;
constexpr std::uint8_t kNumLock = 0x90;

// Shift-state bits in the high byte of a character scan result.
constexpr std::uint8_t kNeedsShift = 1;
constexpr std::uint8_t kNeedsCtrl = 2;
constexpr std::uint8_t kNeedsAlt = 4;

} // namespace

bool InExtendedKeySet(std::uint8_t vk) {
    return (vk >= 0x21 && vk <= 0x28) || vk == 0x2D || vk == 0x2E;
}

KeySender::KeySender(platform::input::Keyboard& keyboard, std::function<void()> clear_focused_edit)
    : keyboard_(keyboard), clear_focused_edit_(std::move(clear_focused_edit)) {}

bool KeySender::SendKeys(std::string_view keys, bool wait) {
    keys = keys.substr(0, keys.find('\0'));
    if (keys.empty()) {
        return false;
    }
    wait_ = wait;
    if (const KeyName* name = FindKeyName(keys)) {
        Perform(*name);
        return false;
    }
    for (char c : keys) {
        const std::uint16_t scan_result = keyboard_.scan_char(c);
        if (scan_result == platform::input::kNoKeyForChar) {
            keyboard_.show_invalid_key_name();
            continue;
        }
        TypeKeyCombination(scan_result);
    }
    return true;
}

void KeySender::Perform(const KeyName& name) {
    switch (name.action) {
    case KeyAction::Hold:
        switch (name.vk) {
        case kShift:
            return Alternate(ShiftHeld_, kShift);
        case kControl:
            return Alternate(CtrlHeld_, kControl);
        case kAlt:
            return Alternate(AltHeld_, kAlt);
        default:
            return Alternate(CapsLockHeld_, kCapsLock);
        }
    case KeyAction::Press:
        return PressKey(name.vk, true);
    case KeyAction::NextLayout:
        return keyboard_.activate_next_layout();
    case KeyAction::ClearText:
        if (clear_focused_edit_) {
            clear_focused_edit_();
        }
        return;
    }
}

// The flag's value before the flip decides: press and hold, or release.
void KeySender::Alternate(bool& held, std::uint8_t vk) {
    held = !held;
    if (held) {
        PressKey(vk, false);
    } else {
        ReleaseKey(vk);
    }
}

void KeySender::EmitKeyEvent(std::uint8_t vk, std::uint8_t scan, std::uint32_t flags) {
    keyboard_.send_key_event(vk, scan, flags);
    if (wait_) {
        keyboard_.drain_keyboard_messages();
    }
}

void KeySender::PressKey(std::uint8_t vk, bool release) {
    using platform::input::kKeyEventExtendedKey;
    using platform::input::kKeyEventKeyUp;
    if (vk == kNumLock || vk == kCapsLock) {
        FlipToggle(vk);
        return;
    }
    const std::uint8_t scan = ScanCode(vk);
    const std::uint32_t down = InExtendedKeySet(vk) ? kKeyEventExtendedKey : 0;
    EmitKeyEvent(vk, scan, down);
    if (release) {
        EmitKeyEvent(vk, scan, down | kKeyEventKeyUp);
    }
}

void KeySender::ReleaseKey(std::uint8_t vk) {
    if (vk == kCapsLock) {
        FlipToggle(vk);
        return;
    }
    EmitKeyEvent(vk, ScanCode(vk), platform::input::kKeyEventKeyUp);
}

// Modifiers go down Shift, Ctrl, Alt and come up in that same order.
void KeySender::TypeKeyCombination(std::uint16_t scan_result) {
    const auto shift_state = static_cast<std::uint8_t>(scan_result >> 8);
    const auto vk = static_cast<std::uint8_t>(scan_result & 0xFF);
    constexpr std::array<std::pair<std::uint8_t, std::uint8_t>, 3> kModifiers{{
        {kNeedsShift, kShift},
        {kNeedsCtrl, kControl},
        {kNeedsAlt, kAlt},
    }};
    for (auto [bit, modifier] : kModifiers) {
        if (shift_state & bit) {
            PressKey(modifier, false);
        }
    }
    PressKey(vk, true);
    for (auto [bit, modifier] : kModifiers) {
        if (shift_state & bit) {
            ReleaseKey(modifier);
        }
    }
}

// NumLock and CapsLock change only the toggle bit in the thread's key-state
// table; no key event is sent for them.
void KeySender::FlipToggle(std::uint8_t vk) {
    const bool on = keyboard_.key_state(vk) & 0x1;
    platform::input::KeyStateTable table = keyboard_.keyboard_state();
    table[vk] = on ? static_cast<std::uint8_t>(table[vk] & ~0x1)
                   : static_cast<std::uint8_t>(table[vk] | 0x1);
    keyboard_.set_keyboard_state(table);
}

std::uint8_t KeySender::ScanCode(std::uint8_t vk) {
    return static_cast<std::uint8_t>(keyboard_.map_virtual_key(vk) & 0xFF);
}

} // namespace qirelo::keys
