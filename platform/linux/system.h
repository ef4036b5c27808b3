#pragma once

// Wave volume and power-off on Linux: the default ALSA mixer stands for the
// first wave-out device, and logind on the system bus powers the machine off.

#include "platform/system/power.h"
#include "platform/system/wave_volume.h"

namespace qirelo::platform::native {

// A channel's 0..0xFFFF and the mixer's own range, both ways; each end of one
// range lands on the same end of the other.
long MixerValueOfChannel(std::uint16_t channel, long min, long max);
std::uint16_t ChannelOfMixerValue(long value, long min, long max);

// The default mixer's first element with a playback volume (Master, PCM...).
// Without a sound device there is no volume to read and setting it does
// nothing, without a word.
class AlsaWaveVolume final : public system::WaveVolume {
public:
    std::optional<system::VolumeWord> volume() override;
    void set_volume(system::VolumeWord word) override;
};

// Power-off through org.freedesktop.login1: the "token" is the system bus,
// the "shutdown privilege" logind's answer to CanPowerOff ("yes", or
// "challenge" when polkit would ask), and the power-off PowerOff without
// interaction. With QIRELO_FAKE_POWER=1 the bus is never touched: the token
// opens, the privilege is granted and the power-off only prints
// "power-off requested".
class LogindPower final : public system::Power {
public:
    std::unique_ptr<system::ProcessToken> open_process_token() override;
    void power_off() override;
};

} // namespace qirelo::platform::native
