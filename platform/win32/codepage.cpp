// GB2312 through the system's code page 936, named explicitly so the text
// converts right whatever the machine's own code page is.

#include <windows.h>

#include "platform/profile/codepage.h"

namespace qirelo::platform {
namespace {
constexpr UINT kGb2312 = 936;
}

std::u16string utf16_from_gb(std::string_view gb) {
    if (gb.empty())
        return {};
    const int size = static_cast<int>(gb.size());
    const int length = MultiByteToWideChar(kGb2312, 0, gb.data(), size, nullptr, 0);
    std::u16string out(static_cast<std::size_t>(length), u'\0');
    MultiByteToWideChar(kGb2312, 0, gb.data(), size, reinterpret_cast<wchar_t*>(out.data()),
                        length);
    return out;
}

std::string gb_from_utf16(std::u16string_view utf16) {
    if (utf16.empty())
        return {};
    const auto* wide = reinterpret_cast<const wchar_t*>(utf16.data());
    const int size = static_cast<int>(utf16.size());
    const int length = WideCharToMultiByte(kGb2312, 0, wide, size, nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<std::size_t>(length), '\0');
    WideCharToMultiByte(kGb2312, 0, wide, size, out.data(), length, nullptr, nullptr);
    return out;
}

} // namespace qirelo::platform
