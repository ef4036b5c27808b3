#include "upgrade/browser/split_command_line.h"

#include <array>

#include "text/ascii.h"

namespace qirelo::upgrade {

namespace {

std::string Trim(std::string_view text) {
    return std::string(text::trim(text, text::kWhitespace));
}

// Where the file name begins: after the last backslash or colon.
std::size_t FileNameStart(std::string_view path) {
    const std::size_t delimiter = path.find_last_of("\\:");
    return delimiter == std::string_view::npos ? 0 : delimiter + 1;
}

// From the last "." of the file name on; empty when it has none.
std::string_view FileExtension(std::string_view path) {
    const std::size_t dot = path.rfind('.');
    if (dot == std::string_view::npos || dot < FileNameStart(path)) {
        return {};
    }
    return path.substr(dot);
}

void EraseFirst(std::string& text, char c) {
    const std::size_t at = text.find(c);
    if (at != std::string::npos) {
        text.erase(at, 1);
    }
}

// "C:\Windows\rundll32.exe url.dll,FileProtocolHandler %1": the program part
// found so far is "C:\Windows\rundll32.exe url.dll", which names the DLL; the
// program to run is the first word of the command's file name.
void UseRundllAsProgram(std::string_view command, CommandLineParts& parts) {
    const std::string_view folder = command.substr(0, FileNameStart(command));
    const std::string_view file_name = command.substr(FileNameStart(command));
    const std::size_t blank = file_name.find(' ');
    parts.program = std::string(folder) + std::string(file_name.substr(0, blank));
    parts.arguments =
        blank == std::string_view::npos ? std::string() : std::string(file_name.substr(blank));
}

CommandLineParts SplitQuoted(const std::string& unquoted, std::size_t first_quote,
                             std::size_t second_quote) {
    CommandLineParts parts;
    if (first_quote == 0) {
        parts.program = unquoted.substr(0, second_quote);
        // The character after the closing quote (a blank) is skipped.
        std::string rest =
            second_quote + 1 < unquoted.size() ? Trim(unquoted.substr(second_quote + 1)) : "";
        EraseFirst(rest, '"');
        EraseFirst(rest, '"');
        parts.arguments = rest;
    } else {
        parts.arguments = unquoted.substr(first_quote);
        // The character before the opening quote (a blank) is dropped.
        parts.program = unquoted.substr(0, first_quote - 1);
    }
    return parts;
}

CommandLineParts SplitUnquoted(const std::string& command) {
    CommandLineParts parts{command, {}};
    constexpr std::array<std::string_view, 5> kSeparators = {" -", " /", " \\", ",", " %"};
    for (const std::string_view separator : kSeparators) {
        if (!parts.arguments.empty()) {
            break;
        }
        const std::size_t at = parts.program.find(separator);
        if (at == std::string::npos) {
            continue;
        }
        const std::string program = parts.program.substr(0, at);
        const bool drops_separator = separator == ",";
        if (!FileExtension(parts.program).empty() && FileExtension(program).empty()) {
            continue; // the cut fell inside the program's path
        }
        parts.arguments = parts.program.substr(drops_separator ? at + 1 : at);
        parts.program = program;
    }
    if (text::iequals(FileExtension(parts.program), ".dll") &&
        text::ascii_lower(parts.program).find("rundll") != std::string::npos) {
        UseRundllAsProgram(command, parts);
    }
    return parts;
}

} // namespace

CommandLineParts SplitCommandLine(std::string_view command) {
    std::string text = Trim(command);
    CommandLineParts parts;
    if (text.empty()) {
        return parts;
    }
    const std::size_t first_quote = text.find('"');
    if (first_quote != std::string::npos) {
        text.erase(first_quote, 1);
    }
    const std::size_t second_quote =
        first_quote == std::string::npos ? std::string::npos : text.find('"', first_quote);
    if (second_quote != std::string::npos) {
        text.erase(second_quote, 1);
        parts = SplitQuoted(text, first_quote, second_quote);
    } else {
        parts = SplitUnquoted(text);
    }
    return {Trim(parts.program), Trim(parts.arguments)};
}

} // namespace qirelo::upgrade
