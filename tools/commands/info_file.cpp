// qirelo-tool info-file: what the update check reads from an info file.

#include <fstream>
#include <iterator>
#include <optional>
#include <span>
#include <string>

#include "app/version.h"
#include "tools/command.h"
#include "tools/escaped_text.h"
#include "upgrade/info/info_file.h"
#include "upgrade/info/newer_version.h"

namespace qirelo::tools {
namespace {

constexpr std::string_view kHelp =
    "usage: qirelo-tool info-file [--version OWN | --date MM/DD/YYYY] FILE\n"
    "\n"
    "Reads FILE as the update server's info file (qirelo_play.inf) and prints,\n"
    "in this order:\n"
    "  version <value>      the \"#version=\" value\n"
    "  date <value>         the \"#date=\" value\n"
    "  method <0|1|2>       \"#method=\": 1 external setup, 2 open the first URL in\n"
    "                       the browser, 0 (anything else) download and restart\n"
    "  message <value>      the \"#message={...}\" text\n"
    "  url <entry>          one line per file of the new version, in order:\n"
    "                       \"#url=\", \"#url0=\", then \"#url1=\", \"#url2=\", ...\n"
    "                       numbered on from the entries so far, up to the first\n"
    "                       missing one\n"
    "  newer true|false     whether the file's version is newer than OWN\n"
    "                       (default the client's own, 2013.8.9.0), compared\n"
    "                       by number; with --date, whether its \"#date=\" is later\n"
    "                       than the given date (a date that cannot be read counts\n"
    "                       as today)\n"
    "Keys match in any letter case. Values are printed as read, with \\r, \\n, \\t\n"
    "and \\\\ for CR, LF, tab and backslash and \\xHH for other bytes below 0x20.\n"
    "A check offers an upgrade only when newer is true and there is a url.\n"
    "\n"
    "Exit status 0, 1 when FILE cannot be read, 2 for a usage error.\n";

int usage_error(std::ostream& err, std::string_view what) {
    err << "qirelo-tool info-file: " << what << " (qirelo-tool info-file --help)\n";
    return kExitUsage;
}

std::optional<std::string> read_file(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        return std::nullopt;
    }
    try {
        std::string bytes{std::istreambuf_iterator<char>(in), {}};
        return in.bad() ? std::nullopt : std::optional(std::move(bytes));
    } catch (const std::ios_base::failure&) {
        return std::nullopt; // a folder, or a read error
    }
}

void print_info_file(const std::string& text, const upgrade::OwnVersion& own, std::ostream& out) {
    out << "version " << escaped_text(upgrade::ReadInfoValue(text, upgrade::kInfoVersion)) << '\n';
    out << "date " << escaped_text(upgrade::ReadInfoValue(text, upgrade::kInfoDate)) << '\n';
    out << "method " << static_cast<int>(upgrade::ReadUpgradeMethod(text)) << '\n';
    out << "message "
        << escaped_text(upgrade::ReadInfoValue(text, upgrade::kInfoMessage,
                                               upgrade::InfoValueForm::MultiLine))
        << '\n';
    for (const std::string& url : upgrade::ReadUpgradeFiles(text)) {
        out << "url " << escaped_text(url) << '\n';
    }
    const bool newer = upgrade::IsServerVersionNewer(text, own, upgrade::Today());
    out << "newer " << (newer ? "true" : "false") << '\n';
}

int run(std::span<const std::string> args, std::ostream& out, std::ostream& err) {
    upgrade::OwnVersion own{upgrade::TupVersionControl::byNumber, app::kVersion, {}};
    std::optional<std::string> own_given;
    std::optional<std::string> file;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (arg == "--version" || arg == "--date") {
            if (own_given) {
                return usage_error(err, "give either --version or --date, once");
            }
            if (i + 1 == args.size()) {
                return usage_error(err, arg + " needs a value");
            }
            own_given = args[++i];
            if (arg == "--version") {
                own.number = *own_given;
            } else {
                own.control = upgrade::TupVersionControl::byDate;
                own.date = *own_given;
            }
        } else if (arg.starts_with("--")) {
            return usage_error(err, "unknown option " + one_line(arg));
        } else if (file) {
            return usage_error(err, "one FILE only");
        } else {
            file = arg;
        }
    }
    if (!file) {
        return usage_error(err, "FILE is required");
    }
    const std::optional<std::string> text = read_file(*file);
    if (!text) {
        err << "qirelo-tool info-file: cannot read " << one_line(*file) << '\n';
        return kExitFailed;
    }
    print_info_file(*text, own, out);
    return kExitOk;
}

const Registration registration{
    {"info-file", "read an update info file as the update check does", kHelp, run}};

} // namespace
} // namespace qirelo::tools
