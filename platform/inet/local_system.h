#pragma once

// What the transfer engine needs of the local machine besides the network:
// the millisecond tick its progress figures count from, the time-zone bias
// that turns a header's UTC date into local time, the attributes and times of
// the output file, and large pages for a large body kept in memory.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

namespace qirelo::platform::inet {

// SetFileAttributesA's values.
namespace attributes {
inline constexpr std::uint32_t kReadOnly = 0x01;
inline constexpr std::uint32_t kHidden = 0x02;
inline constexpr std::uint32_t kSystem = 0x04;
inline constexpr std::uint32_t kArchive = 0x20;
inline constexpr std::uint32_t kNormal = 0x80;
inline constexpr std::uint32_t kTemporary = 0x100;
inline constexpr std::uint32_t kOffline = 0x1000;
} // namespace attributes

// A date and time in the DOS form: date = (year - 1980) << 9 | month << 5 |
// day, time = hour << 11 | minute << 5 | seconds / 2.
struct DosDateTime {
    std::uint16_t date = 0;
    std::uint16_t time = 0;
};

class LocalSystem {
public:
    virtual ~LocalSystem() = default;

    // GetTickCount: milliseconds since some fixed point, wrapping at 2^32.
    virtual std::uint32_t TickCount() = 0;
    // Minutes to add to local time to get UTC, now (GetTimeZoneInformation's
    // bias plus the daylight or the standard bias, whichever is in force).
    virtual int TimeZoneBiasMinutes() = 0;
    // SetFileAttributesA; false when the file's attributes could not be set.
    virtual bool SetAttributes(const std::string& path, std::uint32_t attributes) = 0;
    // The attributes as they are now; nullopt-like 0xFFFFFFFF when unreadable.
    virtual std::uint32_t Attributes(const std::string& path) = 0;
    // Sets the file's creation and last-write times (where the system keeps
    // a creation time) to the DOS date and time given, taken as they stand,
    // without conversion from local time; the last-access time is left as
    // it is. False when the times could not be set.
    virtual bool SetFileTimes(const std::string& path, const DosDateTime& time) = 0;
    // A hint that the fresh memory at `start`, which a body is about to fill,
    // be backed by large pages where the system allows: touching tens of MiB
    // a small page at a time costs more than copying the body into them.
    // Changes nothing of the memory's content or lifetime.
    virtual void AdviseLargeBuffer(const void* start, std::size_t size) = 0;
};

std::unique_ptr<LocalSystem> os_local_system();

} // namespace qirelo::platform::inet
