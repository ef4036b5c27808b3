#pragma once

// Byte-string rules for names and tokens that are ASCII (HTTP names, INI
// sections and keys, key names): case folding never touches bytes >= 0x80,
// so GB2312 and UTF-8 text passes through unchanged.

#include <string>
#include <string_view>

namespace qirelo::text {

// What trim() takes off by default: blanks and tabs.
inline constexpr std::string_view kBlanks = " \t";
// Blanks, tabs and line ends.
inline constexpr std::string_view kWhitespace = " \t\r\n";

std::string_view trim(std::string_view text, std::string_view blanks = kBlanks);

char ascii_lower(char c);
std::string ascii_lower(std::string_view text);
bool iequals(std::string_view a, std::string_view b);
bool istarts_with(std::string_view text, std::string_view prefix);
bool iends_with(std::string_view text, std::string_view suffix);

// The value of a hexadecimal digit (either case), or -1.
int hex_digit(char c);

} // namespace qirelo::text
