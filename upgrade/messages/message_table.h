#pragma once

// The texts of the update dialogs and message boxes: 31 messages in each of
// 28 languages, plus three texts that are the same in all. Windows keeps
// them as string resources of the program, message n of language k at
// 41000 + 50 x (k - 1) + n; the same table is compiled in for Linux. Both come
// from upgrade/messages/messages.txt.

#include <optional>
#include <stdexcept>
#include <string_view>

namespace qirelo::upgrade {

inline constexpr int kLanguageCount = 28;
inline constexpr int kMessageCount = 31;

// "<AppTitle>": the title shown instead of one that names the development tool.
inline constexpr unsigned kAppTitleResource = 40997;
// The development tool's name, looked for in the application's title.
inline constexpr unsigned kDevelopmentToolResource = 40998;
// The update component's own name, shown in the wizard.
inline constexpr unsigned kComponentNameResource = 40999;

// A message number or language outside the table, or a string resource the
// program does not have.
class MessageTableError : public std::out_of_range {
public:
    using std::out_of_range::out_of_range;
};

// The resource number of message 0 of language k (1 to 28).
constexpr unsigned MessageBase(int k) {
    return 41000 + 50 * static_cast<unsigned>(k - 1);
}

constexpr unsigned MessageResourceId(int k, int n) {
    return MessageBase(k) + static_cast<unsigned>(n);
}

// Message n of language k from the compiled-in table, UTF-8. Raises
// MessageTableError outside 1..28 and 0..30.
std::string_view MessageTableText(int k, int n);

// The compiled-in text of a resource number of the table (a message or one
// of 40997 to 40999), UTF-8; nullopt for any other number.
std::optional<std::string_view> StringTableText(unsigned id);

} // namespace qirelo::upgrade
