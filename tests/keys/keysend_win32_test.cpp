// The keystroke sender against the real keyboard, typing into an edit box of
// a window under Wine (Xvfb).

#include <gtest/gtest.h>

#include <string>

#include "keys/keysend.h"
#include "platform/win32/input.h"
#include "tests/platform/win32_test_window.h"

namespace qirelo::keys {
namespace {

using qirelo::testing::TestWindow;

class KeySendWin32Test : public ::testing::Test {
protected:
    TestWindow window;
    platform::win32::Win32Keyboard keyboard;
    KeySender sender{keyboard, nullptr};

    bool edit_shows(const std::string& text) {
        return TestWindow::pump_until([&] { return window.edit_text() == text; });
    }
};

TEST_F(KeySendWin32Test, TextComesBackAsTyped) {
    ASSERT_EQ(::GetFocus(), window.edit());
    const std::string text = "Hello, World! 0123456789 a-b_c=d+e;f:g'h\"i/j?k[l]{m}\\n|o`p~q<r>s.t";
    EXPECT_TRUE(sender.SendKeys(text, true));
    EXPECT_TRUE(edit_shows(text)) << "edit shows: " << window.edit_text();
}

TEST_F(KeySendWin32Test, ArrowAndEditingNamesMoveTheCaretAndDelete) {
    ASSERT_TRUE(sender.SendKeys("abcdef", true));
    ASSERT_TRUE(edit_shows("abcdef"));
    EXPECT_EQ(window.caret(), 6);

    EXPECT_FALSE(sender.SendKeys("FK_LEFT", true));
    EXPECT_TRUE(TestWindow::pump_until([&] { return window.caret() == 5; }));
    EXPECT_FALSE(sender.SendKeys("fk_left", true));
    EXPECT_TRUE(TestWindow::pump_until([&] { return window.caret() == 4; }));
    EXPECT_FALSE(sender.SendKeys("FK_RIGHT", true));
    EXPECT_TRUE(TestWindow::pump_until([&] { return window.caret() == 5; }));

    EXPECT_FALSE(sender.SendKeys("FK_BACKSPACE", true));
    EXPECT_TRUE(edit_shows("abcdf"));
    EXPECT_FALSE(sender.SendKeys("FK_HOME", true));
    EXPECT_FALSE(sender.SendKeys("FK_DEL", true));
    EXPECT_TRUE(edit_shows("bcdf"));
    EXPECT_FALSE(sender.SendKeys("FK_END", true));
    EXPECT_TRUE(TestWindow::pump_until([&] { return window.caret() == 4; }));
}

TEST_F(KeySendWin32Test, HeldShiftCapitalisesTextUntilReleased) {
    EXPECT_FALSE(sender.SendKeys("FK_Shift", true));
    EXPECT_TRUE(sender.SendKeys("ab", true));
    EXPECT_FALSE(sender.SendKeys("FK_Shift", true));
    EXPECT_TRUE(sender.SendKeys("c", true));
    EXPECT_TRUE(edit_shows("ABc")) << "edit shows: " << window.edit_text();
}

TEST_F(KeySendWin32Test, NumLockFlipsTheThreadsToggle) {
    const bool before = ::GetKeyState(VK_NUMLOCK) & 1;
    EXPECT_FALSE(sender.SendKeys("FK_NUMLOCK", true));
    EXPECT_EQ(::GetKeyState(VK_NUMLOCK) & 1, before ? 0 : 1);
    EXPECT_FALSE(sender.SendKeys("FK_NUMLOCK", true));
    EXPECT_EQ(::GetKeyState(VK_NUMLOCK) & 1, before ? 1 : 0);
}

} // namespace
} // namespace qirelo::keys
