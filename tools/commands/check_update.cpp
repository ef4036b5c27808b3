// qirelo-tool check-update: one whole update check against a server, with
// the browser and the message boxes recorded instead of shown.

#include <iostream>
#include <map>
#include <memory>
#include <span>
#include <sstream>
#include <string>

#include "platform/inet/internet.h"
#include "platform/inet/local_system.h"
#include "platform/shell/os_shell.h"
#include "tools/command.h"
#include "tools/escaped_text.h"
#include "tools/url_arguments.h"
#include "ui/application.h"
#include "ui/headless/backend.h"
#include "upgrade/application_host.h"
#include "upgrade/auto_updater.h"
#include "upgrade/console_main_thread.h"
#include "upgrade/messages/messages.h"

namespace qirelo::tools {
namespace {

constexpr std::string_view kHelp =
    "usage: qirelo-tool check-update [--version OWN] [--show FLAGS] URL\n"
    "\n"
    "Runs one whole update check (CheckUpdate) against the info file at URL,\n"
    "with the program's own transfer engine (libcurl; WinInet on Windows),\n"
    "comparing by number with OWN (default 2013.8.9.0). The browser is looked\n"
    "up as the program does, but nothing is opened and no box is shown; each\n"
    "is printed instead, in the order they happen. The tool has none of the\n"
    "program's windows: the question before an upgrade (mAskUpgrade) is never\n"
    "answered Yes, a download method is an upgrade put off (OnLaterUpgrade,\n"
    "result=false) and nothing is ever downloaded or restarted.\n"
    "  event <name> <arguments...>   each event the component fires:\n"
    "      event OnBeginUpgrade <method 0|1|2> <files> <message>\n"
    "      event OnHostUnreachable <url> <host name>\n"
    "      event OnPasswordRequest <realm>\n"
    "      event OnLaterUpgrade | OnNoUpdateAvailable | OnNoInfoFile | OnConnLost\n"
    "  box <message number> <icon>   a message box (icon: error, question,\n"
    "                                warning, information or none); a\n"
    "                                question is answered Yes, any other OK\n"
    "  open <program> <url>          the browser opened; <program> is (shell)\n"
    "                                when the shell opens the address itself\n"
    "  result=true|false             what CheckUpdate returned\n"
    "Texts are printed on one line: CR, LF, tab and backslash as \\r, \\n, \\t\n"
    "and \\\\, other control bytes as \\xHH.\n"
    "\n"
    "  --version OWN   the program's own version number\n"
    "  --show FLAGS    the boxes the component may show, as comma-separated\n"
    "                  names: mAskUpgrade, mConnLost, mHostUnreachable,\n"
    "                  mLostFile, mNoInfoFile, mNoUpdateAvailable,\n"
    "                  mPasswordRequest; \"\" for none. Default: the client's,\n"
    "                  mConnLost,mLostFile,mPasswordRequest\n"
    "\n"
    "Exit status 0 when the check ran, 2 for a usage error.\n";

const std::map<std::string, upgrade::TupShowMessages, std::less<>> kShowFlags = {
    {"mAskUpgrade", upgrade::TupShowMessages::mAskUpgrade},
    {"mConnLost", upgrade::TupShowMessages::mConnLost},
    {"mHostUnreachable", upgrade::TupShowMessages::mHostUnreachable},
    {"mLostFile", upgrade::TupShowMessages::mLostFile},
    {"mNoInfoFile", upgrade::TupShowMessages::mNoInfoFile},
    {"mNoUpdateAvailable", upgrade::TupShowMessages::mNoUpdateAvailable},
    {"mPasswordRequest", upgrade::TupShowMessages::mPasswordRequest},
};

struct Options {
    std::string url;
    std::string version = "2013.8.9.0";
    upgrade::TupShowMessagesSet show{upgrade::TupShowMessages::mConnLost,
                                     upgrade::TupShowMessages::mLostFile,
                                     upgrade::TupShowMessages::mPasswordRequest};
};

int usage_error(std::ostream& err, std::string_view what) {
    err << "qirelo-tool check-update: " << what << " (qirelo-tool check-update --help)\n";
    return kExitUsage;
}

// nullopt for a name that is not a flag.
std::optional<upgrade::TupShowMessagesSet> parse_flags(std::string_view text) {
    upgrade::TupShowMessagesSet flags;
    std::istringstream names{std::string(text)};
    for (std::string name; std::getline(names, name, ',');) {
        const auto flag = kShowFlags.find(name);
        if (flag == kShowFlags.end()) {
            return std::nullopt;
        }
        flags.Include(flag->second);
    }
    return flags;
}

// True when `text` is `pattern` with each "%s" standing for any text.
bool matches(std::string_view pattern, std::string_view text) {
    const std::size_t wildcard = pattern.find("%s");
    if (wildcard == std::string_view::npos) {
        return pattern == text;
    }
    if (!text.starts_with(pattern.substr(0, wildcard))) {
        return false;
    }
    const std::string_view rest = pattern.substr(wildcard + 2);
    text.remove_prefix(wildcard);
    for (std::size_t skip = 0; skip <= text.size(); ++skip) {
        if (matches(rest, text.substr(skip))) {
            return true;
        }
    }
    return false;
}

// The number of the message a box shows; -1 when it is none of the table's.
int message_number(const std::string& text) {
    for (int n = 0; n <= 30; ++n) {
        if (matches(upgrade::Message(n), text)) {
            return n;
        }
    }
    return -1;
}

std::string icon_name(unsigned flags) {
    switch (flags & 0xF0) {
    case ui::kMbIconError:
        return "error";
    case ui::kMbIconQuestion:
        return "question";
    case ui::kMbIconWarning:
        return "warning";
    case ui::kMbIconInformation:
        return "information";
    default:
        return "none";
    }
}

// The machine's browser look-up; the opening itself only printed.
class RecordingOpener final : public platform::shell::Shell {
public:
    explicit RecordingOpener(std::ostream& out) : os_(platform::shell::MakeOsShell()), out_(out) {}

    std::string html_open_command() override { return os_->html_open_command(); }
    bool program_file_exists(const std::string& program) override {
        return os_->program_file_exists(program);
    }
    void shell_execute(const std::string& file, const std::string& parameters) override {
        if (parameters.empty()) {
            out_ << "open (shell) " << escaped_text(file) << "\n";
        } else {
            out_ << "open " << escaped_text(file) << " " << escaped_text(parameters) << "\n";
        }
    }

private:
    std::unique_ptr<platform::shell::Shell> os_;
    std::ostream& out_;
};

class AlwaysOnline final : public platform::shell::OnlineCheck {
public:
    bool is_online() override { return true; }
};

void print_events(upgrade::TupAutoUpdater& updater, std::ostream& out) {
    using namespace upgrade;
    auto simple = [&out](const char* name) {
        return [&out, name](TupAutoUpdater&) { out << "event " << name << "\n"; };
    };
    updater.OnBeginUpgrade = [&out](TupAutoUpdater&, const std::string& message,
                                    TupUpgradeMethod method, const std::vector<std::string>& files,
                                    bool&) {
        out << "event OnBeginUpgrade " << static_cast<int>(method) << " " << files.size() << " "
            << escaped_text(message) << "\n";
    };
    updater.OnLaterUpgrade = simple("OnLaterUpgrade");
    updater.OnNoUpdateAvailable = simple("OnNoUpdateAvailable");
    updater.OnNoInfoFile = simple("OnNoInfoFile");
    updater.OnConnLost = simple("OnConnLost");
    updater.OnHostUnreachable = [&out](TupAutoUpdater&, const std::string& url,
                                       const std::string& host) {
        out << "event OnHostUnreachable " << escaped_text(url) << " " << escaped_text(host) << "\n";
    };
    updater.OnPasswordRequest = [&out](TupAutoUpdater&, const std::string& realm, bool&) {
        out << "event OnPasswordRequest " << escaped_text(realm) << "\n";
    };
}

std::optional<Options> parse(std::span<const std::string> args, std::ostream& err) {
    Options options;
    const auto take = [&](std::string_view name, const std::string& value) -> std::string {
        if (name == "--version") {
            options.version = value;
        } else if (auto flags = parse_flags(value)) {
            options.show = *flags;
        } else {
            return "unknown flag in --show " + one_line(value);
        }
        return {};
    };
    const auto url = read_url_arguments(args, {"--version", "--show"}, take,
                                        [&](std::string_view what) { usage_error(err, what); });
    if (!url) {
        return std::nullopt;
    }
    options.url = *url;
    return options;
}

int run(std::span<const std::string> args, std::ostream& out, std::ostream& err) {
    const auto options = parse(args, err);
    if (!options) {
        return kExitUsage;
    }
    ui::headless::Backend backend;
    ui::Application application(backend);
    backend.boxes().while_shown = [&out, &backend](const auto& box) {
        out << "box " << message_number(box.text) << " " << icon_name(box.flags) << "\n";
        backend.boxes().answers.push_back((box.flags & 0x0F) == ui::kMbYesNo ? ui::kIdYes
                                                                             : ui::kIdOk);
    };
    upgrade::ConsoleMainThread mainThread;
    upgrade::ApplicationUpdaterHost host(application, mainThread);
    const auto internet = platform::inet::os_internet();
    const auto local = platform::inet::os_local_system();
    RecordingOpener opener(out);
    AlwaysOnline online;
    upgrade::TupAutoUpdater updater(
        {mainThread, *internet, *local, opener, online, host, std::string()});
    updater.InfoFileURL = options->url;
    updater.VersionControl = upgrade::TupVersionControl::byNumber;
    updater.VersionNumber = options->version;
    updater.ShowMessages = options->show;
    print_events(updater, out);

    const bool found = updater.CheckUpdate();
    out << "result=" << (found ? "true" : "false") << "\n";
    return kExitOk;
}

const Registration registration{
    {"check-update", "one whole update check against a server, boxes and browser printed", kHelp,
     run}};

} // namespace
} // namespace qirelo::tools
