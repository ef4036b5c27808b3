// Start-up and main window: FormCreate, FormShow, FormClose, the program tab's
// show handler and the full-screen timer.

#include "app/browser/browser_shell.h"
#include "app/form1.h"
#include "app/login/login_panel.h"
#include "app/relay/relay_http_client.h"
#include "app/system/system_control.h"
#include "app/version.h"
#include "config/hosts.h"
#include "platform/fpu/fpu.h"
#include "platform/profile/codepage.h"
#include "upgrade/auto_updater.h"
#include "upgrade/restart_process.h"

namespace qirelo::app {

std::string TForm1::MobileSiteAddress() {
    return "http://" + config::mobile_host() + "/";
}

void TForm1::FormCreate(ui::Component&) {
    // The form's parts are loaded: updater1 learns whether this start follows
    // an upgrade (its restart parameters as the first argument).
    updater1->AfterFormLoaded(upgrade::ProgramArguments());
    SavedFpuControlWord = services_.fpu.control_word();
    services_.fpu.set_control_word(platform::kFpuControlWordExtended);
    pag1.set_active_page(&tb3);
    set_window_state(ui::WindowState::Maximized);
    PlayPageFlag = 0;
    LastCommandStamp = 0;
    MonitorHttp = relay::NewRelayHttpClient();
    TimerHttp = relay::NewRelayHttpClient();
    CurrentBrowser = &web1;
    browser_shell->InstallMessageHook();
    sb1.set_panel_text(0, platform::gb("版本") + kVersion);
    // A damaged saved password raises here: the steps after it are skipped
    // and the window still opens.
    login_panel->LoadSavedLogin();

    edit_u.set_focus();
}

void TForm1::FormShow(ui::Component&) {
    browser_shell->LoadHomePages();
    act_up.execute(); // the silent version check
}

void TForm1::FormClose(ui::Component&, ui::CloseAction&) {
    services_.fpu.set_control_word(SavedFpuControlWord);
}

void TForm1::tb3Show(ui::Component&) {
    edit_url.set_text("");
    system_control->ReadVolume();
}

void TForm1::Timer1Timer(ui::Component&) {
    Timer1.set_enabled(false);
    Action1.execute(); // double-click for full screen
}

} // namespace qirelo::app
