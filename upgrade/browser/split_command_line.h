#pragma once

// Cutting a registered shell command ("C:\...\browser.exe" -new "%1") into
// the program and its arguments.

#include <string>
#include <string_view>

namespace qirelo::upgrade {

struct CommandLineParts {
    std::string program;
    std::string arguments;
};

// A quoted program ends at its closing quote. An unquoted one ends at the
// first of " -", " /", " \", ",", " %" (tried in that order) unless cutting
// there would lose the program's file-name extension; a "rundll32.exe
// some.dll,Entry" command gives rundll32.exe as the program. Both parts are
// trimmed.
CommandLineParts SplitCommandLine(std::string_view command);

} // namespace qirelo::upgrade
