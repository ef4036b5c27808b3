// The local side of transfers on Windows: GetTickCount, the time-zone bias in
// force now, and the output file's attributes. Large pages need a privilege
// the client does not hold, so a large body in memory gets none.

#include "platform/inet/local_system.h"

#include <windows.h>

namespace qirelo::platform::inet {
namespace {

class Win32LocalSystem final : public LocalSystem {
public:
    std::uint32_t TickCount() override { return GetTickCount(); }

    int TimeZoneBiasMinutes() override {
        TIME_ZONE_INFORMATION zone{};
        const DWORD state = GetTimeZoneInformation(&zone);
        return static_cast<int>(
            zone.Bias + (state == TIME_ZONE_ID_DAYLIGHT ? zone.DaylightBias : zone.StandardBias));
    }

    bool SetAttributes(const std::string& path, std::uint32_t attributes) override {
        return SetFileAttributesA(path.c_str(), attributes) != FALSE;
    }

    std::uint32_t Attributes(const std::string& path) override {
        return GetFileAttributesA(path.c_str());
    }

    void AdviseLargeBuffer(const void*, std::size_t) override {}
};

} // namespace

std::unique_ptr<LocalSystem> os_local_system() {
    return std::make_unique<Win32LocalSystem>();
}

} // namespace qirelo::platform::inet
