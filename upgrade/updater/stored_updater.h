#pragma once

// The updater program carried inside this program: on Windows the resource
// of type and name "UPDATER" (QireloUpdater.exe), on Linux the bytes of
// qirelo-updater built into the executable.

#include <cstddef>
#include <span>
#include <stdexcept>
#include <string>

namespace qirelo::upgrade::updater {

class StoredUpdaterError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The stored program's bytes; StoredUpdaterError when this program carries none.
std::span<const std::byte> stored_updater();

// Writes the stored program to `path` (created or overwritten; on Windows
// with the temporary attribute, on Linux executable by its owner).
// StoredUpdaterError when it cannot be written.
void write_stored_updater(const std::string& path);

} // namespace qirelo::upgrade::updater
