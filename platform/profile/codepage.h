#pragma once

// Text conversions at the boundaries. The client's 8-bit text is GB2312
// (code page 936, which Windows fills out to GBK); the browser control and
// the Win32 W functions take UTF-16; source files and Qt take UTF-8. A
// character that the target cannot hold becomes '?'; an 8-bit byte sequence
// that is not GB2312 becomes '?' per byte. The strict conversions raise
// CodePageError instead, for text that comes from outside (posted forms).

#include <stdexcept>
#include <string>
#include <string_view>

namespace qirelo::platform {

class CodePageError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The system's own conversions (each platform's codepage.cpp).
std::u16string utf16_from_gb(std::string_view gb);
std::string gb_from_utf16(std::u16string_view utf16);
std::u16string strict_utf16_from_gb(std::string_view gb);
std::string strict_gb_from_utf16(std::u16string_view utf16);

// Through UTF-16, with text/utf.h for the UTF-8 side (codepage.cpp).
std::string gb_from_utf8(std::string_view utf8);
std::string utf8_from_gb(std::string_view gb);

// Raise CodePageError for bytes that are not text of the source encoding, and
// for characters GB2312 cannot hold.
std::string strict_utf8_from_gb(std::string_view gb);
std::string strict_gb_from_utf8(std::string_view utf8);

// A text written in a (UTF-8) source file, as the client's 8-bit text:
// gb("登录").
inline std::string gb(std::string_view utf8) {
    return gb_from_utf8(utf8);
}

} // namespace qirelo::platform
