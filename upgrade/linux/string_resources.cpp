// String resources from the table compiled into the program.

#include <string>

#include "text/utf.h"
#include "upgrade/messages/message_table.h"
#include "upgrade/messages/string_resources.h"

namespace qirelo::upgrade {

std::u16string LoadStringResource(unsigned id) {
    const auto text = StringTableText(id);
    if (!text) {
        throw MessageTableError("the program has no string resource " + std::to_string(id));
    }
    return text::utf16_from_utf8(*text);
}

} // namespace qirelo::upgrade
