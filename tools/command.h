#pragma once

// The subcommands of qirelo-tool. A subcommand is one file in commands/ that
// defines its Command and registers it with a file-scope Registration; add the
// file to QIRELO_TOOL_COMMANDS in tools/CMakeLists.txt and it appears in the
// tool and in its --help.
//
// Conventions every subcommand keeps: results on stdout, one line per failure
// on stderr; exit status 0 on success, 1 when the operation failed, 2 for a
// usage error.

#include <ostream>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace qirelo::tools {

inline constexpr int kExitOk = 0;
inline constexpr int kExitFailed = 1;
inline constexpr int kExitUsage = 2;

struct Command {
    std::string_view name;
    std::string_view summary; // one line in the tool's overview
    std::string_view help;    // the full text of "qirelo-tool NAME --help"
    int (*run)(std::span<const std::string> args, std::ostream& out, std::ostream& err);
};

class Registration {
public:
    explicit Registration(const Command& command);
};

// Every registered command, sorted by name.
std::vector<Command> commands();

// Runs the tool with its arguments (without the program name).
int run_tool(std::span<const std::string> args, std::ostream& out, std::ostream& err);

// "\r" and "\n" for CR and LF, so a message stays on one line.
std::string one_line(std::string_view text);

} // namespace qirelo::tools
