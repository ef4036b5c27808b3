#pragma once

// Small byte-string helpers shared by the parsers. HTTP names and tokens are
// ASCII: case folding here never touches bytes >= 0x80.

#include <string>
#include <string_view>

namespace qirelo::http {

std::string_view trim(std::string_view text);
char ascii_lower(char c);
std::string ascii_lower(std::string_view text);
bool iequals(std::string_view a, std::string_view b);
bool istarts_with(std::string_view text, std::string_view prefix);
bool iends_with(std::string_view text, std::string_view suffix);

} // namespace qirelo::http
