#pragma once

// The login panel of the program tab and the member-id pick-up: the member
// types name and password, the client keeps them in users.ini and logs in
// through a self-submitting page in web1; after every completed page load
// web1's cookie tells whether a member is logged in, which starts and stops
// the relay worker.

#include <functional>
#include <string>

#include "app/locked_string.h"
#include "platform/profile/machine.h"
#include "platform/profile/private_profile.h"
#include "ui/button.h"
#include "ui/component.h"
#include "ui/edit.h"
#include "ui/form.h"
#include "ui/label.h"
#include "ui/page_control.h"
#include "ui/web_browser.h"

namespace qirelo::app::login {

// The window's controls that the panel works with.
struct LoginControls {
    ui::Form& Form1;         // the focus moves between the boxes
    ui::LabeledEdit& edit_u; // member name
    ui::LabeledEdit& edit_p; // password
    ui::CheckBox& CheckBox1; // "记住密码"
    ui::BitBtn& BitBtn2;     // "登录"
    ui::PageControl& pag1;   // web1's tab comes to the front
    ui::TabSheet& tb1;
    ui::WebBrowser& web1; // logs in, and holds the site's cookie
};

// The window's state the panel keeps: the key of the saved password and the
// logged-in member.
struct LoginState {
    std::string& PasswordKey;
    LockedString& MemberId;
};

class LoginPanel {
public:
    LoginPanel(LoginControls controls, LoginState state, platform::PrivateProfile& profile,
               platform::Machine& machine);

    // FormCreate's step: the password key from the computer name, then the
    // boxes from users.ini. A damaged saved password raises, after the name
    // box is filled.
    void LoadSavedLogin();

    // Shared by edit_u and edit_p: the login button is enabled while both
    // hold more than 3 bytes.
    void edit_uChange(ui::Component& Sender);
    void edit_uKeyPress(ui::Component& Sender, char& Key);
    void edit_pKeyPress(ui::Component& Sender, char& Key);
    void BitBtn2Click(ui::Component& Sender);      // login
    void BitBtn3Click(ui::Component& Sender);      // forget the saved password
    void SpeedButton4Click(ui::Component& Sender); // one-key login
    void Label3Click(ui::Component& Sender);       // register
    void act_cookExecute(ui::Component& Sender);   // member-id pick-up

    // The relay worker as the pick-up drives it, bound by the window to
    // upThread1: the start ends any run still going and starts afresh, the
    // forced stop ends the run at once; neither waits.
    std::function<void()> StartRelayWorker;
    std::function<void()> StopRelayWorker;

private:
    // Loads `url` (8-bit) into web1 and brings its tab to the front.
    void ShowInWeb1(const std::string& url);
    // users.ini beside the executable.
    std::string UsersIniPath() const;

    LoginControls controls_;
    LoginState state_;
    platform::PrivateProfile& profile_;
    platform::Machine& machine_;
};

} // namespace qirelo::app::login
