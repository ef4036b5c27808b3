#pragma once

// Recording wave volume and power: every call becomes one line of a CallLog:
//
//   waveOutGetVolume 0 -> 0xFFFF1234           waveOutGetVolume 0 -> failed
//   waveOutSetVolume 0 0xFF00FF00
//   OpenProcessToken 0x28 -> ok                OpenProcessToken 0x28 -> failed
//   LookupPrivilegeValueA "SeShutdownPrivilege"
//   AdjustTokenPrivileges enable               GetLastError -> 0
//   ExitWindowsEx 8 0
//
// Nothing here reaches the machine's real volume or power.

#include <cstdint>
#include <optional>

#include "platform/fake/call_log.h"
#include "platform/system/power.h"
#include "platform/system/wave_volume.h"

namespace qirelo::platform::fake {

class FakeWaveVolume final : public system::WaveVolume {
public:
    explicit FakeWaveVolume(CallLog& log) : log_(log) {}

    // The device's volume word; nullopt plays a machine without a device.
    std::optional<system::VolumeWord> device;

    std::optional<system::VolumeWord> volume() override;
    void set_volume(system::VolumeWord word) override;

private:
    CallLog& log_;
};

class FakePower final : public system::Power {
public:
    explicit FakePower(CallLog& log) : log_(log) {}

    bool token_opens = true;
    std::uint32_t last_error_after_adjust = 0; // 1300 is ERROR_NOT_ALL_ASSIGNED
    int power_offs = 0;

    std::unique_ptr<system::ProcessToken> open_process_token() override;
    void power_off() override;

private:
    CallLog& log_;
};

} // namespace qirelo::platform::fake
