#pragma once

// The widgets' 8-bit GB2312 text to the W functions' UTF-16 and back, with
// code page 936 named explicitly: Chinese shows right whatever the machine's
// own code page is.

#include <string>

#include "platform/profile/codepage.h"

namespace qirelo::ui::win32 {

inline std::wstring wide(const std::string& gb) {
    const std::u16string text = platform::utf16_from_gb(gb);
    return std::wstring(text.begin(), text.end());
}

inline std::string narrow(const std::wstring& text) {
    return platform::gb_from_utf16(std::u16string(text.begin(), text.end()));
}

inline std::wstring wide16(const std::u16string& text) {
    return std::wstring(text.begin(), text.end());
}
inline std::u16string from_wide(const wchar_t* text) {
    return text ? std::u16string(text, text + std::char_traits<wchar_t>::length(text))
                : std::u16string();
}

} // namespace qirelo::ui::win32
