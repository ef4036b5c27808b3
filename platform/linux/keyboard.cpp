#include <X11/XKBlib.h>
#include <X11/Xlib.h>
#include <X11/extensions/XTest.h>

#include <algorithm>
#include <cstring>

#include "platform/linux/input.h"
#include "platform/linux/key_map.h"

namespace qirelo::platform::native {
namespace {

class XKeyMap final : public KeyMapView {
public:
    explicit XKeyMap(::Display* display) : display_(display) {
        int min = 0, max = 0;
        XDisplayKeycodes(display, &min, &max);
        min_ = static_cast<KeyCode>(min);
        max_ = static_cast<KeyCode>(max);
    }
    KeyCode min_keycode() const override { return min_; }
    KeyCode max_keycode() const override { return max_; }
    KeySym keysym(KeyCode code, int level) const override {
        return XkbKeycodeToKeysym(display_, static_cast<::KeyCode>(code), 0, level);
    }

private:
    ::Display* display_;
    KeyCode min_ = 8;
    KeyCode max_ = 255;
};

constexpr std::uint8_t kVkCapital = 0x14;
constexpr std::uint8_t kVkNumLock = 0x90;

bool indicator_on(::Display* display, const char* name) {
    const Atom atom = XInternAtom(display, name, False);
    Bool on = False;
    XkbGetNamedIndicator(display, atom, nullptr, &on, nullptr, nullptr);
    return on;
}

bool pressed(const char (&keys)[32], KeyCode code) {
    return (keys[code / 8] >> (code % 8)) & 1;
}

// A key code that the server's map leaves empty at every level, from the top
// (where no key of a PC keyboard sits), or none.
std::optional<KeyCode> empty_key_code(::Display* display) {
    int min = 0, max = 0, per_code = 0;
    XDisplayKeycodes(display, &min, &max);
    KeySym* syms =
        XGetKeyboardMapping(display, static_cast<::KeyCode>(min), max - min + 1, &per_code);
    if (!syms)
        return std::nullopt;
    std::optional<KeyCode> empty;
    for (int code = max; code >= min && !empty; --code) {
        const KeySym* first = syms + static_cast<std::ptrdiff_t>(code - min) * per_code;
        if (std::all_of(first, first + per_code, [](KeySym s) { return s == NoSymbol; }))
            empty = static_cast<KeyCode>(code);
    }
    XFree(syms);
    return empty;
}

void bind_key_code(::Display* display, KeyCode code, KeySym sym) {
    ::KeySym bound = sym;
    XChangeKeyboardMapping(display, static_cast<int>(code), 1, &bound, 1);
}

} // namespace

std::optional<KeyCode> XKeyboard::key_code_for(::Display* display, std::uint8_t vk) const {
    if (auto code = KeyCodeForVk(XKeyMap(display), vk))
        return code;
    const auto sym = KeysymForVk(vk);
    for (const SpareKey& spare : spare_keys_)
        if (sym && spare.sym == *sym)
            return spare.code;
    return std::nullopt;
}

std::optional<KeyCode> XKeyboard::lend_spare_key(::Display* display, std::uint8_t vk) {
    const auto sym = KeysymForVk(vk);
    if (!sym)
        return std::nullopt;
    const auto code = empty_key_code(display);
    if (!code)
        return std::nullopt;
    bind_key_code(display, *code, *sym);
    spare_keys_.push_back({*code, *sym});
    return code;
}

void XKeyboard::return_spare_keys(::Display* display, bool even_when_down) {
    char keys[32] = {};
    XQueryKeymap(display, keys);
    std::erase_if(spare_keys_, [&](const SpareKey& spare) {
        if (pressed(keys, spare.code)) {
            if (!even_when_down)
                return false;
            XTestFakeKeyEvent(display, spare.code, False, CurrentTime);
        }
        bind_key_code(display, spare.code, NoSymbol);
        return true;
    });
    XFlush(display);
}

namespace {

bool key_down(::Display* display, std::uint8_t vk,
              const std::function<std::optional<KeyCode>(std::uint8_t)>& code_for) {
    char keys[32] = {};
    XQueryKeymap(display, keys);
    // Shift, Ctrl and Alt stand for both keys of their pair.
    std::uint8_t pair[2] = {vk, vk};
    if (vk == 0x10)
        pair[0] = 0xA0, pair[1] = 0xA1;
    else if (vk == 0x11)
        pair[0] = 0xA2, pair[1] = 0xA3;
    else if (vk == 0x12)
        pair[0] = 0xA4, pair[1] = 0xA5;
    for (std::uint8_t one : pair)
        if (auto code = code_for(one); code && pressed(keys, *code))
            return true;
    return false;
}

} // namespace

XKeyboard::XKeyboard(std::shared_ptr<XDisplay> display, std::function<void()> invalid_key_name,
                     std::function<void()> settle)
    : display_(std::move(display)), invalid_key_name_(std::move(invalid_key_name)),
      settle_(std::move(settle)) {}

XKeyboard::~XKeyboard() {
    auto display = display_->use();
    return_spare_keys(*display, true);
}

void XKeyboard::send_key_event(std::uint8_t vk, std::uint8_t, std::uint32_t flags) {
    auto display = display_->use();
    const bool press = (flags & input::kKeyEventKeyUp) == 0;
    auto code = key_code_for(*display, vk);
    if (!code && press)
        code = lend_spare_key(*display, vk);
    if (!code)
        return; // no keysym for it, or no key code left to lend: nothing to press
    XTestFakeKeyEvent(*display, *code, press ? True : False, CurrentTime);
    XFlush(*display);
}

std::uint32_t XKeyboard::map_virtual_key(std::uint32_t vk) {
    if (vk > 0xFF)
        return 0;
    auto display = display_->use();
    const auto code = KeyCodeForVk(XKeyMap(*display), static_cast<std::uint8_t>(vk));
    return code ? ScanCodeForKeyCode(*code) : 0;
}

std::uint16_t XKeyboard::scan_char(char c) {
    auto display = display_->use();
    return ScanChar(XKeyMap(*display), c);
}

// The thread's table starts from the server's toggles, like a thread that
// has just attached to the input queue.
input::KeyStateTable& XKeyboard::thread_table() {
    thread_local bool filled = false;
    thread_local input::KeyStateTable table{};
    if (!filled) {
        auto display = display_->use();
        table[kVkCapital] = indicator_on(*display, "Caps Lock") ? 1 : 0;
        table[kVkNumLock] = indicator_on(*display, "Num Lock") ? 1 : 0;
        filled = true;
    }
    return table;
}

std::uint16_t XKeyboard::key_state(int vk) {
    if (vk < 0 || vk > 0xFF)
        return 0;
    const std::uint16_t toggle = thread_table()[static_cast<std::size_t>(vk)] & 1;
    auto display = display_->use();
    const bool down = key_down(*display, static_cast<std::uint8_t>(vk),
                               [&](std::uint8_t one) { return key_code_for(*display, one); });
    return static_cast<std::uint16_t>(toggle | (down ? 0xFF80 : 0));
}

input::KeyStateTable XKeyboard::keyboard_state() {
    return thread_table();
}

void XKeyboard::set_keyboard_state(const input::KeyStateTable& table) {
    thread_table() = table;
}

void XKeyboard::activate_next_layout() {
    auto display = display_->use();
    XkbStateRec state{};
    XkbGetState(*display, XkbUseCoreKbd, &state);
    XkbDescPtr description = XkbGetKeyboard(*display, XkbControlsMask, XkbUseCoreKbd);
    int groups = 1;
    if (description) {
        if (description->ctrls)
            groups = std::max<int>(description->ctrls->num_groups, 1);
        XkbFreeKeyboard(description, 0, True);
    }
    XkbLockGroup(*display, XkbUseCoreKbd, static_cast<unsigned>((state.group + 1) % groups));
    XFlush(*display);
}

void XKeyboard::drain_keyboard_messages() {
    {
        auto display = display_->use();
        XSync(*display, False);
    }
    if (settle_)
        settle_();
    // The windows have taken the keys: a lent key code that is up again can go.
    auto display = display_->use();
    if (!spare_keys_.empty())
        return_spare_keys(*display, false);
}

void XKeyboard::show_invalid_key_name() {
    if (invalid_key_name_)
        invalid_key_name_();
}

} // namespace qirelo::platform::native
