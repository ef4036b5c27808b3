#include "app/browser/browser_shell.h"

#include "app/browser/home_page.h"
#include "app/browser/key_routing.h"
#include "app/browser/play_page.h"
#include "config/hosts.h"
#include "platform/profile/codepage.h"

namespace qirelo::app::browser {
namespace {

constexpr std::size_t kTabCaptionUnits = 40; // UTF-16 units of a title shown on a tab
constexpr std::string_view kBlankAddress = "about:blank";

std::string to_8bit(const ui::WideString& text) {
    return platform::gb_from_utf16(text);
}

void show_progress(ui::Gauge& gauge, long progress, long progress_max) {
    gauge.set_max_value(static_cast<int>(progress_max));
    gauge.set_progress(static_cast<int>(progress));
}

} // namespace

void BrowserShell::InstallMessageHook() {
    application_.OnMessage = [this](ui::Message& message, bool& handled) {
        AppMessage(message, handled);
    };
}

std::string BrowserShell::HomePage() const {
    return BuildHomePage(config::site_host(), config::mobile_host());
}

void BrowserShell::LoadHomePages() {
    const ui::WideString home = platform::utf16_from_gb(HomePage());
    controls_.web1.Navigate(home);
    controls_.web2.Navigate(home);
}

// Keys the window would otherwise take for itself (Tab, Enter, accelerators,
// editing keys) are offered to the browser first. A key the browser does not
// take is still translated and dispatched here, so it never reaches the
// window's dialog-key handling; the login panel moves its focus on Tab itselc.
void BrowserShell::AppMessage(ui::Message& Msg, bool& Handled) {
    Handled = false;
    if (!state_.CurrentBrowser || !IsKeyboardMessage(Msg.message))
        return;
    if (!OffersKeyToBrowser(Msg.message, Msg.wparam, Msg.lparam, CtrlDown()))
        return;
    try {
        Handled = state_.CurrentBrowser->TranslateAccelerator(Msg);
        if (!Handled) {
            Handled = true;
            application_.translate_message(Msg);
            application_.dispatch_message(Msg);
        }
    } catch (...) {
        // A browser that cannot take keys (none attached, or failing) must not
        // cost the application its keyboard: the message goes its normal way
        // unless it was already handled.
    }
}

void BrowserShell::web1StatusTextChange(ui::Component&, const ui::WideString& Text) {
    controls_.sb1.set_panel_text(1, to_8bit(Text));
}

// The title goes to the showing tab, and the play-page test reads the
// address of the showing tab's browser, whichever browser raised the event.
void BrowserShell::web1TitleChange(ui::Component&, const ui::WideString& Text) {
    BrowserControls& c = controls_;
    std::string url;
    const std::string caption = to_8bit(Text.substr(0, kTabCaptionUnits));
    if (c.pag1.active_page() == &c.tb1) {
        url = to_8bit(c.web1.LocationURL());
        c.tb1.set_caption(caption);
    }
    if (c.pag1.active_page() == &c.tb2) {
        url = to_8bit(c.web2.LocationURL());
        c.tb2.set_caption(caption);
    }
    if (IsPlayPage(url, config::site_host())) {
        state_.PlayPageFlag = 1;
    } else {
        state_.PlayPageFlag = 0;
        c.Timer1.set_enabled(false);
    }
}

void BrowserShell::web1DocumentComplete(ui::Component& Sender) {
    BrowserControls& c = controls_;
    if (state_.PlayPageFlag == 1)
        c.Timer1.set_enabled(true);
    state_.PlayPageFlag = 0;
    pag1Change(Sender);
    c.act_cook.execute();
}

void BrowserShell::web1CommandStateChange(ui::Component&, long Command, bool Enable) {
    if (Command == ui::kCommandNavigateBack)
        controls_.btn1.set_enabled(Enable);
    if (Command == ui::kCommandNavigateForward)
        controls_.btn2.set_enabled(Enable);
}

void BrowserShell::web1ProgressChange(ui::Component&, long Progress, long ProgressMax) {
    show_progress(controls_.Gauge1, Progress, ProgressMax);
}

void BrowserShell::web2ProgressChange(ui::Component&, long Progress, long ProgressMax) {
    show_progress(controls_.Gauge2, Progress, ProgressMax);
}

// A new window never becomes a top-level window: it opens in the other
// browser, whose tab comes to the front.
void BrowserShell::web1NewWindow2(ui::Component&, ui::BrowserAutomation& ppDisp) {
    ppDisp = controls_.web2.Application();
    controls_.pag1.set_active_page(&controls_.tb2);
}

void BrowserShell::web2NewWindow2(ui::Component&, ui::BrowserAutomation& ppDisp) {
    ppDisp = controls_.web1.Application();
    controls_.pag1.set_active_page(&controls_.tb1);
}

void BrowserShell::pag1Change(ui::Component&) {
    BrowserControls& c = controls_;
    c.edit_url.set_read_only(c.pag1.active_page() == &c.tb3);
    std::string url;
    if (c.pag1.active_page() == &c.tb1) {
        url = to_8bit(c.web1.LocationURL());
        state_.CurrentBrowser = &c.web1;
    }
    if (c.pag1.active_page() == &c.tb2) {
        url = to_8bit(c.web2.LocationURL());
        state_.CurrentBrowser = &c.web2;
    }
    // The home page and the login page carry their whole HTML in the address.
    if (url.starts_with("about"))
        url = kBlankAddress;
    c.edit_url.set_text(url);
}

void BrowserShell::edit_urlEnter(ui::Component&) {
    controls_.edit_url.select_all();
}

void BrowserShell::edit_urlKeyDown(ui::Component& Sender, std::uint16_t& Key) {
    if (Key == ui::kVkReturn)
        edit_urlButtonClick(Sender);
}

// The address goes to the browser as typed: no scheme added, nothing trimmed.
void BrowserShell::edit_urlButtonClick(ui::Component&) {
    BrowserControls& c = controls_;
    std::string address = c.edit_url.text();
    if (address == kBlankAddress) {
        address = HomePage();
        c.edit_url.set_text(std::string(kBlankAddress));
    }
    if (ui::WebBrowser* browser = ShowingBrowser())
        browser->Navigate(platform::utf16_from_gb(address));
}

void BrowserShell::spb1Click(ui::Component&) {
    if (ui::WebBrowser* browser = ShowingBrowser())
        browser->Stop();
}

void BrowserShell::btn_cClick(ui::Component& Sender) {
    controls_.spb1.click();
    controls_.edit_url.set_text(std::string(kBlankAddress));
    edit_urlButtonClick(Sender);
}

void BrowserShell::btn1Click(ui::Component&) {
    if (ui::WebBrowser* browser = ShowingBrowser())
        browser->GoBack();
}

void BrowserShell::btn2Click(ui::Component&) {
    if (ui::WebBrowser* browser = ShowingBrowser())
        browser->GoForward();
}

ui::WebBrowser* BrowserShell::ShowingBrowser() {
    BrowserControls& c = controls_;
    if (c.pag1.active_page() == &c.tb1)
        return &c.web1;
    if (c.pag1.active_page() == &c.tb2)
        return &c.web2;
    return nullptr;
}

bool BrowserShell::CtrlDown() {
    constexpr std::uint16_t kKeyDownBit = 0x8000; // GetKeyState's result is negative
    return (keyboard_.key_state(ui::kVkControl) & kKeyDownBit) != 0;
}

} // namespace qirelo::app::browser
