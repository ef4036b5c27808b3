// qirelo-tool scramble: the saved-password scrambling of users.ini.

#include <span>
#include <string>

#include "app/login/password_scrambler.h"
#include "tools/command.h"

namespace qirelo::tools {
namespace {

constexpr std::string_view kHelp =
    "usage: qirelo-tool scramble PASSWORD KEY\n"
    "\n"
    "Prints the scrambled form of PASSWORD under KEY, as the client keeps it in\n"
    "users.ini (user/pass), and a line break: upper-case hex, the random seed\n"
    "first, then two digits per byte. Both arguments are taken as raw bytes (the\n"
    "client's 8-bit GB2312 text). The client's KEY is the computer name; an\n"
    "empty KEY (\"\") is the empty key, which uses only the first character of\n"
    "the default key \"Pale Harbor\". The seed is new at every run.\n"
    "\n"
    "Exit status 0, or 2 for a usage error.\n";

int run(std::span<const std::string> args, std::ostream& out, std::ostream& err) {
    if (args.size() != 2) {
        err << "qirelo-tool scramble: PASSWORD and KEY are required (qirelo-tool scramble "
               "--help)\n";
        return kExitUsage;
    }
    out << app::login::ScramblePassword(args[0], args[1]) << '\n';
    return kExitOk;
}

const Registration registration{
    {"scramble", "scramble a password as users.ini keeps it", kHelp, run}};

} // namespace
} // namespace qirelo::tools
