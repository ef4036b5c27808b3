#pragma once

#include <optional>
#include <string_view>

namespace qirelo::upgrade {

// The whole text read as a 32-bit decimal integer: an optional sign, then
// digits only ("08" is 8). Empty text, any other character, or a value out
// of range give nullopt.
std::optional<int> ReadDecimalInteger(std::string_view text);

} // namespace qirelo::upgrade
