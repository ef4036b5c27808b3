#pragma once

// The small web browser of the main window: the address bar and its buttons,
// the two browser tabs with their captions and progress strips, the status
// text, new windows, the home page, and the application-wide message hook
// that gives the browser of the showing tab its keyboard. It also arms the
// automatic full screen (Timer1) once a play page has loaded, and runs the
// member-id pick-up (act_cook) after every completed document.

#include <cstdint>
#include <string>

#include "platform/input/keyboard.h"
#include "ui/action.h"
#include "ui/application.h"
#include "ui/button.h"
#include "ui/component.h"
#include "ui/edit.h"
#include "ui/message.h"
#include "ui/page_control.h"
#include "ui/progress.h"
#include "ui/status_bar.h"
#include "ui/timer.h"
#include "ui/web_browser.h"

namespace qirelo::app::browser {

// The window's controls that the shell works with.
struct BrowserControls {
    ui::ButtonEdit& edit_url; // the address bar
    ui::SpeedButton& spb1;    // stop
    ui::SpeedButton& btn1;    // back
    ui::SpeedButton& btn2;    // forward
    ui::StatusBar& sb1;       // panel 1: the browsers' status text
    ui::PageControl& pag1;
    ui::TabSheet& tb1; // web1's tab
    ui::TabSheet& tb2; // web2's tab
    ui::TabSheet& tb3; // the program tab
    ui::Gauge& Gauge1;
    ui::Gauge& Gauge2;
    ui::WebBrowser& web1;
    ui::WebBrowser& web2;
    ui::Timer& Timer1;    // full screen, 12 s after a play page has loaded
    ui::Action& act_cook; // the member-id pick-up
};

// The window's state the shell keeps.
struct BrowserState {
    ui::WebBrowser*& CurrentBrowser; // gets the keyboard through the message hook
    std::int16_t& PlayPageFlag;      // 1: a site play page is loading
};

class BrowserShell {
public:
    BrowserShell(BrowserControls controls, BrowserState state, ui::Application& application,
                 platform::input::Keyboard& keyboard)
        : controls_(controls), state_(state), application_(application), keyboard_(keyboard) {}

    // Installs AppMessage as the application's message hook.
    void InstallMessageHook();

    // The built-in start page of both browsers, with the configured hosts.
    std::string HomePage() const;
    // FormShow's step: both browsers load the home page.
    void LoadHomePages();

    void AppMessage(ui::Message& Msg, bool& Handled);

    // Served for both browsers.
    void web1StatusTextChange(ui::Component& Sender, const ui::WideString& Text);
    void web1TitleChange(ui::Component& Sender, const ui::WideString& Text);
    void web1DocumentComplete(ui::Component& Sender);
    void web1CommandStateChange(ui::Component& Sender, long Command, bool Enable);
    void web1ProgressChange(ui::Component& Sender, long Progress, long ProgressMax);
    void web2ProgressChange(ui::Component& Sender, long Progress, long ProgressMax);
    void web1NewWindow2(ui::Component& Sender, ui::BrowserAutomation& ppDisp);
    void web2NewWindow2(ui::Component& Sender, ui::BrowserAutomation& ppDisp);

    void pag1Change(ui::Component& Sender);

    void edit_urlEnter(ui::Component& Sender);
    void edit_urlKeyDown(ui::Component& Sender, std::uint16_t& Key);
    void edit_urlButtonClick(ui::Component& Sender);
    void spb1Click(ui::Component& Sender);  // stop
    void btn_cClick(ui::Component& Sender); // stop and show the home page
    void btn1Click(ui::Component& Sender);  // back
    void btn2Click(ui::Component& Sender);  // forward

private:
    // The browser of the showing tab; none while the program tab shows.
    ui::WebBrowser* ShowingBrowser();
    bool CtrlDown();

    BrowserControls controls_;
    BrowserState state_;
    ui::Application& application_;
    platform::input::Keyboard& keyboard_;
};

} // namespace qirelo::app::browser
