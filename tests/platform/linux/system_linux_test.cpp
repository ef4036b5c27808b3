// The mixer's range against the volume word's channels, and the power-off
// under the switch that every test run sets.

#include <gtest/gtest.h>

#include <algorithm>
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

// The ranges that mixers come with: a few steps, a byte, finer than the word,
// and decibel ranges below zero.
const MixerRange kRanges[] = {{0, 31},  {0, 63},    {0, 87},    {0, 100},     {0, 255},
                              {0, 256}, {0, 65536}, {-6400, 0}, {-10239, 400}};

system::VolumeWord WordOfLevel(int level) { // as the slider sets it
    const auto channel = static_cast<system::VolumeWord>(level) << 8;
    return channel | channel << 16;
}
int LevelOfWord(system::VolumeWord word) { // as the slider reads it
    return static_cast<int>((word & 0xFFFF) >> 8);
}

bool SomeLevelSets(long value, MixerRange range) {
    for (int level = 0; level <= 255; ++level)
        if (MixerChannelsOfWord(WordOfLevel(level), range).left == value)
            return true;
    return false;
}

// One mixer driven as the program tab does: every show reads the volume into
// the slider, and a slider that changed writes its level back.
class Mixer {
public:
    explicit Mixer(MixerRange range) : range_(range) {}
    void set_by_slider(int level) {
        const system::VolumeWord word = WordOfLevel(level);
        held_ = MixerChannelsOfWord(word, range_);
        read_back_.written(word, held_, range_);
    }
    void set_by_another_program(long value) { held_ = {value, value}; }
    int read_by_slider() const { return LevelOfWord(read_back_.read(held_, range_)); }
    // tb3Show: the slider takes what is read; a change is written back.
    int show_program_tab(int slider) {
        const int read = read_by_slider();
        if (read != slider)
            set_by_slider(read);
        return read;
    }
    long value() const { return held_.left; }

private:
    MixerRange range_;
    MixerChannels held_;
    MixerReadBack read_back_;
};

TEST(MixerScaleTest, EveryLevelSetIsReadBackExactlyOnEveryRange) {
    for (const MixerRange range : kRanges)
        for (int level = 0; level <= 255; ++level) {
            Mixer mixer(range);
            mixer.set_by_slider(level);
            int slider = level;
            for (int show = 0; show < 5; ++show)
                slider = mixer.show_program_tab(slider);
            EXPECT_EQ(slider, level) << range.min << ".." << range.max;
        }
}

TEST(MixerScaleTest, AValueSetByAnotherProgramSettlesAtOnce) {
    // Read and written back, a value never drifts further, and a value that
    // some slider level sets (every one, on a mixer with fewer steps than the
    // slider has levels) does not move at all.
    for (const MixerRange range : kRanges) {
        const long width = range.max - range.min;
        const long step = std::max(1L, width / 300);
        for (long value = range.min; value <= range.max; value += step) {
            Mixer mixer(range);
            mixer.set_by_another_program(value);
            const int first = mixer.show_program_tab(-1);
            const long settled = mixer.value();
            if (SomeLevelSets(value, range)) {
                EXPECT_EQ(settled, value) << range.min << ".." << range.max;
            }
            EXPECT_EQ(mixer.show_program_tab(first), first);
            EXPECT_EQ(mixer.value(), settled) << range.min << ".." << range.max << " " << value;
        }
    }
}

TEST(MixerScaleTest, WithoutMemoryTheScaleAloneKeepsACoarseMixersValue) {
    // A fresh run reads a mixer set by an earlier one: level 200 on 0..255
    // must not come back as 199.
    const MixerRange byte{0, 255};
    const MixerChannels held = MixerChannelsOfWord(WordOfLevel(200), byte);
    const int level = LevelOfWord(WordOfMixerChannels(held, byte));
    EXPECT_EQ(MixerChannelsOfWord(WordOfLevel(level), byte), held);
}

TEST(MixerScaleTest, TheRememberedWordGoesWhenTheMixerWasChangedOrIsAnother) {
    const MixerRange range{0, 31};
    MixerReadBack read_back;
    const MixerChannels held = MixerChannelsOfWord(WordOfLevel(200), range);
    read_back.written(WordOfLevel(200), held, range);
    EXPECT_EQ(read_back.read(held, range), WordOfLevel(200));
    const MixerChannels changed{held.left - 1, held.right};
    EXPECT_EQ(read_back.read(changed, range), WordOfMixerChannels(changed, range));
    EXPECT_EQ(read_back.read(held, MixerRange{0, 63}),
              WordOfMixerChannels(held, MixerRange{0, 63}));
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

TEST(LogindPowerTest, OnlyAYesPermitsThePowerOff) {
    EXPECT_TRUE(PowerOffPermitted("yes"));
    // polkit would ask for a password: the countdown must not end in a
    // power-off that cannot happen
    EXPECT_FALSE(PowerOffPermitted("challenge"));
    EXPECT_FALSE(PowerOffPermitted("no"));
    EXPECT_FALSE(PowerOffPermitted("na"));
    EXPECT_FALSE(PowerOffPermitted(""));
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
