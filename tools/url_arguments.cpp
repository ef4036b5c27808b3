#include "tools/url_arguments.h"

#include <algorithm>

#include "tools/command.h"

namespace qirelo::tools {

std::optional<std::string> read_url_arguments(
    std::span<const std::string> args, std::initializer_list<std::string_view> names,
    const std::function<std::string(std::string_view name, const std::string& value)>& take,
    const std::function<void(std::string_view what)>& usage_error) {
    std::string url;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (std::find(names.begin(), names.end(), arg) != names.end()) {
            if (i + 1 == args.size()) {
                usage_error(arg + " needs a value");
                return std::nullopt;
            }
            if (const std::string refused = take(arg, args[++i]); !refused.empty()) {
                usage_error(refused);
                return std::nullopt;
            }
        } else if (arg.starts_with("--")) {
            usage_error("unknown option " + one_line(arg));
            return std::nullopt;
        } else if (url.empty()) {
            url = arg;
        } else {
            usage_error("one URL only");
            return std::nullopt;
        }
    }
    if (url.empty()) {
        usage_error("no URL given");
        return std::nullopt;
    }
    return url;
}

} // namespace qirelo::tools
