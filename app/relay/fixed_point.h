#pragma once

#include <compare>
#include <cstdint>
#include <optional>
#include <string_view>

namespace qirelo::app::relay {

// A decimal with four places, held exactly as a 64-bit integer scaled by
// 10000, so stamps compare and subtract without any binary rounding.
struct Fixed4 {
    std::int64_t scaled = 0;
    auto operator<=>(const Fixed4&) const = default;
};

// Reads a decimal number: optional blanks, an optional sign, digits with an
// optional "." and fraction, an optional exponent ("E" or "e", an optional
// sign, digits), optional blanks. Blanks are spaces, tabs and line breaks, so
// a server's trailing CR LF is accepted. Digits past the fourth place round
// to the nearest ten-thousandth, a tie to the even one (as the FPU's
// round-to-nearest does). nullopt for any other text, or a value outside the
// 64-bit range.
std::optional<Fixed4> ParseFixed4(std::string_view text);

} // namespace qirelo::app::relay
