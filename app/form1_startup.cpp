// Start-up and main window: FormCreate, FormShow, FormClose, the program tab's
// show handler and the full-screen timer.

#include "app/form1.h"
#include "app/relay_http_client.h"
#include "app/version.h"
#include "platform/profile/codepage.h"
#include "platform/profile/fpu.h"
#include "platform/profile/ini_file.h"
#include "platform/profile/machine.h"

namespace qirelo::app {

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
    // The application-wide message hook AppMessage is installed here by the
    // browser shell.
    sb1.set_panel_text(0, platform::gb("版本") + kVersion);
    PasswordKey = services_.machine.computer_name();

    platform::IniFile users(services_.profile, UsersIniPath());
    edit_u.set_text(users.read_string("user", "name", ""));
    edit_p.set_text(users.read_string("user", "pass", ""));
    // A saved password is unscrambled here with PasswordKey once the saved
    // credentials land; until then the box shows the stored text.

    edit_u.set_focus();
}

void TForm1::FormShow(ui::Component&) {
    // Both browsers load the home page here once the browser shell lands.
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
