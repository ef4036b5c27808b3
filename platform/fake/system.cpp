#include "platform/fake/system.h"

#include <string>

namespace qirelo::platform::fake {

std::optional<system::VolumeWord> FakeWaveVolume::volume() {
    log_.record(std::string("waveOutGetVolume 0 -> ") + (device ? hex(*device, 8) : "failed"),
                true);
    return device;
}

void FakeWaveVolume::set_volume(system::VolumeWord word) {
    log_.record("waveOutSetVolume 0 " + hex(word, 8));
    if (device) {
        device = word;
    }
}

namespace {

class FakeProcessToken final : public system::ProcessToken {
public:
    FakeProcessToken(CallLog& log, std::uint32_t last_error) : log_(log), last_error_(last_error) {}

    bool enable_shutdown_privilege() override {
        log_.record("LookupPrivilegeValueA \"SeShutdownPrivilege\"", true);
        log_.record("AdjustTokenPrivileges enable");
        log_.record("GetLastError -> " + std::to_string(last_error_), true);
        return last_error_ == 0;
    }

private:
    CallLog& log_;
    std::uint32_t last_error_;
};

} // namespace

std::unique_ptr<system::ProcessToken> FakePower::open_process_token() {
    log_.record(std::string("OpenProcessToken 0x28 -> ") + (token_opens ? "ok" : "failed"), true);
    if (!token_opens) {
        return nullptr;
    }
    return std::make_unique<FakeProcessToken>(log_, last_error_after_adjust);
}

void FakePower::power_off() {
    ++power_offs;
    log_.record("ExitWindowsEx 8 0");
}

} // namespace qirelo::platform::fake
