// qirelo-tool split-command: the program of a registered shell command.

#include <span>
#include <string>

#include "tools/command.h"
#include "upgrade/browser/split_command_line.h"

namespace qirelo::tools {
namespace {

constexpr std::string_view kHelp =
    "usage: qirelo-tool split-command COMMAND\n"
    "\n"
    "Cuts COMMAND, a command as registered to open .html files, into program\n"
    "and arguments as the update check does before it starts the browser, and\n"
    "prints two lines:\n"
    "  program <text>\n"
    "  args <text>\n"
    "A quoted program ends at its closing quote; an unquoted one at the first\n"
    "of \" -\", \" /\", \" \\\", \",\", \" %\" that leaves its file-name extension\n"
    "whole; \"rundll32.exe url.dll,Entry %1\" gives rundll32.exe. Both are\n"
    "trimmed and written as they are.\n"
    "\n"
    "Exit status 0, or 2 for a usage error.\n";

int run(std::span<const std::string> args, std::ostream& out, std::ostream& err) {
    if (args.size() != 1) {
        err << "qirelo-tool split-command: one COMMAND is required (qirelo-tool split-command "
               "--help)\n";
        return kExitUsage;
    }
    const upgrade::CommandLineParts parts = upgrade::SplitCommandLine(args[0]);
    out << "program " << parts.program << '\n';
    out << "args " << parts.arguments << '\n';
    return kExitOk;
}

const Registration registration{
    {"split-command", "cut a registered shell command into program and arguments", kHelp, run}};

} // namespace
} // namespace qirelo::tools
