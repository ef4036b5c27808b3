#pragma once

// The program's string resources: LoadStringW from the executable's string
// table on Windows, the compiled-in table (upgrade/messages/message_table.h)
// on Linux. Raises MessageTableError when the program has no such string.

#include <string>

namespace qirelo::upgrade {

std::u16string LoadStringResource(unsigned id);

} // namespace qirelo::upgrade
