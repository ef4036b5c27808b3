#include "platform/linux/key_map.h"

#include <X11/keysym.h>

#include <array>
#include <utility>

namespace qirelo::platform::native {
namespace {

// Named keys: virtual-key code and the X keysym of the same key.
constexpr std::array<std::pair<std::uint8_t, KeySym>, 53> kNamedKeys{{
    {0x03, XK_Break},       {0x08, XK_BackSpace},  {0x09, XK_Tab},         {0x0C, XK_Clear},
    {0x0D, XK_Return},      {0x10, XK_Shift_L},    {0x11, XK_Control_L},   {0x12, XK_Alt_L},
    {0x13, XK_Pause},       {0x14, XK_Caps_Lock},  {0x1B, XK_Escape},      {0x20, XK_space},
    {0x21, XK_Prior},       {0x22, XK_Next},       {0x23, XK_End},         {0x24, XK_Home},
    {0x25, XK_Left},        {0x26, XK_Up},         {0x27, XK_Right},       {0x28, XK_Down},
    {0x29, XK_Select},      {0x2A, XK_Print},      {0x2B, XK_Execute},     {0x2C, XK_Print},
    {0x2D, XK_Insert},      {0x2E, XK_Delete},     {0x2F, XK_Help},        {0x5B, XK_Super_L},
    {0x5C, XK_Super_R},     {0x5D, XK_Menu},       {0x6A, XK_KP_Multiply}, {0x6B, XK_KP_Add},
    {0x6D, XK_KP_Subtract}, {0x6E, XK_KP_Decimal}, {0x6F, XK_KP_Divide},   {0x90, XK_Num_Lock},
    {0x91, XK_Scroll_Lock}, {0xA0, XK_Shift_L},    {0xA1, XK_Shift_R},     {0xA2, XK_Control_L},
    {0xA3, XK_Control_R},   {0xA4, XK_Alt_L},      {0xA5, XK_Alt_R},       {0x60, XK_KP_0},
    {0x61, XK_KP_1},        {0x62, XK_KP_2},       {0x63, XK_KP_3},        {0x64, XK_KP_4},
    {0x65, XK_KP_5},        {0x66, XK_KP_6},       {0x67, XK_KP_7},        {0x68, XK_KP_8},
    {0x69, XK_KP_9},
}};

// Punctuation keys by their place on a PC keyboard (evdev key codes).
constexpr std::array<std::pair<std::uint8_t, KeyCode>, 12> kPositionalKeys{{
    {0xBA, 47}, // VK_OEM_1, ; on US
    {0xBB, 21}, // VK_OEM_PLUS
    {0xBC, 59}, // VK_OEM_COMMA
    {0xBD, 20}, // VK_OEM_MINUS
    {0xBE, 60}, // VK_OEM_PERIOD
    {0xBF, 61}, // VK_OEM_2, / on US
    {0xC0, 49}, // VK_OEM_3, ` on US
    {0xDB, 34}, // VK_OEM_4, [ on US
    {0xDC, 51}, // VK_OEM_5, \ on US
    {0xDD, 35}, // VK_OEM_6, ] on US
    {0xDE, 48}, // VK_OEM_7, ' on US
    {0xE2, 94}, // VK_OEM_102, the key beside the left Shift
}};

constexpr int kLevels = 4;
// Shift state bits of VkKeyScanA per level: plain, Shift, AltGr (Ctrl+Alt),
// Shift+AltGr.
constexpr std::array<std::uint16_t, kLevels> kLevelShiftState{0, 1, 6, 7};

std::optional<KeySym> KeysymForChar(unsigned char c) {
    switch (c) {
    case '\b':
        return XK_BackSpace;
    case '\t':
        return XK_Tab;
    case '\r':
        return XK_Return;
    case 0x1B:
        return XK_Escape;
    default:
        break;
    }
    // Latin-1 characters are their own keysyms.
    if ((c >= 0x20 && c <= 0x7E) || c >= 0xA0)
        return static_cast<KeySym>(c);
    return std::nullopt;
}

} // namespace

std::optional<KeySym> KeysymForVk(std::uint8_t vk) {
    if (vk >= 'A' && vk <= 'Z')
        return static_cast<KeySym>(XK_a + (vk - 'A'));
    if (vk >= '0' && vk <= '9')
        return static_cast<KeySym>(XK_0 + (vk - '0'));
    if (vk >= 0x70 && vk <= 0x87) // F1..F24
        return static_cast<KeySym>(XK_F1 + (vk - 0x70));
    for (const auto& [code, sym] : kNamedKeys)
        if (code == vk)
            return sym;
    return std::nullopt;
}

std::optional<KeyCode> PositionalKeyCode(std::uint8_t vk) {
    for (const auto& [code, key] : kPositionalKeys)
        if (code == vk)
            return key;
    return std::nullopt;
}

std::optional<KeyCode> KeyCodeForVk(const KeyMapView& map, std::uint8_t vk) {
    if (auto key = PositionalKeyCode(vk))
        return key;
    const auto sym = KeysymForVk(vk);
    if (!sym)
        return std::nullopt;
    for (KeyCode code = map.min_keycode(); code <= map.max_keycode(); ++code)
        if (map.keysym(code, 0) == *sym)
            return code;
    return std::nullopt;
}

std::optional<std::uint8_t> VkForKeyCode(const KeyMapView& map, KeyCode code) {
    for (const auto& [vk, key] : kPositionalKeys)
        if (key == code)
            return vk;
    const KeySym plain = map.keysym(code, 0);
    if (plain >= XK_a && plain <= XK_z)
        return static_cast<std::uint8_t>('A' + (plain - XK_a));
    if (plain >= XK_0 && plain <= XK_9)
        return static_cast<std::uint8_t>(plain);
    if (plain >= XK_F1 && plain <= XK_F24)
        return static_cast<std::uint8_t>(0x70 + (plain - XK_F1));
    for (const auto& [vk, sym] : kNamedKeys)
        if (sym == plain)
            return vk;
    return std::nullopt;
}

std::uint16_t ScanChar(const KeyMapView& map, char c) {
    const auto sym = KeysymForChar(static_cast<unsigned char>(c));
    if (!sym)
        return 0xFFFF;
    // The lowest level wins, as the layout's plain keys come before shifted ones.
    for (int level = 0; level < kLevels; ++level)
        for (KeyCode code = map.min_keycode(); code <= map.max_keycode(); ++code) {
            if (map.keysym(code, level) != *sym)
                continue;
            if (auto vk = VkForKeyCode(map, code))
                return static_cast<std::uint16_t>(kLevelShiftState[level] << 8 | *vk);
        }
    return 0xFFFF;
}

std::uint32_t ScanCodeForKeyCode(KeyCode code) {
    return code >= 8 ? (code - 8) & 0xFF : 0;
}

} // namespace qirelo::platform::native
