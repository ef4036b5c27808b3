#include "upgrade/messages/format_message.h"

namespace qirelo::upgrade {

std::string FormatMessage(std::string_view pattern, std::initializer_list<std::string_view> texts) {
    std::string result;
    auto next = texts.begin();
    std::size_t from = 0;
    for (std::size_t at = pattern.find("%s"); at != std::string_view::npos && next != texts.end();
         at = pattern.find("%s", from)) {
        result.append(pattern.substr(from, at - from));
        result.append(*next++);
        from = at + 2;
    }
    result.append(pattern.substr(from));
    return result;
}

} // namespace qirelo::upgrade
