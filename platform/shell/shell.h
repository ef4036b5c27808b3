#pragma once

// Handing a page to the user's web browser: the program registered to open
// .html files, whether a program file is there, and the shell's "open".

#include <string>

namespace qirelo::platform::shell {

class Shell {
public:
    virtual ~Shell() = default;

    // The command registered to open .html files, as registered
    // ("\"C:\...\browser.exe\" -url \"%1\""); empty when there is none.
    // Registry errors are not reported: they mean "none".
    virtual std::string html_open_command() = 0;

    // True when `program` names a program file that is there: a path as it
    // stands, a bare name where the system looks for programs.
    virtual bool program_file_exists(const std::string& program) = 0;

    // The shell's "open" of `file` with `parameters` (none when empty), shown
    // normally, owned by the desktop. Returns at once; the result is not
    // examined.
    virtual void shell_execute(const std::string& file, const std::string& parameters) = 0;
};

} // namespace qirelo::platform::shell
