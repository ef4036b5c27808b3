#pragma once

#include <initializer_list>
#include <string>
#include <string_view>

namespace qirelo::upgrade {

// A message of the table with its "%s" arguments put in, in order; a "%s"
// beyond the arguments given is left as it stands, and so is every other "%".
std::string FormatMessage(std::string_view pattern, std::initializer_list<std::string_view> texts);

} // namespace qirelo::upgrade
