// Start-up and main window: FormCreate, FormShow, FormClose, the program tab's
// show handler and the full-screen timer.

#include "app/form1.h"
#include "app/login/computer_name_key.h"
#include "app/login/password_scrambler.h"
#include "app/login/users_ini.h"
#include "app/relay_http_client.h"
#include "app/version.h"
#include "config/hosts.h"
#include "platform/profile/codepage.h"
#include "platform/profile/fpu.h"
#include "platform/profile/ini_file.h"
#include "platform/profile/machine.h"

namespace qirelo::app {

std::string TForm1::MobileSiteAddress() {
    return "http://" + config::mobile_host() + "/";
}

std::string TForm1::UsersIniPath() {
    return services_.machine.executable_directory() + "users.ini";
}

void TForm1::FormCreate(ui::Component&) {
    SavedFpuControlWord = services_.fpu.control_word();
    services_.fpu.set_control_word(platform::kFpuControlWordExtended);
    pag1.set_active_page(&tb3);
    set_window_state(ui::WindowState::Maximized);
    PlayPageFlag = 0;
    LastCommandStamp = 0;
    MonitorHttp = NewRelayHttpClient();
    TimerHttp = NewRelayHttpClient();
    CurrentBrowser = &web1;
    browser_shell.InstallMessageHook();
    sb1.set_panel_text(0, platform::gb("版本") + kVersion);
    PasswordKey = login::GetComputerNameKey(services_.machine);

    platform::IniFile users(services_.profile, UsersIniPath());
    const login::SavedLogin saved = login::ReadSavedLogin(users);
    edit_u.set_text(saved.name);
    edit_p.set_text(saved.pass);
    // A damaged saved password raises here: the steps after it are skipped
    // and the window still opens.
    if (!edit_p.text().empty())
        edit_p.set_text(login::UnscramblePassword(edit_p.text(), PasswordKey));

    edit_u.set_focus();
}

void TForm1::FormShow(ui::Component&) {
    browser_shell.LoadHomePages();
    act_up.execute(); // the silent version check
}

void TForm1::FormClose(ui::Component&, ui::CloseAction&) {
    services_.fpu.set_control_word(SavedFpuControlWord);
}

void TForm1::tb3Show(ui::Component&) {
    edit_url.set_text("");
    system_control.ReadVolume();
}

void TForm1::Timer1Timer(ui::Component&) {
    Timer1.set_enabled(false);
    Action1.execute(); // double-click for full screen
}

} // namespace qirelo::app
