#include "tools/escaped_text.h"

#include <cstdio>

namespace qirelo::tools {

std::string escaped_text(std::string_view text) {
    std::string result;
    for (const char c : text) {
        switch (c) {
        case '\r':
            result += "\\r";
            break;
        case '\n':
            result += "\\n";
            break;
        case '\t':
            result += "\\t";
            break;
        case '\\':
            result += "\\\\";
            break;
        default:
            if (static_cast<unsigned char>(c) < 0x20) {
                char escape[8];
                std::snprintf(escape, sizeof escape, "\\x%02X", static_cast<unsigned char>(c));
                result += escape;
            } else {
                result += c;
            }
        }
    }
    return result;
}

} // namespace qirelo::tools
