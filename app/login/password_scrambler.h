#pragma once

#include <cstdint>
#include <string>
#include <string_view>

// The saved password in users.ini is scrambled with a key (the computer name)
// behind a random seed: hex text, two upper-case digits per byte, first the
// seed, then one byte per password byte. Password and key are 8-bit (GB2312)
// bytes. It only keeps the password from being read at a glance.
namespace qirelo::app::login {

// Used in place of an empty key; only its first character ever takes part.
inline constexpr std::string_view kDefaultPasswordKey = "Pale Harbor";

// Scrambles behind a seed drawn from a freshly clock-seeded generator.
std::string ScramblePassword(std::string_view password, std::string_view key);

// The same with a given seed: the rule itself, for tests and tools.
std::string ScramblePasswordWithSeed(std::string_view password, std::string_view key,
                                     std::uint8_t seed);

// Reverses ScramblePassword for every password of bytes 1..254 under the same
// key; another key gives other bytes without an error. Throws EConvertError
// when a pair it reads is not hexadecimal.
std::string UnscramblePassword(std::string_view text, std::string_view key);

} // namespace qirelo::app::login
