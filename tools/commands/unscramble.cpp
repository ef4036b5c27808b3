// qirelo-tool unscramble: reads back a saved password of users.ini.

#include <span>
#include <string>

#include "app/login/convert_error.h"
#include "app/login/password_scrambler.h"
#include "tools/command.h"

namespace qirelo::tools {
namespace {

constexpr std::string_view kHelp =
    "usage: qirelo-tool unscramble TEXT KEY\n"
    "\n"
    "Writes the password that TEXT (a user/pass value of users.ini) holds under\n"
    "KEY to stdout as raw bytes, with no line break added. KEY is taken as raw\n"
    "bytes, the computer name the password was saved under; an empty KEY (\"\")\n"
    "is the empty key. Another KEY gives other bytes, without an error.\n"
    "\n"
    "A TEXT whose digits are not hexadecimal prints one line on stderr:\n"
    "  EConvertError: '$ZZ' is not a valid integer value\n"
    "\n"
    "Exit status 0, 1 for a TEXT that is not hexadecimal, 2 for a usage error.\n";

int run(std::span<const std::string> args, std::ostream& out, std::ostream& err) {
    if (args.size() != 2) {
        err << "qirelo-tool unscramble: TEXT and KEY are required (qirelo-tool unscramble "
               "--help)\n";
        return kExitUsage;
    }
    try {
        out << app::login::UnscramblePassword(args[0], args[1]);
    } catch (const app::login::EConvertError& error) {
        err << "EConvertError: " << one_line(error.what()) << '\n';
        return kExitFailed;
    }
    return kExitOk;
}

const Registration registration{
    {"unscramble", "read back a password scrambled by users.ini", kHelp, run}};

} // namespace
} // namespace qirelo::tools
