// The local side of transfers on Windows: GetTickCount, the time-zone bias in
// force now, and the output file's attributes and times. Large pages need a
// privilege the client does not hold, so a large body in memory gets none.

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

    bool SetFileTimes(const std::string& path, const DosDateTime& time) override {
        FILETIME stamp{};
        if (!DosDateTimeToFileTime(time.date, time.time, &stamp)) {
            return false;
        }
        HANDLE file =
            CreateFileA(path.c_str(), FILE_WRITE_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE,
                        nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file == INVALID_HANDLE_VALUE) {
            return false;
        }
        const bool set = SetFileTime(file, &stamp, nullptr, &stamp) != FALSE;
        CloseHandle(file);
        return set;
    }

    void AdviseLargeBuffer(const void*, std::size_t) override {}
};

} // namespace

std::unique_ptr<LocalSystem> os_local_system() {
    return std::make_unique<Win32LocalSystem>();
}

} // namespace qirelo::platform::inet
