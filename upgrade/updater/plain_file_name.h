#pragma once

#include <string_view>

namespace qirelo::upgrade::updater {

// A name that can only mean a file directly inside a folder, on Windows as on
// Linux: not empty; no "\", "/", ":" or control character; no leading or
// trailing blank or dot; not a device name (CON, NUL, COM1 ..., with or
// without an extension).
bool is_plain_file_name(std::string_view name);

} // namespace qirelo::upgrade::updater
