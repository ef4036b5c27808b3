#include "upgrade/browser/open_url_in_browser.h"

#include <cstdio>

#include "text/ascii.h"

#include "upgrade/browser/split_command_line.h"

namespace qirelo::upgrade {

namespace {

std::string_view FileName(std::string_view path) {
    const std::size_t delimiter = path.find_last_of("\\/:");
    return delimiter == std::string_view::npos ? path : path.substr(delimiter + 1);
}

// rundll32 opens a URL only as "url.dll,FileProtocolHandler URL"; given the
// URL alone it does nothing.
bool IsRundll(std::string_view program) {
    const std::string_view name = FileName(program);
    return text::iequals(name, "rundll32") || text::iequals(name, "rundll32.exe");
}

// The program registered for .html files, when it can open a URL given as
// its only argument; empty otherwise.
std::string UsableHtmlOpener(platform::shell::Shell& shell) {
    const std::string program = SplitCommandLine(shell.html_open_command()).program;
    if (program.empty() || IsRundll(program) || !shell.program_file_exists(program)) {
        return {};
    }
    return program;
}

} // namespace

std::string WithDefaultScheme(std::string_view url) {
    if (url.find("://") != std::string_view::npos) {
        return std::string(url);
    }
    return "http://" + std::string(url);
}

bool IsWebAddress(std::string_view url) {
    return text::istarts_with(url, "http://") || text::istarts_with(url, "https://");
}

std::string AsSingleArgument(std::string_view url) {
    std::string encoded;
    for (const char c : url) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte <= ' ' || byte == '"' || byte == 0x7F) {
            char escape[4];
            std::snprintf(escape, sizeof escape, "%%%02X", byte);
            encoded += escape;
        } else {
            encoded += c;
        }
    }
    return encoded;
}

bool OpenUrlInBrowser(std::string_view url, platform::shell::Shell& shell) {
    // Blanks around the address are no part of it.
    const std::string page = WithDefaultScheme(text::trim(url, text::kWhitespace));
    if (!IsWebAddress(page)) {
        return false;
    }
    const std::string opener = UsableHtmlOpener(shell);
    if (opener.empty()) {
        shell.shell_execute(AsSingleArgument(page), "");
    } else {
        shell.shell_execute(opener, AsSingleArgument(page));
    }
    return true;
}

} // namespace qirelo::upgrade
