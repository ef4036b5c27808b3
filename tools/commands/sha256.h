#pragma once

// SHA-256 of a byte string as lower-case hexadecimal, for the tool's output
// lines (a digest says "these exact bytes" in one short field).

#include <string>
#include <string_view>

namespace qirelo::tools {

std::string sha256_hex(std::string_view bytes);

} // namespace qirelo::tools
