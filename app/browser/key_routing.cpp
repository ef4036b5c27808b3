#include "app/browser/key_routing.h"

namespace qirelo::app::browser {
namespace {

constexpr unsigned kFirstKeyMessage = 0x100; // key down
constexpr unsigned kLastKeyMessage = 0x108;  // the end of the keyboard message range
constexpr std::uintptr_t kTab = 9, kEnter = 13, kBackspace = 8, kLeft = 37, kRight = 39,
                         kDelete = 46;
constexpr std::intptr_t kExtendedKeyFlag = 0x01000000;

bool is_editing_key(std::uintptr_t key) {
    return key == kBackspace || key == kLeft || key == kRight || key == kDelete;
}

} // namespace

bool IsKeyboardMessage(unsigned message) {
    return message >= kFirstKeyMessage && message <= kLastKeyMessage;
}

bool OffersKeyToBrowser(unsigned message, std::uintptr_t key, std::intptr_t key_data,
                        bool ctrl_down) {
    if (!IsKeyboardMessage(message))
        return false;
    if (key == kTab || key == kEnter)
        return true;
    if (ctrl_down)
        return true;
    return is_editing_key(key) && (key_data & kExtendedKeyFlag) != 0;
}

} // namespace qirelo::app::browser
