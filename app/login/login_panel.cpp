#include "app/login/login_panel.h"

#include "app/form1.h"
#include "app/login/login_page.h"
#include "app/login/member_id.h"
#include "app/login/password_scrambler.h"
#include "app/login/site_page.h"
#include "app/login/users_ini.h"
#include "config/hosts.h"
#include "platform/profile/codepage.h"
#include "platform/profile/ini_file.h"

namespace qirelo::app {
namespace {

constexpr char kTab = 9;
constexpr char kEnter = 13;
constexpr std::size_t kShortestLoginText = 4; // bytes, so a Chinese character counts two

std::string site_address(const std::string& path) {
    return "http://" + config::site_host() + path;
}

} // namespace

void LoginPanel::Wire() {
    TForm1& f = form_;
    f.edit_u.OnChange = [this](ui::Component& sender) { edit_uChange(sender); };
    f.edit_p.OnChange = [this](ui::Component& sender) { edit_uChange(sender); };
    f.edit_u.OnKeyPress = [this](ui::Component& sender, char& key) { edit_uKeyPress(sender, key); };
    f.edit_p.OnKeyPress = [this](ui::Component& sender, char& key) { edit_pKeyPress(sender, key); };
    f.BitBtn2.OnClick = [this](ui::Component& sender) { BitBtn2Click(sender); };
    f.BitBtn3.OnClick = [this](ui::Component& sender) { BitBtn3Click(sender); };
    f.SpeedButton4.OnClick = [this](ui::Component& sender) { SpeedButton4Click(sender); };
    f.Label3.OnClick = [this](ui::Component& sender) { Label3Click(sender); };
    f.act_cook.OnExecute = [this](ui::Component& sender) { act_cookExecute(sender); };
}

void LoginPanel::edit_uChange(ui::Component&) {
    TForm1& f = form_;
    f.BitBtn2.set_enabled(f.edit_u.text().size() >= kShortestLoginText &&
                          f.edit_p.text().size() >= kShortestLoginText);
}

void LoginPanel::edit_uKeyPress(ui::Component&, char& Key) {
    TForm1& f = form_;
    if (Key == kTab)
        f.set_active_control(&f.edit_p);
    if (Key == kEnter && f.BitBtn2.enabled())
        f.BitBtn2.click();
}

// Enter logs in even while the button is disabled: the box is the last step
// of typing the credentials.
void LoginPanel::edit_pKeyPress(ui::Component&, char& Key) {
    TForm1& f = form_;
    if (Key == kEnter)
        f.BitBtn2.click();
    if (Key == kTab)
        f.set_active_control(&f.CheckBox1);
}

void LoginPanel::BitBtn2Click(ui::Component&) {
    TForm1& f = form_;
    platform::IniFile users(f.Services().profile, f.UsersIniPath());
    const std::string& name = f.edit_u.text();
    const std::string& password = f.edit_p.text();
    login::WriteSavedLogin(users, {name, f.CheckBox1.checked()
                                             ? login::ScramblePassword(password, f.PasswordKey)
                                             : std::string()});
    ShowInWeb1(login::BuildLoginPage(config::site_host(), name, password));
}

void LoginPanel::BitBtn3Click(ui::Component&) {
    TForm1& f = form_;
    platform::IniFile users(f.Services().profile, f.UsersIniPath());
    login::ForgetSavedPassword(users);
    f.CheckBox1.set_checked(false);
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
    TForm1& f = form_;
    if (!login::IsSitePage(platform::gb_from_utf16(f.web1.LocationURL()), config::site_host()))
        return;
    const auto id = login::MemberIdFromCookie(platform::gb_from_utf16(f.web1.DocumentCookie()));
    if (!id) {
        if (StopRelayWorker)
            StopRelayWorker();
        f.MemberId.set("");
        return;
    }
    if (f.MemberId.empty()) {
        f.MemberId.set(*id);
        if (StartRelayWorker)
            StartRelayWorker();
    }
    f.MemberId.set(*id);
}

void LoginPanel::ShowInWeb1(const std::string& url) {
    TForm1& f = form_;
    f.web1.Navigate(platform::utf16_from_gb(url));
    f.pag1.set_active_page(&f.tb1);
}

} // namespace qirelo::app
