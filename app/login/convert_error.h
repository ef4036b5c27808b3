#pragma once

#include <stdexcept>
#include <string>
#include <string_view>

namespace qirelo::app::login {

// A text that should have been a number was not one.
class EConvertError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Reads `digits` as a hexadecimal number, as the text "$" + digits is read by
// the integer conversion: digits of either case, at least one of them.
// Throws EConvertError "'$digits' is not a valid integer value" otherwise.
int HexToInt(std::string_view digits);

} // namespace qirelo::app::login
