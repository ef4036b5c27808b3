// qirelo-tool open-url: the download page handed to the user's browser.

#include <memory>
#include <span>
#include <string>

#include "platform/shell/os_shell.h"
#include "tools/command.h"
#include "upgrade/browser/open_url_in_browser.h"

namespace qirelo::tools {
namespace {

constexpr std::string_view kHelp =
    "usage: qirelo-tool open-url [--dry-run] URL\n"
    "\n"
    "Opens URL in the user's web browser as the update check opens the\n"
    "download page, and prints the shell call it makes:\n"
    "  ShellExecuteA open \"<file>\" \"<parameters>\"\n"
    "An address without \"://\" gets \"http://\" in front. The program registered\n"
    "for .html files (Windows: HKEY_CLASSES_ROOT) is the file, with the URL as\n"
    "its only parameter; without one, when it is rundll32, or when its file is\n"
    "not there, the URL itself is the file (Linux: always, through xdg-open).\n"
    "Blanks, quotes and control characters in the URL are percent-encoded.\n"
    "Only http and https addresses are opened: any other prints \"not opened\".\n"
    "\n"
    "  --dry-run  look the browser up but start nothing\n"
    "\n"
    "Exit status 0 when the URL was handed on (whether the browser then shows\n"
    "it is not known), 1 when it was not opened, 2 for a usage error.\n";

// The machine's shell, the call printed before it is made (or instead).
class PrintingShell final : public platform::shell::Shell {
public:
    PrintingShell(std::ostream& out, bool dry_run)
        : os_(platform::shell::MakeOsShell()), out_(out), dry_run_(dry_run) {}

    std::string html_open_command() override { return os_->html_open_command(); }
    bool program_file_exists(const std::string& program) override {
        return os_->program_file_exists(program);
    }
    void shell_execute(const std::string& file, const std::string& parameters) override {
        out_ << "ShellExecuteA open \"" << one_line(file) << "\" \"" << one_line(parameters)
             << "\"\n";
        out_.flush();
        if (!dry_run_) {
            os_->shell_execute(file, parameters);
        }
    }

private:
    std::unique_ptr<platform::shell::Shell> os_;
    std::ostream& out_;
    bool dry_run_;
};

int run(std::span<const std::string> args, std::ostream& out, std::ostream& err) {
    const bool dry_run = !args.empty() && args[0] == "--dry-run";
    const auto rest = args.subspan(dry_run ? 1 : 0);
    if (rest.size() != 1 || rest[0].starts_with("--")) {
        err << "qirelo-tool open-url: one URL is required (qirelo-tool open-url --help)\n";
        return kExitUsage;
    }
    PrintingShell shell(out, dry_run);
    if (!upgrade::OpenUrlInBrowser(rest[0], shell)) {
        out << "not opened\n";
        return kExitFailed;
    }
    return kExitOk;
}

const Registration registration{
    {"open-url", "open a page in the user's browser as the update check does", kHelp, run}};

} // namespace
} // namespace qirelo::tools
