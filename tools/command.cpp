#include "tools/command.h"

#include <algorithm>
#include <exception>

namespace qirelo::tools {

namespace {

// Function-local, so registrations from other files' static objects are safe
// whatever order they run in.
std::vector<Command>& registry() {
    static std::vector<Command> commands;
    return commands;
}

void print_overview(std::ostream& out) {
    out << "usage: qirelo-tool COMMAND [ARGS...]\n"
           "       qirelo-tool COMMAND --help\n"
           "\n"
           "Command-line access to the Qirelo client's components.\n"
           "Results go to stdout, failures to stderr as one line each.\n"
           "Exit status: 0 success, 1 the operation failed, 2 usage error.\n"
           "\n"
           "commands:\n";
    for (const Command& command : commands()) {
        out << "  " << command.name
            << std::string(std::max<std::size_t>(2, 18 - command.name.size()), ' ')
            << command.summary << "\n";
    }
}

} // namespace

Registration::Registration(const Command& command) {
    registry().push_back(command);
}

std::vector<Command> commands() {
    std::vector<Command> sorted = registry();
    std::sort(sorted.begin(), sorted.end(),
              [](const Command& a, const Command& b) { return a.name < b.name; });
    return sorted;
}

int run_tool(std::span<const std::string> args, std::ostream& out, std::ostream& err) {
    if (args.empty()) {
        print_overview(err);
        return kExitUsage;
    }
    if (args[0] == "--help" || args[0] == "-h" || args[0] == "help") {
        if (args.size() > 1) {
            for (const Command& command : commands()) {
                if (command.name == args[1]) {
                    out << command.help;
                    return kExitOk;
                }
            }
        }
        print_overview(out);
        return kExitOk;
    }
    for (const Command& command : commands()) {
        if (command.name == args[0]) {
            const auto rest = args.subspan(1);
            if (std::find(rest.begin(), rest.end(), "--help") != rest.end()) {
                out << command.help;
                return kExitOk;
            }
            try {
                return command.run(rest, out, err);
            } catch (const std::exception& error) {
                err << "qirelo-tool " << command.name << ": " << one_line(error.what()) << "\n";
                return kExitFailed;
            }
        }
    }
    err << "qirelo-tool: unknown command '" << one_line(args[0])
        << "' (qirelo-tool --help lists them)\n";
    return kExitUsage;
}

std::string one_line(std::string_view text) {
    std::string result;
    for (const char c : text) {
        if (c == '\r') {
            result += "\\r";
        } else if (c == '\n') {
            result += "\\n";
        } else {
            result += c;
        }
    }
    return result;
}

} // namespace qirelo::tools
