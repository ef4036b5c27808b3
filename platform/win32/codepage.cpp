// GB2312 through the system's code page 936, named explicitly so the text
// converts right whatever the machine's own code page is.

#include <windows.h>

#include "platform/profile/codepage.h"

namespace qirelo::platform {
namespace {

constexpr UINT kGb2312 = 936;

// With MB_ERR_INVALID_CHARS in `flags`, bytes that are not text of the code
// page raise CodePageError; otherwise they become replacement characters.
std::u16string wide_from(std::string_view text, UINT code_page, DWORD flags) {
    if (text.empty())
        return {};
    const int size = static_cast<int>(text.size());
    const int length = MultiByteToWideChar(code_page, flags, text.data(), size, nullptr, 0);
    if (length <= 0) {
        if (flags & MB_ERR_INVALID_CHARS)
            throw CodePageError("text is not valid in code page " + std::to_string(code_page));
        return {};
    }
    std::u16string out(static_cast<std::size_t>(length), u'\0');
    MultiByteToWideChar(code_page, flags, text.data(), size, reinterpret_cast<wchar_t*>(out.data()),
                        length);
    return out;
}

// When `strict`, a character the code page cannot hold raises CodePageError;
// otherwise it becomes '?'.
std::string narrow_from(std::u16string_view utf16, UINT code_page, bool strict) {
    if (utf16.empty())
        return {};
    const auto* wide = reinterpret_cast<const wchar_t*>(utf16.data());
    const int size = static_cast<int>(utf16.size());
    BOOL lossy = FALSE;
    BOOL* lossy_flag = strict ? &lossy : nullptr;
    const int length =
        WideCharToMultiByte(code_page, 0, wide, size, nullptr, 0, nullptr, lossy_flag);
    if (strict && (length <= 0 || lossy))
        throw CodePageError("text has no form in code page " + std::to_string(code_page));
    std::string out(static_cast<std::size_t>(length), '\0');
    WideCharToMultiByte(code_page, 0, wide, size, out.data(), length, nullptr, nullptr);
    return out;
}

} // namespace

std::u16string utf16_from_gb(std::string_view gb) {
    return wide_from(gb, kGb2312, 0);
}

std::string gb_from_utf16(std::u16string_view utf16) {
    return narrow_from(utf16, kGb2312, false);
}

std::u16string strict_utf16_from_gb(std::string_view gb) {
    return wide_from(gb, kGb2312, MB_ERR_INVALID_CHARS);
}

std::string strict_gb_from_utf16(std::u16string_view utf16) {
    return narrow_from(utf16, kGb2312, true);
}

} // namespace qirelo::platform
