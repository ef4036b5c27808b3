#pragma once

// Writing FILE.sig: beside the target under a temporary name, then renamed
// over it, so a failure never leaves half a signature or loses the old one.

#include <cstdint>
#include <filesystem>
#include <vector>

namespace qirelo::tools {

// Raises SigningError when the file cannot be written.
void write_signature_file(const std::filesystem::path& path,
                          const std::vector<std::uint8_t>& signature);

} // namespace qirelo::tools
