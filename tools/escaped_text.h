#pragma once

#include <string>
#include <string_view>

namespace qirelo::tools {

// A value on one line of output: CR, LF, tab and backslash as \r, \n, \t and
// \\, every other byte below 0x20 as \xHH; all else (GB2312 too) as it is.
std::string escaped_text(std::string_view text);

} // namespace qirelo::tools
