// The X11 keyboard and pointer against a real X server (the test runs on a
// virtual screen of its own): the server's keyboard map answers VkKeyScanA,
// XTEST presses keys the server then reports down, the pointer is warped.

#include <gtest/gtest.h>

#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/keysym.h>

#include <memory>
#include <vector>

#include "platform/linux/input.h"

namespace qirelo::platform::native {
namespace {

class XInputTest : public testing::Test {
protected:
    std::shared_ptr<XDisplay> display = std::make_shared<XDisplay>();
    XKeyboard keyboard{display, [this] { ++invalid_boxes; }};
    XPointer pointer{display};
    int invalid_boxes = 0;
};

TEST_F(XInputTest, TheServersKeyboardMapAnswersForCharacters) {
    // Xvfb's default map is a US PC keyboard.
    EXPECT_EQ(keyboard.scan_char('a'), 0x0041);
    EXPECT_EQ(keyboard.scan_char('A'), 0x0141);
    EXPECT_EQ(keyboard.scan_char('!'), 0x0131);
    EXPECT_EQ(keyboard.scan_char(' '), 0x0020);
    EXPECT_EQ(keyboard.scan_char('\xB5'), 0xFFFF);
    EXPECT_EQ(keyboard.map_virtual_key(0x1B), 0x01u); // Escape
    EXPECT_EQ(keyboard.map_virtual_key(0x25), 0x69u); // Left, as evdev numbers it
}

TEST_F(XInputTest, AKeyPressedThroughXtestIsDownUntilReleased) {
    constexpr std::uint8_t kVkF9 = 0x78;
    keyboard.send_key_event(kVkF9, 0, 0);
    keyboard.drain_keyboard_messages();
    EXPECT_NE(keyboard.key_state(kVkF9) & 0x8000, 0);
    keyboard.send_key_event(kVkF9, 0, input::kKeyEventKeyUp);
    keyboard.drain_keyboard_messages();
    EXPECT_EQ(keyboard.key_state(kVkF9) & 0x8000, 0);
}

// A window of another client that has the keyboard focus and reads its keys
// as X clients do: a mapping change makes it read the map again, and a key's
// keysym is looked up when the key is read.
class FocusedWindow {
public:
    FocusedWindow() : display_(XOpenDisplay(nullptr)) {
        window_ = XCreateSimpleWindow(display_, DefaultRootWindow(display_), 0, 0, 50, 50, 0, 0, 0);
        XSelectInput(display_, window_, KeyPressMask | StructureNotifyMask);
        XMapWindow(display_, window_);
        for (XEvent event; XNextEvent(display_, &event), event.type != MapNotify;) {
        }
        XSetInputFocus(display_, window_, RevertToParent, CurrentTime);
        XSync(display_, False);
    }
    ~FocusedWindow() { XCloseDisplay(display_); }

    // Takes every event sent so far (the keyboard's settle step).
    void take_events() {
        XSync(display_, False);
        while (XPending(display_)) {
            XEvent event;
            XNextEvent(display_, &event);
            if (event.type == MappingNotify)
                XRefreshKeyboardMapping(&event.xmapping);
            if (event.type == KeyPress)
                typed.push_back(XLookupKeysym(&event.xkey, 0));
        }
    }

    std::vector<KeySym> typed;

private:
    ::Display* display_;
    Window window_ = 0;
};

TEST(XInputSpareKeyTest, KeysMissingFromTheMapArePressedOnALentKeyCodeGivenBackAfter) {
    FocusedWindow window;
    auto display = std::make_shared<XDisplay>();
    {
        XKeyboard keyboard(
            display, [] {}, [&] { window.take_events(); });
        // F13..F16, Help, Clear, Break and F13 again once given back, then a
        // key of the map.
        const std::uint8_t missing[] = {0x7C, 0x7D, 0x7E, 0x7F, 0x2F, 0x0C, 0x03, 0x7C};
        for (std::uint8_t vk : missing) {
            keyboard.send_key_event(vk, 0, 0);
            keyboard.drain_keyboard_messages();
            EXPECT_NE(keyboard.key_state(vk) & 0x8000, 0) << int(vk);
            keyboard.send_key_event(vk, 0, input::kKeyEventKeyUp);
            keyboard.drain_keyboard_messages();
            EXPECT_EQ(keyboard.key_state(vk) & 0x8000, 0) << int(vk);
        }
        keyboard.send_key_event(0x1B, 0, 0);
        keyboard.send_key_event(0x1B, 0, input::kKeyEventKeyUp);
        keyboard.drain_keyboard_messages();
        EXPECT_EQ(window.typed, (std::vector<KeySym>{XK_F13, XK_F14, XK_F15, XK_F16, XK_Help,
                                                     XK_Clear, XK_Break, XK_F13, XK_Escape}));
        // Given back once up: the map is as it was.
        EXPECT_EQ(keyboard.map_virtual_key(0x7C), 0u);

        // One still down when the keyboard goes is released and given back.
        keyboard.send_key_event(0x7C, 0, 0);
        keyboard.drain_keyboard_messages();
    }
    XKeyboard after(display, [] {});
    EXPECT_EQ(after.key_state(0x7C) & 0x8000, 0);
    EXPECT_EQ(after.map_virtual_key(0x7C), 0u);
}

TEST_F(XInputTest, ToggleFlipsStayInTheThreadsTable) {
    input::KeyStateTable table = keyboard.keyboard_state();
    const auto before = keyboard.key_state(0x90) & 1;
    table[0x90] ^= 1;
    keyboard.set_keyboard_state(table);
    EXPECT_NE(keyboard.key_state(0x90) & 1, before);
}

TEST_F(XInputTest, ThePointerIsWarpedWithinTheScreen) {
    const input::ScreenSize screen = pointer.screen_size();
    EXPECT_EQ(screen, (input::ScreenSize{1280, 1024}));
    pointer.set_cursor_pos({396, 230});
    EXPECT_EQ(pointer.cursor_pos(), (input::Point{396, 230}));
    pointer.set_cursor_pos({802, 490});
    EXPECT_EQ(pointer.cursor_pos(), (input::Point{802, 490}));
}

TEST_F(XInputTest, TheInvalidKeyNameBoxIsThePrograms) {
    keyboard.show_invalid_key_name();
    EXPECT_EQ(invalid_boxes, 1);
}

} // namespace
} // namespace qirelo::platform::native
