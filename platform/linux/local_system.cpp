// The local side of transfers on Linux: a monotonic millisecond tick, the
// zone offset of the C library's local time, of the file attributes only
// read-only, as the file's write permission (the others have no meaning
// here), and transparent huge pages for a large body in memory. A file has
// no creation time to set: its modification time takes the time.

#include "platform/inet/local_system.h"

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>

#include <chrono>
#include <ctime>

namespace qirelo::platform::inet {
namespace {

class LinuxLocalSystem final : public LocalSystem {
public:
    std::uint32_t TickCount() override {
        const auto now = std::chrono::steady_clock::now().time_since_epoch();
        return static_cast<std::uint32_t>(
            std::chrono::duration_cast<std::chrono::milliseconds>(now).count());
    }

    int TimeZoneBiasMinutes() override {
        const std::time_t now = std::time(nullptr);
        std::tm local{};
        localtime_r(&now, &local);
        return static_cast<int>(-local.tm_gmtoff / 60);
    }

    bool SetAttributes(const std::string& path, std::uint32_t attributes) override {
        struct stat status {};
        if (::stat(path.c_str(), &status) != 0) {
            return false;
        }
        const mode_t writable = S_IWUSR | S_IWGRP | S_IWOTH;
        mode_t mode = status.st_mode & 07777;
        if (attributes & attributes::kReadOnly) {
            mode &= ~writable;
        } else {
            mode |= S_IWUSR;
        }
        return ::chmod(path.c_str(), mode) == 0;
    }

    std::uint32_t Attributes(const std::string& path) override {
        struct stat status {};
        if (::stat(path.c_str(), &status) != 0) {
            return 0xFFFFFFFF;
        }
        return (status.st_mode & S_IWUSR) ? attributes::kArchive
                                          : attributes::kArchive | attributes::kReadOnly;
    }

    // The DOS fields are stored as they stand, as if they were UTC.
    bool SetFileTimes(const std::string& path, const DosDateTime& time) override {
        std::tm fields{};
        fields.tm_year = (time.date >> 9) + 80;
        fields.tm_mon = ((time.date >> 5) & 0x0F) - 1;
        fields.tm_mday = time.date & 0x1F;
        fields.tm_hour = time.time >> 11;
        fields.tm_min = (time.time >> 5) & 0x3F;
        fields.tm_sec = (time.time & 0x1F) * 2;
        const std::time_t stamp = timegm(&fields);
        if (stamp == static_cast<std::time_t>(-1)) {
            return false;
        }
        const struct timespec times[2] = {{0, UTIME_OMIT}, {stamp, 0}};
        return ::utimensat(AT_FDCWD, path.c_str(), times, 0) == 0;
    }

    // Only the whole huge pages inside the buffer: the memory around it may
    // belong to others. Where the kernel has huge pages turned off the call
    // fails, and the buffer stays as it was.
    void AdviseLargeBuffer(const void* start, std::size_t size) override {
        constexpr std::uintptr_t kHugePage = 2u << 20;
        const auto address = reinterpret_cast<std::uintptr_t>(start);
        const std::uintptr_t first = (address + kHugePage - 1) & ~(kHugePage - 1);
        const std::uintptr_t end = (address + size) & ~(kHugePage - 1);
        if (end > first) {
            ::madvise(reinterpret_cast<void*>(first), end - first, MADV_HUGEPAGE);
        }
    }
};

} // namespace

std::unique_ptr<LocalSystem> os_local_system() {
    return std::make_unique<LinuxLocalSystem>();
}

} // namespace qirelo::platform::inet
