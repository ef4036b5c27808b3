#pragma once

// The arguments of the commands that act on one URL: "[--NAME VALUE]... URL".

#include <functional>
#include <initializer_list>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace qirelo::tools {

// Hands each option of `names` with its value to `take`, which answers an
// error text or "" when it took the value. The URL, or nullopt after one call
// of `usage_error` (an unknown option, a missing value, none or two URLs, or
// what `take` refused).
std::optional<std::string> read_url_arguments(
    std::span<const std::string> args, std::initializer_list<std::string_view> names,
    const std::function<std::string(std::string_view name, const std::string& value)>& take,
    const std::function<void(std::string_view what)>& usage_error);

} // namespace qirelo::tools
