// The X11 keyboard and pointer against a real X server (the test runs on a
// virtual screen of its own): the server's keyboard map answers VkKeyScanA,
// XTEST presses keys the server then reports down, the pointer is warped.

#include <gtest/gtest.h>

#include <memory>

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
