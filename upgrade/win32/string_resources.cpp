// String resources from the executable's own string table.

#include <windows.h>

#include <string>

#include "upgrade/messages/message_table.h"
#include "upgrade/messages/string_resources.h"

namespace qirelo::upgrade {

std::u16string LoadStringResource(unsigned id) {
    // With a zero buffer size LoadStringW hands out a pointer into the
    // resource itself, so no text is ever cut to a buffer's length.
    const wchar_t* text = nullptr;
    const int length =
        LoadStringW(GetModuleHandleW(nullptr), id, reinterpret_cast<LPWSTR>(&text), 0);
    if (length <= 0 || text == nullptr) {
        throw MessageTableError("the program has no string resource " + std::to_string(id));
    }
    return std::u16string(reinterpret_cast<const char16_t*>(text),
                          static_cast<std::size_t>(length));
}

} // namespace qirelo::upgrade
