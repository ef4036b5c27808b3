// "FK_ClearText" on the main window: the focused edit box, from the main
// thread and from a worker, as the relay loop would send it.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "../form1_fixture.h"

namespace qirelo::app {
namespace {

using namespace std::chrono_literals;

struct ClearTextTest : ::testing::Test, testing::Form1Harness {
    TForm1& f = create();
};

TEST_F(ClearTextTest, EmptiesTheFocusedEditAndNothingElse) {
    f.edit_u.set_text("member");
    f.edit_p.set_text("secret");
    ASSERT_EQ(f.active_control(), &f.edit_u);
    EXPECT_FALSE(f.key_sender.SendKeys("FK_ClearText", true));
    EXPECT_EQ(f.edit_u.text(), "");
    EXPECT_EQ(f.edit_p.text(), "secret");
    EXPECT_THAT(platform.calls.lines(), ::testing::IsEmpty()); // no key event
}

TEST_F(ClearTextTest, AFocusedControlThatIsNoEditIsLeftAlone) {
    f.edit_u.set_text("member");
    f.CheckBox1.set_focus();
    ASSERT_EQ(f.active_control(), &f.CheckBox1);
    f.key_sender.SendKeys("FK_CLEARTEXT", true);
    EXPECT_EQ(f.edit_u.text(), "member");
    EXPECT_TRUE(f.CheckBox1.checked());
}

TEST_F(ClearTextTest, TheAddressBarIsAnEditToo) {
    f.edit_url.set_text("http://example.invalid/");
    f.edit_url.set_focus();
    f.key_sender.SendKeys("fk_cleartext", false);
    EXPECT_EQ(f.edit_url.text(), "");
}

TEST_F(ClearTextTest, FromAWorkerTheEditIsClearedOnTheMainThread) {
    f.edit_u.set_text("member");
    std::thread::id cleared_on;
    f.edit_u.OnChange = [&](ui::Component&) { cleared_on = std::this_thread::get_id(); };
    std::thread worker([&] { f.key_sender.SendKeys("FK_ClearText", true); });
    while (!application.wait_synchronize(10ms)) {
    }
    worker.join();
    EXPECT_EQ(f.edit_u.text(), "");
    EXPECT_EQ(cleared_on, std::this_thread::get_id());
}

} // namespace
} // namespace qirelo::app
