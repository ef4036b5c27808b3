// Shows one of the auto-updater's windows as Qirelo.exe would, in Simplified
// Chinese, filled as in the middle of an upgrade, for the screenshots in
// docs/: show_upgrade_window password|question|wizard|completed [RECT_FILE]. The
// window's screen rectangle ("WxH+X+Y") goes to RECT_FILE once it shows;
// the program ends when the window is answered or closed.

#include <windows.h>

#include <commctrl.h>

#include <cstdio>
#include <string>

#include "platform/profile/codepage.h"
#include "ui/application.h"
#include "ui/win32/backend.h"
#include "ui/win32/peers.h"
#include "upgrade/dialogs/upgrade_windows.h"
#include "upgrade/messages/messages.h"

namespace {

using namespace qirelo;

void WriteRect(const ui::Form& form, const char* path) {
    if (!path)
        return;
    RECT r;
    GetWindowRect(ui::win32::window_of(form), &r);
    if (FILE* out = std::fopen(path, "w")) {
        std::fprintf(out, "%ldx%ld+%ld+%ld\n", r.right - r.left, r.bottom - r.top, r.left, r.top);
        std::fclose(out);
    }
}

} // namespace

int main(int argc, char** argv) {
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_WIN95_CLASSES | ICC_PROGRESS_CLASS};
    InitCommonControlsEx(&controls);
    const std::string which = argc > 1 ? argv[1] : "wizard";
    const char* rect_file = argc > 2 ? argv[2] : nullptr;

    ui::win32::Backend backend;
    ui::Application application(backend);
    application.set_title(platform::gb("Qirelo在线客户端"));
    upgrade::SetMessageLanguage(upgrade::TWizardLanguage::wlChineseSimplified);
    upgrade::UpgradeWindows windows(application);

    // Once the window shows, its place is written down.
    auto report = [&] {
        application.post([&] {
            if (auto* form = windows.PasswordForm())
                WriteRect(*form, rect_file);
            if (auto* form = windows.QuestionForm())
                WriteRect(*form, rect_file);
        });
    };
    if (which == "password") {
        std::string user = "member", password;
        report();
        windows.AskPassword("http://127.0.0.1/setup/Qirelo.exe", user, password);
    } else if (which == "question") {
        report();
        windows.AskUpgrade(platform::gb("版本 2013.9.1.0：更快的遥控"));
    } else {
        upgrade::WizardEvents events;
        events.Closed = [&] { application.terminate(); };
        upgrade::UpgradeWizard& wizard = windows.ShowWizard({}, events);
        wizard.ShowFile("http://127.0.0.1/setup/Qirelo.exe", 1, 2);
        wizard.ShowFileSize(1843200);
        wizard.ShowProgress(42, 21, 256.4, 754);
        if (which == "completed")
            wizard.Complete();
        WriteRect(*windows.WizardForm(), rect_file);
        application.run();
    }
    return 0;
}
