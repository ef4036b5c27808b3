// The system-control group on the headless main window with the recording
// volume and power: nothing here reaches the machine's own.

#include "app/system/system_control.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "../form1_fixture.h"
#include "platform/profile/codepage.h"

namespace qirelo::app::system {
namespace {

using namespace std::chrono_literals;
using platform::gb;
using ::testing::ElementsAre;
using ::testing::IsEmpty;

struct SystemControlTest : ::testing::Test, testing::Form1Harness {
    TForm1& f = create();

    std::vector<std::string> calls() { return platform.calls.lines(); }
    std::string countdown(int seconds) {
        return std::to_string(seconds) + gb("秒后关机(点击取消)");
    }
};

TEST(VolumeWordTest, LevelGoesToTheHighByteOfBothChannels) {
    EXPECT_EQ(VolumeWordForLevel(0), 0x00000000u);
    EXPECT_EQ(VolumeWordForLevel(18), 0x12001200u);
    EXPECT_EQ(VolumeWordForLevel(255), 0xFF00FF00u);
    EXPECT_EQ(LevelOfVolumeWord(0xFFFF1234), 0x12);
    EXPECT_EQ(LevelOfVolumeWord(0x0000FFFF), 0xFF);
    EXPECT_EQ(LevelOfVolumeWord(0xFF0000FF), 0x00);
}

TEST_F(SystemControlTest, MovingTheSliderSetsBothChannels) {
    f.TrackBar1.set_position(255);
    f.TrackBar1.set_position(0);
    f.TrackBar1.set_position(0); // no change, no call
    EXPECT_THAT(calls(),
                ElementsAre("waveOutSetVolume 0 0xFF00FF00", "waveOutSetVolume 0 0x00000000"));
}

TEST_F(SystemControlTest, ShowingTheProgramTabReadsTheLeftChannelAndWritesItBack) {
    platform.wave_volume.device = 0xFFFF1234;
    f.show_form();
    EXPECT_EQ(f.TrackBar1.position(), 0x12);
    EXPECT_THAT(calls(),
                ElementsAre("waveOutGetVolume 0 -> 0xFFFF1234", "waveOutSetVolume 0 0x12001200"));
}

TEST_F(SystemControlTest, AVolumeAtTheSlidersLevelIsLeftAsItIs) {
    f.TrackBar1.set_position(0x12);
    platform.calls.clear();
    platform.wave_volume.device = 0xFFFF12AB;
    f.show_form();
    EXPECT_EQ(f.TrackBar1.position(), 0x12);
    EXPECT_THAT(calls(), ElementsAre("waveOutGetVolume 0 -> 0xFFFF12AB"));
}

TEST_F(SystemControlTest, WithoutADeviceTheSliderKeepsItsLevel) {
    f.TrackBar1.set_position(77);
    platform.calls.clear();
    platform.wave_volume.device.reset();
    f.show_form();
    EXPECT_EQ(f.TrackBar1.position(), 77);
    EXPECT_THAT(calls(), ElementsAre("waveOutGetVolume 0 -> failed"));
}

TEST_F(SystemControlTest, MuteSilencesAndLocksTheSliderUnmuteReappliesIt) {
    f.TrackBar1.set_position(200);
    platform.calls.clear();
    f.cb1.click();
    EXPECT_TRUE(f.cb1.checked());
    EXPECT_FALSE(f.TrackBar1.enabled());
    EXPECT_EQ(f.TrackBar1.position(), 200); // the level is kept
    f.cb1.click();
    EXPECT_TRUE(f.TrackBar1.enabled());
    EXPECT_THAT(calls(),
                ElementsAre("waveOutSetVolume 0 0x00000000", "waveOutSetVolume 0 0xC800C800"));
}

TEST_F(SystemControlTest, WhileMutedTheVolumeStillFollowsTheSliderMovedByCode) {
    f.cb1.click();
    platform.calls.clear();
    f.TrackBar1.set_position(255);
    f.TrackBar1.set_position(40);
    EXPECT_TRUE(f.cb1.checked());
    EXPECT_THAT(calls(),
                ElementsAre("waveOutSetVolume 0 0xFF00FF00", "waveOutSetVolume 0 0x28002800"));
}

TEST_F(SystemControlTest, ClickStartsTheCountdownAndASecondClickCancelsIt) {
    EXPECT_EQ(f.BitBtn1.caption(), gb("立即关机(15秒后)"));
    f.BitBtn1.click();
    EXPECT_EQ(f.BitBtn1.caption(), countdown(14));
    EXPECT_EQ(f.pb1.position(), 1);
    EXPECT_TRUE(f.Timer2.enabled());

    clock().advance(1000ms);
    EXPECT_EQ(f.BitBtn1.caption(), countdown(13));
    f.BitBtn1.click();
    EXPECT_EQ(f.BitBtn1.caption(), gb("立即关机(15秒后)"));
    EXPECT_EQ(f.pb1.position(), 0);
    EXPECT_FALSE(f.Timer2.enabled());

    clock().advance(20s);
    EXPECT_EQ(f.BitBtn1.caption(), gb("立即关机(15秒后)"));
    EXPECT_EQ(platform.power.power_offs, 0);
}

TEST_F(SystemControlTest, LeftAloneTheFifteenthStepShowsZeroAndPowersOff) {
    f.show_form();
    f.pag1.set_active_page(&f.tb1);
    platform.calls.clear();
    f.BitBtn1.click();
    for (int left = 13; left >= 1; --left) {
        clock().advance(1000ms);
        ASSERT_EQ(f.BitBtn1.caption(), countdown(left));
    }
    clock().advance(999ms);
    EXPECT_EQ(platform.power.power_offs, 0);
    EXPECT_EQ(f.pag1.active_page(), &f.tb1);
    clock().advance(1ms);
    EXPECT_EQ(f.BitBtn1.caption(), countdown(0));
    EXPECT_EQ(f.pb1.position(), 15);
    EXPECT_FALSE(f.Timer2.enabled());
    EXPECT_EQ(f.pag1.active_page(), &f.tb3);
    EXPECT_EQ(platform.power.power_offs, 1);
    // Showing tb3 reads the volume again before the power-off.
    EXPECT_THAT(calls(), ElementsAre("OpenProcessToken 0x28 -> ok",
                                     "LookupPrivilegeValueA \"SeShutdownPrivilege\"",
                                     "AdjustTokenPrivileges enable", "GetLastError -> 0",
                                     "waveOutGetVolume 0 -> failed", "ExitWindowsEx 8 0"));

    // The countdown does not reset itself: it waits at 0 for a click.
    clock().advance(30s);
    EXPECT_EQ(platform.power.power_offs, 1);
    EXPECT_EQ(f.BitBtn1.caption(), countdown(0));
}

TEST_F(SystemControlTest, AClickAfterTheShutdownRequestCancelsAndTheNextStartsAgain) {
    f.BitBtn1.click();
    clock().advance(14s);
    ASSERT_EQ(platform.power.power_offs, 1);
    f.BitBtn1.click();
    EXPECT_EQ(f.BitBtn1.caption(), gb("立即关机(15秒后)"));
    EXPECT_EQ(f.pb1.position(), 0);
    f.BitBtn1.click();
    EXPECT_EQ(f.BitBtn1.caption(), countdown(14));
    EXPECT_EQ(f.pb1.position(), 1);
}

TEST_F(SystemControlTest, ShutdownStopsSilentlyWhenTheTokenDoesNotOpen) {
    platform.power.token_opens = false;
    f.pag1.set_active_page(&f.tb2);
    f.BitBtn1.click();
    clock().advance(14s);
    EXPECT_EQ(platform.power.power_offs, 0);
    EXPECT_EQ(f.pag1.active_page(), &f.tb2);
    EXPECT_EQ(f.BitBtn1.caption(), countdown(0));
    EXPECT_THAT(backend.boxes().shown, IsEmpty());
}

TEST_F(SystemControlTest, ShutdownStopsSilentlyWhenThePrivilegeIsNotEnabled) {
    platform.power.last_error_after_adjust = 1300; // not all assigned
    f.pag1.set_active_page(&f.tb2);
    f.act_gj.execute();
    EXPECT_EQ(platform.power.power_offs, 0);
    EXPECT_EQ(f.pag1.active_page(), &f.tb2);
    EXPECT_THAT(backend.boxes().shown, IsEmpty());
}

} // namespace
} // namespace qirelo::app::system
