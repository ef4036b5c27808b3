#include "upgrade/messages/message_table.h"

#include <string>

#include "upgrade/messages/message_table_data.h"

namespace qirelo::upgrade {

std::string_view MessageTableText(int k, int n) {
    if (k < 1 || k > kLanguageCount || n < 0 || n >= kMessageCount) {
        throw MessageTableError("no message " + std::to_string(n) + " of language " +
                                std::to_string(k));
    }
    return generated::kMessageTexts[static_cast<std::size_t>(k - 1)][static_cast<std::size_t>(n)];
}

std::optional<std::string_view> StringTableText(unsigned id) {
    for (const generated::FixedText& fixed : generated::kFixedTexts) {
        if (fixed.id == id) {
            return fixed.text;
        }
    }
    if (id < MessageBase(1) || id >= MessageBase(kLanguageCount + 1)) {
        return std::nullopt;
    }
    const unsigned offset = id - MessageBase(1);
    const int k = static_cast<int>(offset / 50) + 1;
    const int n = static_cast<int>(offset % 50);
    if (n >= kMessageCount) {
        return std::nullopt;
    }
    return MessageTableText(k, n);
}

} // namespace qirelo::upgrade
