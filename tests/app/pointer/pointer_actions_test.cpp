#include "app/pointer/pointer_actions.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "platform/fake/input.h"

namespace qirelo::app::pointer {
namespace {

using platform::fake::CallLog;
using platform::fake::FakePointer;
using ::testing::ElementsAre;

// web1, at a client origin on the screen the test chooses.
class Web1 : public ui::Control {
public:
    Web1() : ui::Control(nullptr, "web1") {}
    ui::Point screen_origin() const override { return origin; }
    ui::Point origin;
};

class PointerActionsTest : public ::testing::Test {
protected:
    CallLog log;
    FakePointer pointer{log, {800, 600}};
    ui::Form form1{"Form1"};
    Web1 web1;
    PointerActions actions{form1, web1, pointer};

    void SetUp() override { web1.origin = {4, 70}; }
};

TEST_F(PointerActionsTest, DoubleClickLandsAtTheMiddleLessWeb1sOriginThenMovesOn) {
    actions.Action1Execute();
    EXPECT_THAT(log.effects(),
                ElementsAre("SetCursorPos 396 230", "mouse_event flags=2", "mouse_event flags=4",
                            "mouse_event flags=2", "mouse_event flags=4", "SetCursorPos 802 490"));
}

TEST_F(PointerActionsTest, MiddleClickLeavesThePointerAtTheTarget) {
    actions.Action3Execute();
    EXPECT_THAT(log.effects(),
                ElementsAre("SetCursorPos 396 230", "mouse_event flags=2", "mouse_event flags=4"));
    EXPECT_EQ(pointer.where(), (platform::input::Point{396, 230}));
}

TEST_F(PointerActionsTest, BottomClickIsFivePixelsAboveTheScreensEdge) {
    actions.Action2Execute();
    EXPECT_THAT(log.effects(),
                ElementsAre("SetCursorPos 396 525", "mouse_event flags=2", "mouse_event flags=4"));
}

TEST_F(PointerActionsTest, AtOriginZeroTheTargetsAreTheScreenPointsThemselves) {
    web1.origin = {0, 0};
    pointer.set_screen({1024, 768});
    actions.Action3Execute();
    actions.Action2Execute();
    EXPECT_THAT(log.effects(),
                ElementsAre("SetCursorPos 512 384", "mouse_event flags=2", "mouse_event flags=4",
                            "SetCursorPos 512 763", "mouse_event flags=2", "mouse_event flags=4"));
}

TEST_F(PointerActionsTest, OddDimensionsTakeTheLowerWholeHalf) {
    EXPECT_EQ(HalfOf(800), 400);
    EXPECT_EQ(HalfOf(1023), 511);
    EXPECT_EQ(HalfOf(1), 0);
    web1.origin = {0, 0};
    pointer.set_screen({1023, 767});
    actions.Action1Execute();
    EXPECT_EQ(log.effects().front(), "SetCursorPos 511 383");
    EXPECT_EQ(log.effects().back(), "SetCursorPos 1032 796");
}

TEST_F(PointerActionsTest, ScreenAndOriginAreReadAfreshOnEveryRun) {
    actions.Action3Execute();
    web1.origin = {0, 22};
    pointer.set_screen({1280, 1024});
    actions.Action3Execute();
    EXPECT_EQ(log.effects()[3], "SetCursorPos 640 490");
}

TEST_F(PointerActionsTest, DoubleClickMaximisesTheWindowBeforeThePointerMoves) {
    ASSERT_NE(form1.window_state(), ui::WindowState::Maximized);
    std::vector<ui::WindowState> states_at_pointer_calls;
    log.on_call = [&](const CallLog::Call&) {
        states_at_pointer_calls.push_back(form1.window_state());
    };
    actions.Action1Execute();
    ASSERT_FALSE(states_at_pointer_calls.empty());
    EXPECT_EQ(states_at_pointer_calls.front(), ui::WindowState::Maximized);

    // Already maximised: it stays so, and the double-click runs all the same.
    log.clear();
    actions.Action1Execute();
    EXPECT_EQ(form1.window_state(), ui::WindowState::Maximized);
    EXPECT_EQ(log.effects().size(), 6u);
}

TEST_F(PointerActionsTest, SingleClicksLeaveTheWindowStateAlone) {
    actions.Action2Execute();
    actions.Action3Execute();
    EXPECT_EQ(form1.window_state(), ui::WindowState::Normal);
}

} // namespace
} // namespace qirelo::app::pointer
