// The pointer actions as the main window runs them: the actions of its list,
// and Timer1's full-screen double-click.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "../form1_fixture.h"

namespace qirelo::app {
namespace {

using namespace std::chrono_literals;

struct Form1PointerTest : ::testing::Test, testing::Form1Harness {
    TForm1& f = create();

    // Where a target of the screen lands: less web1's client origin.
    std::string cursor_at(int x, int y) {
        const ui::Point origin = f.web1.screen_origin();
        return "SetCursorPos " + std::to_string(x - origin.x) + " " + std::to_string(y - origin.y);
    }
};

TEST_F(Form1PointerTest, TheActionListRunsTheThreeActions) {
    f.set_window_state(ui::WindowState::Normal);
    f.Action3.execute();
    f.Action2.execute();
    EXPECT_EQ(f.window_state(), ui::WindowState::Normal);
    f.Action1.execute();
    EXPECT_EQ(f.window_state(), ui::WindowState::Maximized);
    const auto effects = platform.calls.effects();
    ASSERT_EQ(effects.size(), 12u);
    EXPECT_EQ(effects[0], cursor_at(400, 300));
    EXPECT_EQ(effects[3], cursor_at(400, 595));
    EXPECT_EQ(effects[6], cursor_at(400, 300));
}

TEST_F(Form1PointerTest, TwelveSecondsAfterArmingTimer1DoubleClicksOnce) {
    f.Timer1.set_enabled(true);
    clock().advance(11999ms);
    EXPECT_THAT(platform.calls.effects(), ::testing::IsEmpty());
    clock().advance(1ms);
    EXPECT_EQ(platform.calls.effects().size(), 6u);
    EXPECT_FALSE(f.Timer1.enabled());
    clock().advance(60s);
    EXPECT_EQ(platform.calls.effects().size(), 6u);
}

} // namespace
} // namespace qirelo::app
