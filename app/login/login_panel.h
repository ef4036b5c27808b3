#pragma once

// The login panel of the program tab and the member-id pick-up: the member
// types name and password, the client keeps them in users.ini and logs in
// through a self-submitting page in web1; after every completed page load
// web1's cookie tells whether a member is logged in, which starts and stops
// the relay worker.

#include <functional>
#include <string>

#include "ui/component.h"

namespace qirelo::app {

class TForm1;

class LoginPanel {
public:
    explicit LoginPanel(TForm1& form) : form_(form) {}

    // Binds the handlers below to the panel's controls and to act_cook.
    void Wire();

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

    TForm1& form_;
};

} // namespace qirelo::app
