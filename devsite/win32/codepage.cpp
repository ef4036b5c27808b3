#include "devsite/codepage.h"

#include <windows.h>

namespace qirelo::devsite {
namespace {

std::wstring to_wide(std::string_view text, UINT code_page, const char* name) {
    if (text.empty())
        return {};
    int size = MultiByteToWideChar(code_page, MB_ERR_INVALID_CHARS, text.data(),
                                   static_cast<int>(text.size()), nullptr, 0);
    if (size <= 0)
        throw CodePageError(std::string("text is not valid ") + name);
    std::wstring wide(static_cast<std::size_t>(size), L'\0');
    MultiByteToWideChar(code_page, MB_ERR_INVALID_CHARS, text.data(), static_cast<int>(text.size()),
                        wide.data(), size);
    return wide;
}

std::string from_wide(const std::wstring& wide, UINT code_page, const char* name) {
    if (wide.empty())
        return {};
    BOOL lossy = FALSE;
    // Code page 65001 refuses the "used default character" query.
    BOOL* lossy_flag = code_page == CP_UTF8 ? nullptr : &lossy;
    int size = WideCharToMultiByte(code_page, 0, wide.data(), static_cast<int>(wide.size()),
                                   nullptr, 0, nullptr, lossy_flag);
    if (size <= 0 || lossy)
        throw CodePageError(std::string("text has no form in ") + name);
    std::string text(static_cast<std::size_t>(size), '\0');
    WideCharToMultiByte(code_page, 0, wide.data(), static_cast<int>(wide.size()), text.data(), size,
                        nullptr, nullptr);
    return text;
}

} // namespace

std::string gb2312_to_utf8(std::string_view gb2312) {
    return from_wide(to_wide(gb2312, 936, "GB2312"), CP_UTF8, "UTF-8");
}

std::string utf8_to_gb2312(std::string_view utf8) {
    return from_wide(to_wide(utf8, CP_UTF8, "UTF-8"), 936, "GB2312");
}

} // namespace qirelo::devsite
