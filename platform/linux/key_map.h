#pragma once

// Windows virtual-key codes on an X keyboard. The named keys (Escape, the
// arrows, F1...) map to their X keysyms; letters and digits to theirs; the
// punctuation keys (VK_OEM_*) are positional on Windows, so they map to the
// X key at the same place of a PC keyboard. VkKeyScanA's answer for a
// character is derived from the current X keyboard map: the key that carries
// the character, the level it sits on (Shift, AltGr = Ctrl+Alt) and that
// key's virtual-key code.

#include <cstdint>
#include <optional>

namespace qirelo::platform::native {

using KeySym = unsigned long;
using KeyCode = unsigned int;

// What the current X keyboard map says (group 0 only).
class KeyMapView {
public:
    virtual ~KeyMapView() = default;
    virtual KeyCode min_keycode() const = 0;
    virtual KeyCode max_keycode() const = 0;
    // The keysym at `level` (0 plain, 1 Shift, 2 AltGr, 3 Shift+AltGr), 0 if none.
    virtual KeySym keysym(KeyCode code, int level) const = 0;
};

// The keysym a virtual key stands for when it is not positional, if any.
std::optional<KeySym> KeysymForVk(std::uint8_t vk);

// The evdev key code of a positional punctuation key (VK_OEM_1...), if `vk` is one.
std::optional<KeyCode> PositionalKeyCode(std::uint8_t vk);

// The X key that a virtual key presses on this keyboard map, if any.
std::optional<KeyCode> KeyCodeForVk(const KeyMapView& map, std::uint8_t vk);

// The virtual-key code of an X key: by its plain keysym for letters, digits
// and named keys, by its place for punctuation; nullopt for keys Windows has
// no code for.
std::optional<std::uint8_t> VkForKeyCode(const KeyMapView& map, KeyCode code);

// VkKeyScanA: the virtual key in the low byte, the shift state in the high
// byte (1 Shift, 2 Ctrl, 4 Alt), 0xFFFF when no key on the map gives `c`.
std::uint16_t ScanChar(const KeyMapView& map, char c);

// MapVirtualKeyA(vk, 0): the PC (set 1) scan code of an X key, which evdev
// numbers 8 below the X key code.
std::uint32_t ScanCodeForKeyCode(KeyCode code);

} // namespace qirelo::platform::native
