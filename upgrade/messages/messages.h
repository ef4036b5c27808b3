#pragma once

// The update texts in the language in use, as the program's 8-bit text
// (GB2312, the text of every window and box). The language is chosen from
// the system's default language when first needed (wlAuto) or set directly.
//
// A language whose letters GB2312 lacks (most accented Latin letters, the
// Ukrainian ones) loses them to '?' in the 8-bit text; MessageText gives the
// whole text in UTF-16 for a peer that can show it.

#include <string>

#include "upgrade/messages/language.h"

namespace qirelo::upgrade {

// The row k of the table in use (1 to 28).
int MessageLanguage();

// Selects the row of `language`; wlAuto detects it again from the system.
void SetMessageLanguage(TWizardLanguage language);

// Message n (0 to 30) in the language in use. Raises MessageTableError for
// another n.
std::string Message(int n);
std::u16string MessageText(int n);

// A string resource of the table (40997 to 40999, or a message's number) as
// 8-bit text.
std::string StringResource(unsigned id);

} // namespace qirelo::upgrade
