#pragma once

// The small web browser of the main window: the address bar and its buttons,
// the two browser tabs with their captions and progress strips, the status
// text, new windows, the home page, and the application-wide message hook
// that gives the browser of the showing tab its keyboard. It also arms the
// automatic full screen (Timer1) once a play page has loaded, and runs the
// member-id pick-up (act_cook) after every completed document.

#include <string>

#include "ui/component.h"
#include "ui/message.h"
#include "ui/web_browser.h"

namespace qirelo::app {

class TForm1;

class BrowserShell {
public:
    explicit BrowserShell(TForm1& form) : form_(form) {}

    // Binds the handlers below to the browsers, the tabs and the address bar.
    void Wire();
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

    TForm1& form_;
};

} // namespace qirelo::app
