#pragma once

// Wave volume and power-off on Linux: the default ALSA mixer stands for the
// first wave-out device, and logind on the system bus powers the machine off.

#include <optional>
#include <string_view>

#include "platform/system/power.h"
#include "platform/system/wave_volume.h"

namespace qirelo::platform::native {

// A channel's 0..0xFFFF and the mixer's own range, both ways; each end of one
// range lands on the same end of the other. A value read back gives the
// highest channel that sets it, so a slider level taken from it (the high
// byte) sets the same value again whenever some level can: a mixer with no
// more steps than the slider has levels never drifts when its value is read
// and written back.
long MixerValueOfChannel(std::uint16_t channel, long min, long max);
std::uint16_t ChannelOfMixerValue(long value, long min, long max);

// A mixer element's range and the values of its two channels.
struct MixerRange {
    long min = 0;
    long max = 0;
    bool operator==(const MixerRange&) const = default;
};
struct MixerChannels {
    long left = 0;
    long right = 0;
    bool operator==(const MixerChannels&) const = default;
};

MixerChannels MixerChannelsOfWord(system::VolumeWord word, MixerRange range);
system::VolumeWord WordOfMixerChannels(MixerChannels channels, MixerRange range);

// A coarse mixer holds several volume words as one value, so the word read
// back from it is not always the word written: the last word set is given
// back for as long as the mixer still holds the values it took for it, and
// only a value changed since (by another program) is scaled.
class MixerReadBack {
public:
    // The mixer took `word` as `held` (what it reports right after the set).
    void written(system::VolumeWord word, MixerChannels held, MixerRange range);
    system::VolumeWord read(MixerChannels now, MixerRange range) const;

private:
    struct Written {
        system::VolumeWord word;
        MixerChannels held;
        MixerRange range;
    };
    std::optional<Written> last_;
};

// The default mixer's first element with a playback volume (Master, PCM...).
// Without a sound device there is no volume to read and setting it does
// nothing, without a word.
// Used on the main thread only, as the slider that drives it.
class AlsaWaveVolume final : public system::WaveVolume {
public:
    std::optional<system::VolumeWord> volume() override;
    void set_volume(system::VolumeWord word) override;

private:
    MixerReadBack read_back_;
};

// logind's answer to CanPowerOff grants the power-off only when it is "yes":
// "challenge" means polkit would ask for a password, which a power-off
// without interaction never gets, so it counts as not permitted.
bool PowerOffPermitted(std::string_view can_power_off);

// Power-off through org.freedesktop.login1: the "token" is the system bus,
// the "shutdown privilege" logind's answer to CanPowerOff (above), and the
// power-off PowerOff without interaction. With QIRELO_FAKE_POWER=1 the bus is never touched: the
// token opens, the privilege is granted and the power-off only prints "power-off requested".
class LogindPower final : public system::Power {
public:
    std::unique_ptr<system::ProcessToken> open_process_token() override;
    void power_off() override;
};

} // namespace qirelo::platform::native
