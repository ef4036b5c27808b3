#include "platform/fake/us_layout.h"

#include <string_view>

namespace qirelo::platform::fake {
namespace {

constexpr std::uint16_t kShift = 0x100;
constexpr std::uint16_t kCtrl = 0x200;

// The punctuation keys: the character without and with Shift, and the key.
struct PunctuationKey {
    char plain;
    char shifted;
    std::uint8_t vk;
};

constexpr PunctuationKey kPunctuation[] = {
    {';', ':', 0xBA},  {'=', '+', 0xBB}, {',', '<', 0xBC},  {'-', '_', 0xBD},
    {'.', '>', 0xBE},  {'/', '?', 0xBF}, {'`', '~', 0xC0},  {'[', '{', 0xDB},
    {'\\', '|', 0xDC}, {']', '}', 0xDD}, {'\'', '"', 0xDE},
};

// The shifted digit row, from 0 to 9.
constexpr std::string_view kShiftedDigits = ")!@#$%^&*(";

std::uint16_t control_char_scan(unsigned char c) {
    switch (c) {
    case 0x08:
        return 0x08; // Backspace
    case 0x09:
        return 0x09; // Tab
    case 0x0A:
        return kCtrl | 0x0D; // Ctrl+Enter
    case 0x0D:
        return 0x0D; // Enter
    case 0x1B:
        return kCtrl | 0xDB; // Ctrl+[
    case 0x1C:
        return kCtrl | 0xDC; // Ctrl+backslash
    case 0x1D:
        return kCtrl | 0xDD; // Ctrl+]
    case 0x1E:
        return kCtrl | kShift | '6';
    case 0x1F:
        return kCtrl | kShift | 0xBD;
    default:
        break;
    }
    if (c >= 0x01 && c <= 0x1A) {
        return kCtrl | static_cast<std::uint16_t>('A' + c - 1);
    }
    return 0xFFFF;
}

} // namespace

std::uint16_t us_char_scan(unsigned char c) {
    if (c >= 'a' && c <= 'z') {
        return static_cast<std::uint16_t>(c - 'a' + 'A');
    }
    if (c >= 'A' && c <= 'Z') {
        return kShift | c;
    }
    if (c >= '0' && c <= '9') {
        return c;
    }
    if (c == ' ') {
        return 0x20;
    }
    if (auto at = kShiftedDigits.find(static_cast<char>(c)); at != std::string_view::npos) {
        return static_cast<std::uint16_t>(kShift | ('0' + at));
    }
    for (const PunctuationKey& key : kPunctuation) {
        if (c == static_cast<unsigned char>(key.plain)) {
            return key.vk;
        }
        if (c == static_cast<unsigned char>(key.shifted)) {
            return kShift | key.vk;
        }
    }
    if (c < 0x20) {
        return control_char_scan(c);
    }
    return 0xFFFF;
}

std::uint32_t us_scan_code(std::uint32_t vk) {
    // Letters in alphabetical order, then the digits 1 to 9 and 0.
    constexpr std::uint8_t kLetters[26] = {0x1E, 0x30, 0x2E, 0x20, 0x12, 0x21, 0x22, 0x23, 0x17,
                                           0x24, 0x25, 0x26, 0x32, 0x31, 0x18, 0x19, 0x10, 0x13,
                                           0x1F, 0x14, 0x16, 0x2F, 0x11, 0x2D, 0x15, 0x2C};
    if (vk >= 'A' && vk <= 'Z') {
        return kLetters[vk - 'A'];
    }
    if (vk >= '1' && vk <= '9') {
        return vk - '1' + 0x02;
    }
    if (vk >= 0x70 && vk <= 0x79) { // F1 to F10
        return vk - 0x70 + 0x3B;
    }
    if (vk >= 0x7C && vk <= 0x7F) { // F13 to F16
        return vk - 0x7C + 0x64;
    }
    switch (vk) {
    case '0':
        return 0x0B;
    case 0x03:
        return 0x46; // Cancel (Break)
    case 0x08:
        return 0x0E;
    case 0x09:
        return 0x0F;
    case 0x0C:
        return 0x4C; // Clear
    case 0x0D:
        return 0x1C;
    case 0x10:
        return 0x2A;
    case 0x11:
        return 0x1D;
    case 0x12:
        return 0x38;
    case 0x14:
        return 0x3A;
    case 0x1B:
        return 0x01;
    case 0x20:
        return 0x39;
    case 0x21:
        return 0x49;
    case 0x22:
        return 0x51;
    case 0x23:
        return 0x4F;
    case 0x24:
        return 0x47;
    case 0x25:
        return 0x4B;
    case 0x26:
        return 0x48;
    case 0x27:
        return 0x4D;
    case 0x28:
        return 0x50;
    case 0x2C:
        return 0x54; // Snapshot
    case 0x2D:
        return 0x52;
    case 0x2E:
        return 0x53;
    case 0x7A:
        return 0x57; // F11
    case 0x7B:
        return 0x58; // F12
    case 0x90:
        return 0x45; // NumLock
    case 0x91:
        return 0x46; // Scroll Lock
    case 0xBA:
        return 0x27;
    case 0xBB:
        return 0x0D;
    case 0xBC:
        return 0x33;
    case 0xBD:
        return 0x0C;
    case 0xBE:
        return 0x34;
    case 0xBF:
        return 0x35;
    case 0xC0:
        return 0x29;
    case 0xDB:
        return 0x1A;
    case 0xDC:
        return 0x2B;
    case 0xDD:
        return 0x1B;
    case 0xDE:
        return 0x28;
    default:
        return 0; // Print, Help and the like have no scan code here
    }
}

} // namespace qirelo::platform::fake
