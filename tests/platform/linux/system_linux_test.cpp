// The mixer's range against the volume word's channels, and the power-off
// under the switch that every test run sets.

#include <gtest/gtest.h>

#include <cstdlib>

#include "platform/linux/system.h"

namespace qirelo::platform::native {
namespace {

TEST(MixerScaleTest, TheEndsOfBothRangesMeet) {
    EXPECT_EQ(MixerValueOfChannel(0, 0, 87), 0);
    EXPECT_EQ(MixerValueOfChannel(0xFFFF, 0, 87), 87);
    EXPECT_EQ(MixerValueOfChannel(0xFFFF, -10239, 400), 400);
    EXPECT_EQ(MixerValueOfChannel(0, -10239, 400), -10239);
    EXPECT_EQ(ChannelOfMixerValue(87, 0, 87), 0xFFFF);
    EXPECT_EQ(ChannelOfMixerValue(0, 0, 87), 0);
    EXPECT_EQ(ChannelOfMixerValue(-20000, -10239, 400), 0); // below the range
}

TEST(MixerScaleTest, AClientLevelSurvivesTheRoundTripThroughAFineMixer) {
    // The slider's level lives in the high byte of a channel; a mixer with a
    // range of 65536 steps gives it back whole.
    for (int level : {0, 1, 18, 128, 254, 255}) {
        const auto channel = static_cast<std::uint16_t>(level * 256);
        const long value = MixerValueOfChannel(channel, 0, 65536);
        EXPECT_EQ(ChannelOfMixerValue(value, 0, 65536) >> 8, level) << level;
    }
}

TEST(MixerScaleTest, AnEmptyRangeIsSilence) {
    EXPECT_EQ(MixerValueOfChannel(0x8000, 5, 5), 5);
    EXPECT_EQ(ChannelOfMixerValue(5, 5, 5), 0);
}

TEST(WaveVolumeTest, WithoutADeviceNothingIsReadAndSettingIsQuiet) {
    AlsaWaveVolume wave;
    if (wave.volume().has_value())
        GTEST_SKIP() << "this machine has a mixer";
    wave.set_volume(0xFF00FF00); // must neither fail nor print
    EXPECT_FALSE(wave.volume().has_value());
}

TEST(LogindPowerTest, UnderTheSwitchTheTokenOpensAndThePowerOffOnlyPrints) {
    ::setenv("QIRELO_FAKE_POWER", "1", 1);
    LogindPower power;
    auto token = power.open_process_token();
    ASSERT_NE(token, nullptr);
    EXPECT_TRUE(token->enable_shutdown_privilege());
    testing::internal::CaptureStdout();
    power.power_off();
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "power-off requested\n");
}

} // namespace
} // namespace qirelo::platform::native
