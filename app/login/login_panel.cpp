#include "app/login/login_panel.h"

#include "app/login/computer_name_key.h"
#include "app/login/login_page.h"
#include "app/login/member_id.h"
#include "app/login/password_scrambler.h"
#include "app/login/site_page.h"
#include "app/login/users_ini.h"
#include "config/hosts.h"
#include "platform/profile/codepage.h"
#include "platform/profile/ini_file.h"

namespace qirelo::app::login {
namespace {

constexpr char kTab = 9;
constexpr char kEnter = 13;
constexpr std::size_t kShortestLoginText = 4; // bytes, so a Chinese character counts two

std::string site_address(const std::string& path) {
    return "http://" + config::site_host() + path;
}

} // namespace

LoginPanel::LoginPanel(LoginControls controls, LoginState state, platform::PrivateProfile& profile,
                       platform::Machine& machine)
    : controls_(controls), state_(state), profile_(profile), machine_(machine) {}

void LoginPanel::LoadSavedLogin() {
    LoginControls& c = controls_;
    state_.PasswordKey = GetComputerNameKey(machine_);
    platform::IniFile users(profile_, UsersIniPath());
    const SavedLogin saved = ReadSavedLogin(users);
    c.edit_u.set_text(saved.name);
    c.edit_p.set_text(saved.pass);
    if (!c.edit_p.text().empty())
        c.edit_p.set_text(UnscramblePassword(c.edit_p.text(), state_.PasswordKey));
}

void LoginPanel::edit_uChange(ui::Component&) {
    LoginControls& c = controls_;
    c.BitBtn2.set_enabled(c.edit_u.text().size() >= kShortestLoginText &&
                          c.edit_p.text().size() >= kShortestLoginText);
}

void LoginPanel::edit_uKeyPress(ui::Component&, char& Key) {
    LoginControls& c = controls_;
    if (Key == kTab)
        c.Form1.set_active_control(&c.edit_p);
    if (Key == kEnter && c.BitBtn2.enabled())
        c.BitBtn2.click();
}

// Enter logs in even while the button is disabled: the box is the last step
// of typing the credentials.
void LoginPanel::edit_pKeyPress(ui::Component&, char& Key) {
    LoginControls& c = controls_;
    if (Key == kEnter)
        c.BitBtn2.click();
    if (Key == kTab)
        c.Form1.set_active_control(&c.CheckBox1);
}

void LoginPanel::BitBtn2Click(ui::Component&) {
    LoginControls& c = controls_;
    platform::IniFile users(profile_, UsersIniPath());
    const std::string& name = c.edit_u.text();
    const std::string& password = c.edit_p.text();
    WriteSavedLogin(users,
                    {name, c.CheckBox1.checked() ? ScramblePassword(password, state_.PasswordKey)
                                                 : std::string()});
    ShowInWeb1(BuildLoginPage(config::site_host(), name, password));
}

void LoginPanel::BitBtn3Click(ui::Component&) {
    platform::IniFile users(profile_, UsersIniPath());
    ForgetSavedPassword(users);
    controls_.CheckBox1.set_checked(false);
}

void LoginPanel::SpeedButton4Click(ui::Component&) {
    ShowInWeb1(site_address("/temp/redirect.asp"));
}

void LoginPanel::Label3Click(ui::Component&) {
    ShowInWeb1(site_address("/jysc/reg2.asp"));
}

// Always web1's cookie, whichever browser completed a document: the site is
// logged into in web1. Only the site's own pages speak for the login: any
// other page could set a cookie of that name and so choose whose phone
// commands this PC obeys, so while web1 shows one, nothing changes. Only a
// member id appearing while none is held starts the worker; later ids
// replace it without a restart.
void LoginPanel::act_cookExecute(ui::Component&) {
    LoginControls& c = controls_;
    if (!IsSitePage(platform::gb_from_utf16(c.web1.LocationURL()), config::site_host()))
        return;
    LockedString& memberId = state_.MemberId;
    const auto id = MemberIdFromCookie(platform::gb_from_utf16(c.web1.DocumentCookie()));
    if (!id) {
        if (StopRelayWorker)
            StopRelayWorker();
        memberId.set("");
        return;
    }
    if (memberId.empty()) {
        memberId.set(*id);
        if (StartRelayWorker)
            StartRelayWorker();
    }
    memberId.set(*id);
}

void LoginPanel::ShowInWeb1(const std::string& url) {
    controls_.web1.Navigate(platform::utf16_from_gb(url));
    controls_.pag1.set_active_page(&controls_.tb1);
}

std::string LoginPanel::UsersIniPath() const {
    return machine_.executable_directory() + "users.ini";
}

} // namespace qirelo::app::login
