#pragma once

// The client's 8-bit text is code page 936 (GB2312); the companion's pages are
// UTF-8. Forms posted by the client and the info file it reads cross here.

#include <stdexcept>
#include <string>
#include <string_view>

namespace qirelo::devsite {

class CodePageError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Raise CodePageError for bytes that are not text of the source encoding.
std::string gb2312_to_utf8(std::string_view gb2312);
std::string utf8_to_gb2312(std::string_view utf8);

} // namespace qirelo::devsite
