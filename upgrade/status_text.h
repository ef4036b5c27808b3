#pragma once

#include <cstdint>
#include <string_view>

namespace qirelo::upgrade {

// The text OnStatusText gives for a WinInet status code.
std::string_view StatusText(std::uint32_t code);

} // namespace qirelo::upgrade
