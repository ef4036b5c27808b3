#pragma once

// The Win32 wave-out volume (winmm) and power-off (advapi32, user32).

#include "platform/system/power.h"
#include "platform/system/wave_volume.h"

namespace qirelo::platform::win32 {

class Win32WaveVolume final : public system::WaveVolume {
public:
    std::optional<system::VolumeWord> volume() override;
    void set_volume(system::VolumeWord word) override;
};

class Win32Power final : public system::Power {
public:
    std::unique_ptr<system::ProcessToken> open_process_token() override;
    // With QIRELO_FAKE_POWER=1 prints "power-off requested" instead.
    void power_off() override;
};

} // namespace qirelo::platform::win32
