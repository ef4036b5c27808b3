#include "upgrade/updater/stored_updater.h"

#include <cstdio>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

// Generated at build time from qirelo-updater.
extern const unsigned char qirelo_updater_bytes[];
extern const std::size_t qirelo_updater_size;

namespace qirelo::upgrade::updater {

std::span<const std::byte> stored_updater() {
    if (qirelo_updater_size == 0)
        throw StoredUpdaterError("this program carries no updater");
    return {reinterpret_cast<const std::byte*>(qirelo_updater_bytes), qirelo_updater_size};
}

void write_stored_updater(const std::string& path) {
    const std::span<const std::byte> bytes = stored_updater();
    // A new file each time: an old updater still running keeps its own.
    unlink(path.c_str());
    const int file = open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0700);
    if (file < 0)
        throw StoredUpdaterError("cannot create the updater at " + path);
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t wrote = write(file, bytes.data() + done, bytes.size() - done);
        if (wrote <= 0)
            break;
        done += static_cast<std::size_t>(wrote);
    }
    const bool closed = close(file) == 0;
    if (done != bytes.size() || !closed) {
        unlink(path.c_str());
        throw StoredUpdaterError("cannot write the updater at " + path);
    }
}

} // namespace qirelo::upgrade::updater
