#include "platform/profile/ini_text.h"

#include <vector>

#include "text/ascii.h"

namespace qirelo::platform {
namespace {

std::string trimmed(const std::string& line) {
    return std::string(text::trim(line));
}

std::vector<std::string> lines_of(const std::string& text) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find('\n', start);
        std::string line =
            text.substr(start, end == std::string::npos ? std::string::npos : end - start);
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        lines.push_back(std::move(line));
        if (end == std::string::npos)
            break;
        start = end + 1;
    }
    return lines;
}

// "[name]" -> name; nullopt for other lines.
std::optional<std::string> section_name(const std::string& line) {
    const std::string text = trimmed(line);
    if (text.empty() || text[0] != '[')
        return std::nullopt;
    const auto close = text.find(']');
    return trimmed(text.substr(1, close == std::string::npos ? std::string::npos : close - 1));
}

struct KeyLine {
    std::string key;
    std::string value;
};

std::optional<KeyLine> key_line(const std::string& line) {
    const auto equals = line.find('=');
    if (equals == std::string::npos)
        return std::nullopt;
    return KeyLine{trimmed(line.substr(0, equals)), trimmed(line.substr(equals + 1))};
}

struct Found {
    std::optional<std::size_t> section; // line of the section header
    std::size_t section_end = 0;        // one past its last non-empty line
    std::optional<std::size_t> key;     // line of the key
};

Found find(const std::vector<std::string>& lines, const std::string& section,
           const std::string& key) {
    Found found;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (auto name = section_name(lines[i])) {
            if (found.section)
                break; // the first matching section ends here
            if (text::iequals(*name, section)) {
                found.section = i;
                found.section_end = i + 1;
            }
            continue;
        }
        if (!found.section)
            continue;
        if (!trimmed(lines[i]).empty())
            found.section_end = i + 1;
        if (auto entry = key_line(lines[i]); entry && !found.key && text::iequals(entry->key, key))
            found.key = i;
    }
    return found;
}

} // namespace

std::optional<std::string> ini_read(const std::string& text, const std::string& section,
                                    const std::string& key) {
    const auto lines = lines_of(text);
    const Found found = find(lines, section, key);
    if (!found.key)
        return std::nullopt;
    std::string value = key_line(lines[*found.key])->value;
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
        value.back() == value.front())
        value = value.substr(1, value.size() - 2);
    return value;
}

std::string ini_write(const std::string& text, const std::string& section, const std::string& key,
                      const std::string& value) {
    auto lines = lines_of(text);
    const Found found = find(lines, section, key);
    const std::string entry = key + "=" + value;
    if (found.key) {
        lines[*found.key] = key_line(lines[*found.key])->key + "=" + value;
    } else if (found.section) {
        lines.insert(lines.begin() + static_cast<std::ptrdiff_t>(found.section_end), entry);
    } else {
        lines.push_back("[" + section + "]");
        lines.push_back(entry);
    }
    std::string out;
    for (const std::string& line : lines)
        out += line + "\r\n";
    return out;
}

std::string ini_result(const std::optional<std::string>& value, const std::string& default_value,
                       std::size_t buffer_size) {
    std::string result;
    if (value) {
        result = *value;
    } else {
        const auto end = default_value.find_last_not_of(text::kBlanks);
        result = default_value.substr(0, end == std::string::npos ? 0 : end + 1);
    }
    if (buffer_size == 0)
        return {};
    if (result.size() > buffer_size - 1)
        result.resize(buffer_size - 1);
    return result;
}

} // namespace qirelo::platform
