#pragma once

// keysend: turns a key string into synthesised keyboard input for the window
// that has the keyboard focus. A key string is exactly one key name such as
// "FK_ESC" (matched whole, ASCII letters in any case), which sends that key or
// performs that action, or else text typed byte by byte through the current
// keyboard layout.

#include <cstdint>
#include <functional>
#include <string_view>

#include "platform/input/keyboard.h"

namespace qirelo::keys {

struct KeyName;

class KeySender {
public:
    // `clear_focused_edit` empties the edit box that has the focus in this
    // application, if the focused control is one; "FK_ClearText" runs it.
    KeySender(platform::input::Keyboard& keyboard, std::function<void()> clear_focused_edit);

    // Sends `keys` (up to its first NUL byte). With `wait`, every key event is
    // followed by a drain of the calling thread's keyboard messages. True when
    // the string was typed as text, even if some bytes had no key; false for
    // the empty string and for a key name.
    //
    // The held-key flags of "FK_Shift", "FK_Ctrl", "FK_Alt" and "FK_CAPSLOCK"
    // live as long as the sender: the program keeps one for its whole run, and
    // calls must not overlap.
    bool SendKeys(std::string_view keys, bool wait);

    bool ShiftHeld() const { return ShiftHeld_; }
    bool CtrlHeld() const { return CtrlHeld_; }
    bool AltHeld() const { return AltHeld_; }
    bool CapsLockHeld() const { return CapsLockHeld_; }

private:
    void Perform(const KeyName& name);
    void Alternate(bool& held, std::uint8_t vk);

    void EmitKeyEvent(std::uint8_t vk, std::uint8_t scan, std::uint32_t flags);
    void PressKey(std::uint8_t vk, bool release);
    void ReleaseKey(std::uint8_t vk);
    void TypeKeyCombination(std::uint16_t scan_result);
    void FlipToggle(std::uint8_t vk);
    std::uint8_t ScanCode(std::uint8_t vk);

    platform::input::Keyboard& keyboard_;
    std::function<void()> clear_focused_edit_;
    bool wait_ = false;
    bool ShiftHeld_ = false;
    bool CtrlHeld_ = false;
    bool AltHeld_ = false;
    bool CapsLockHeld_ = false;
};

// Whether `vk` is sent with the extended-key flag: the navigation block
// (0x21 to 0x28), Insert (0x2D) and Delete (0x2E).
bool InExtendedKeySet(std::uint8_t vk);

} // namespace qirelo::keys
