#include "platform/profile/codepage.h"

#include "text/utf.h"

namespace qirelo::platform {

std::string gb_from_utf8(std::string_view utf8) {
    return gb_from_utf16(text::utf16_from_utf8(utf8));
}

std::string utf8_from_gb(std::string_view gb) {
    return text::utf8_from_utf16(utf16_from_gb(gb));
}

std::string strict_utf8_from_gb(std::string_view gb) {
    // UTF-16 from valid GB2312 always has a UTF-8 form.
    return text::utf8_from_utf16(strict_utf16_from_gb(gb));
}

std::string strict_gb_from_utf8(std::string_view utf8) {
    if (!text::is_utf8(utf8))
        throw CodePageError("text is not valid UTF-8");
    return strict_gb_from_utf16(text::utf16_from_utf8(utf8));
}

} // namespace qirelo::platform
