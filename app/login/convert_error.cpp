#include "app/login/convert_error.h"

#include <limits>

namespace qirelo::app::login {
namespace {

int hex_digit_value(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    return -1;
}

[[noreturn]] void throw_not_an_integer(std::string_view text) {
    throw EConvertError("'" + std::string(text) + "' is not a valid integer value");
}

} // namespace

int HexToInt(std::string_view digits) {
    const std::string text = "$" + std::string(digits);
    if (digits.empty())
        throw_not_an_integer(text);
    int value = 0;
    for (char c : digits) {
        const int digit = hex_digit_value(c);
        if (digit < 0 || value > (std::numeric_limits<int>::max() >> 4))
            throw_not_an_integer(text);
        value = value * 16 + digit;
    }
    return value;
}

} // namespace qirelo::app::login
