#include "app/relay/fixed_point.h"

#include <algorithm>
#include <limits>
#include <string>

namespace qirelo::app::relay {
namespace {

constexpr int kPlaces = 4;
// Exponents beyond this make any mantissa a text can hold overflow or round
// to zero; capping keeps the arithmetic in range.
constexpr std::int64_t kExponentCap = 1'000'000'000'000;

bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}
bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

std::string_view TrimBlanks(std::string_view text) {
    while (!text.empty() && IsBlank(text.front())) {
        text.remove_prefix(1);
    }
    while (!text.empty() && IsBlank(text.back())) {
        text.remove_suffix(1);
    }
    return text;
}

// The number as sign × digits × 10^exponent, straight from the text.
struct Decimal {
    bool negative = false;
    std::string digits; // no leading zeros; empty for zero
    std::int64_t exponent = 0;
};

std::string_view TakeDigits(std::string_view& text) {
    std::size_t n = 0;
    while (n < text.size() && IsDigit(text[n])) {
        ++n;
    }
    const std::string_view digits = text.substr(0, n);
    text.remove_prefix(n);
    return digits;
}

bool TakeSign(std::string_view& text) {
    if (!text.empty() && (text.front() == '+' || text.front() == '-')) {
        const bool negative = text.front() == '-';
        text.remove_prefix(1);
        return negative;
    }
    return false;
}

std::optional<std::int64_t> TakeExponent(std::string_view& text) {
    if (text.empty() || (text.front() != 'E' && text.front() != 'e')) {
        return std::int64_t{0};
    }
    text.remove_prefix(1);
    const bool negative = TakeSign(text);
    const std::string_view digits = TakeDigits(text);
    if (digits.empty()) {
        return std::nullopt;
    }
    std::int64_t value = 0;
    for (char c : digits) {
        value = std::min(kExponentCap, value * 10 + (c - '0'));
    }
    return negative ? -value : value;
}

std::optional<Decimal> ReadDecimal(std::string_view text) {
    Decimal number;
    number.negative = TakeSign(text);
    const std::string_view whole = TakeDigits(text);
    std::string_view fraction;
    if (!text.empty() && text.front() == '.') {
        text.remove_prefix(1);
        fraction = TakeDigits(text);
    }
    if (whole.empty() && fraction.empty()) {
        return std::nullopt;
    }
    const std::optional<std::int64_t> exponent = TakeExponent(text);
    if (!exponent || !text.empty()) {
        return std::nullopt;
    }
    number.digits = std::string(whole) + std::string(fraction);
    number.digits.erase(0, number.digits.find_first_not_of('0'));
    number.exponent = *exponent - static_cast<std::int64_t>(fraction.size());
    return number;
}

// Rounds digits × 10^-dropped to an integer (as a digit string), nearest,
// ties to even.
std::string RoundOff(const std::string& digits, std::uint64_t dropped) {
    if (dropped > digits.size()) {
        return "0";
    }
    std::string kept = digits.substr(0, digits.size() - static_cast<std::size_t>(dropped));
    const std::string_view rest = std::string_view(digits).substr(kept.size());
    if (rest.empty()) {
        return kept;
    }
    const bool aboveHalf =
        rest[0] > '5' || (rest[0] == '5' && rest.find_first_not_of('0', 1) != std::string::npos);
    const bool half = rest[0] == '5' && !aboveHalf;
    const bool odd = !kept.empty() && (kept.back() - '0') % 2 == 1;
    if (kept.empty()) {
        kept = "0";
    }
    if (aboveHalf || (half && odd)) {
        int i = static_cast<int>(kept.size()) - 1;
        while (i >= 0 && kept[i] == '9') {
            kept[i--] = '0';
        }
        if (i < 0) {
            kept.insert(kept.begin(), '1');
        } else {
            ++kept[i];
        }
    }
    return kept;
}

std::optional<Fixed4> ToFixed4(const Decimal& number) {
    if (number.digits.empty()) {
        return Fixed4{0};
    }
    const std::int64_t shift = number.exponent + kPlaces;
    std::string integer =
        shift >= 0 ? number.digits : RoundOff(number.digits, static_cast<std::uint64_t>(-shift));
    // The magnitude may reach 2^63 only for a negative number.
    const std::uint64_t limit =
        static_cast<std::uint64_t>(std::numeric_limits<std::int64_t>::max()) +
        (number.negative ? 1 : 0);
    std::uint64_t magnitude = 0;
    const auto append = [&](int digit) {
        if (magnitude > (limit - digit) / 10) {
            return false;
        }
        magnitude = magnitude * 10 + digit;
        return true;
    };
    for (char c : integer) {
        if (!append(c - '0')) {
            return std::nullopt;
        }
    }
    for (std::int64_t zeros = shift; zeros > 0 && magnitude != 0; --zeros) {
        if (!append(0)) {
            return std::nullopt;
        }
    }
    if (number.negative) {
        return Fixed4{magnitude == 0 ? 0 : static_cast<std::int64_t>(0 - magnitude)};
    }
    return Fixed4{static_cast<std::int64_t>(magnitude)};
}

} // namespace

std::optional<Fixed4> ParseFixed4(std::string_view text) {
    const std::optional<Decimal> number = ReadDecimal(TrimBlanks(text));
    return number ? ToFixed4(*number) : std::nullopt;
}

} // namespace qirelo::app::relay
