// qirelo-tool header-date: how the transfer engine reads a header's date.

#include "upgrade/header_date.h"
#include "tools/command.h"

namespace qirelo::tools {
namespace {

constexpr std::string_view kHelp =
    "usage: qirelo-tool header-date TEXT\n"
    "\n"
    "Reads TEXT as the transfer engine reads a Date, Last-Modified or Expires\n"
    "header and prints the moment in UTC as one line \"YYYY-MM-DD HH:MM:SS\",\n"
    "or \"0\" when the text cannot be read. Understood: \"Sun, 06 Nov 1994\n"
    "08:49:37 GMT\", \"Sunday, 06-Nov-94 08:49:37 GMT\", \"Sun Nov  6 08:49:37\n"
    "1994\", without the weekday, two-digit years (below 80: 20xx), a +hhmm or\n"
    "-hhmm zone offset. Exit status 0, 2 for a usage error.\n";

int run(std::span<const std::string> args, std::ostream& out, std::ostream& err) {
    if (args.size() != 1) {
        err << "qirelo-tool header-date: give the date as one argument "
               "(qirelo-tool header-date --help)\n";
        return kExitUsage;
    }
    const upgrade::TDateTime value = upgrade::HeaderDateUtc(args[0]);
    out << (value == 0 ? std::string("0") : upgrade::DateTimeText(value)) << "\n";
    return kExitOk;
}

const Registration registration({"header-date", "read an HTTP header's date as the updater does",
                                 kHelp, run});

} // namespace
} // namespace qirelo::tools
