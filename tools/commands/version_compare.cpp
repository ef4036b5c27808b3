// qirelo-tool version-compare: which of two version numbers is newer.

#include <span>
#include <string>

#include "tools/command.h"
#include "upgrade/info/version_compare.h"

namespace qirelo::tools {
namespace {

constexpr std::string_view kHelp =
    "usage: qirelo-tool version-compare SERVER OWN\n"
    "\n"
    "Compares SERVER (the \"#version=\" of an info file) with OWN (the\n"
    "program's version) as the update check does and prints one line: 1 when\n"
    "SERVER is newer, 0 when they are equal, -1 when OWN is newer.\n"
    "\n"
    "Each version is cut into four parts at its dots (a missing part is 0, text\n"
    "after the fourth is ignored) and the parts compare as numbers: 2013.8.10\n"
    "is newer than 2013.8.9.0, and 2013.08.09 equals 2013.8.9. When a part is\n"
    "not a number (empty, not decimal, or -1) the two whole texts compare byte\n"
    "by byte instead: 2013.8.9.0b is newer than 2013.8.9.0.\n"
    "\n"
    "Exit status 0, or 2 for a usage error.\n";

int run(std::span<const std::string> args, std::ostream& out, std::ostream& err) {
    if (args.size() != 2) {
        err << "qirelo-tool version-compare: SERVER and OWN are required (qirelo-tool "
               "version-compare --help)\n";
        return kExitUsage;
    }
    out << upgrade::CompareVersions(args[0], args[1]) << '\n';
    return kExitOk;
}

const Registration registration{
    {"version-compare", "compare two version numbers as the update check does", kHelp, run}};

} // namespace
} // namespace qirelo::tools
