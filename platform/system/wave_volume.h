#pragma once

// The volume of the first wave-out device (device 0).

#include <cstdint>
#include <optional>

namespace qirelo::platform::system {

// A volume word: low 16 bits the left channel, high 16 bits the right, each
// from 0 (silent) to 0xFFFF (full).
using VolumeWord = std::uint32_t;

class WaveVolume {
public:
    virtual ~WaveVolume() = default;

    // waveOutGetVolume(0, ...): nullopt when there is no device to ask.
    virtual std::optional<VolumeWord> volume() = 0;

    // waveOutSetVolume(0, word); a missing device is not reported.
    virtual void set_volume(VolumeWord word) = 0;
};

} // namespace qirelo::platform::system
