#include "app/browser/browser_shell.h"

#include "app/browser/home_page.h"
#include "app/browser/key_routing.h"
#include "app/browser/play_page.h"
#include "app/form1.h"
#include "config/hosts.h"
#include "platform/input/keyboard.h"
#include "platform/profile/codepage.h"

namespace qirelo::app {
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

void BrowserShell::Wire() {
    TForm1& f = form_;
    for (ui::WebBrowser* browser : {&f.web1, &f.web2}) {
        browser->OnStatusTextChange = [this](ui::Component& sender, const ui::WideString& text) {
            web1StatusTextChange(sender, text);
        };
        browser->OnTitleChange = [this](ui::Component& sender, const ui::WideString& text) {
            web1TitleChange(sender, text);
        };
        browser->OnDocumentComplete = [this](ui::Component& sender, const ui::BrowserAutomation&,
                                             const ui::WideString&) {
            web1DocumentComplete(sender);
        };
        browser->OnCommandStateChange = [this](ui::Component& sender, long command, bool enable) {
            web1CommandStateChange(sender, command, enable);
        };
    }
    f.web1.OnProgressChange = [this](ui::Component& sender, long progress, long max) {
        web1ProgressChange(sender, progress, max);
    };
    f.web2.OnProgressChange = [this](ui::Component& sender, long progress, long max) {
        web2ProgressChange(sender, progress, max);
    };
    f.web1.OnNewWindow2 = [this](ui::Component& sender, ui::BrowserAutomation& target, bool&) {
        web1NewWindow2(sender, target);
    };
    f.web2.OnNewWindow2 = [this](ui::Component& sender, ui::BrowserAutomation& target, bool&) {
        web2NewWindow2(sender, target);
    };
    f.pag1.OnChange = [this](ui::Component& sender) { pag1Change(sender); };
    f.edit_url.OnEnter = [this](ui::Component& sender) { edit_urlEnter(sender); };
    f.edit_url.OnKeyDown = [this](ui::Component& sender, std::uint16_t& key, ui::ShiftState) {
        edit_urlKeyDown(sender, key);
    };
    f.edit_url.OnButtonClick = [this](ui::Component& sender) { edit_urlButtonClick(sender); };
    f.spb1.OnClick = [this](ui::Component& sender) { spb1Click(sender); };
    f.btn_c.OnClick = [this](ui::Component& sender) { btn_cClick(sender); };
    f.btn1.OnClick = [this](ui::Component& sender) { btn1Click(sender); };
    f.btn2.OnClick = [this](ui::Component& sender) { btn2Click(sender); };
}

void BrowserShell::InstallMessageHook() {
    form_.Application().OnMessage = [this](ui::Message& message, bool& handled) {
        AppMessage(message, handled);
    };
}

std::string BrowserShell::HomePage() const {
    return browser::BuildHomePage(config::site_host(), config::mobile_host());
}

void BrowserShell::LoadHomePages() {
    const ui::WideString home = platform::utf16_from_gb(HomePage());
    form_.web1.Navigate(home);
    form_.web2.Navigate(home);
}

// Keys the window would otherwise take for itself (Tab, Enter, accelerators,
// editing keys) are offered to the browser first. A key the browser does not
// take is still translated and dispatched here, so it never reaches the
// window's dialog-key handling; the login panel moves its focus on Tab itself.
void BrowserShell::AppMessage(ui::Message& Msg, bool& Handled) {
    TForm1& f = form_;
    Handled = false;
    if (!f.CurrentBrowser || !browser::IsKeyboardMessage(Msg.message))
        return;
    if (!browser::OffersKeyToBrowser(Msg.message, Msg.wparam, Msg.lparam, CtrlDown()))
        return;
    try {
        Handled = f.CurrentBrowser->TranslateAccelerator(Msg);
        if (!Handled) {
            Handled = true;
            f.Application().translate_message(Msg);
            f.Application().dispatch_message(Msg);
        }
    } catch (...) {
        // A browser that cannot take keys (none attached, or failing) must not
        // cost the application its keyboard: the message goes its normal way
        // unless it was already handled.
    }
}

void BrowserShell::web1StatusTextChange(ui::Component&, const ui::WideString& Text) {
    form_.sb1.set_panel_text(1, to_8bit(Text));
}

// The title goes to the showing tab, and the play-page test reads the
// address of the showing tab's browser, whichever browser raised the event.
void BrowserShell::web1TitleChange(ui::Component&, const ui::WideString& Text) {
    TForm1& f = form_;
    std::string url;
    const std::string caption = to_8bit(Text.substr(0, kTabCaptionUnits));
    if (f.pag1.active_page() == &f.tb1) {
        url = to_8bit(f.web1.LocationURL());
        f.tb1.set_caption(caption);
    }
    if (f.pag1.active_page() == &f.tb2) {
        url = to_8bit(f.web2.LocationURL());
        f.tb2.set_caption(caption);
    }
    if (browser::IsPlayPage(url, config::site_host())) {
        f.PlayPageFlag = 1;
    } else {
        f.PlayPageFlag = 0;
        f.Timer1.set_enabled(false);
    }
}

void BrowserShell::web1DocumentComplete(ui::Component& Sender) {
    TForm1& f = form_;
    if (f.PlayPageFlag == 1)
        f.Timer1.set_enabled(true);
    f.PlayPageFlag = 0;
    pag1Change(Sender);
    f.act_cook.execute();
}

void BrowserShell::web1CommandStateChange(ui::Component&, long Command, bool Enable) {
    if (Command == ui::kCommandNavigateBack)
        form_.btn1.set_enabled(Enable);
    if (Command == ui::kCommandNavigateForward)
        form_.btn2.set_enabled(Enable);
}

void BrowserShell::web1ProgressChange(ui::Component&, long Progress, long ProgressMax) {
    show_progress(form_.Gauge1, Progress, ProgressMax);
}

void BrowserShell::web2ProgressChange(ui::Component&, long Progress, long ProgressMax) {
    show_progress(form_.Gauge2, Progress, ProgressMax);
}

// A new window never becomes a top-level window: it opens in the other
// browser, whose tab comes to the front.
void BrowserShell::web1NewWindow2(ui::Component&, ui::BrowserAutomation& ppDisp) {
    ppDisp = form_.web2.Application();
    form_.pag1.set_active_page(&form_.tb2);
}

void BrowserShell::web2NewWindow2(ui::Component&, ui::BrowserAutomation& ppDisp) {
    ppDisp = form_.web1.Application();
    form_.pag1.set_active_page(&form_.tb1);
}

void BrowserShell::pag1Change(ui::Component&) {
    TForm1& f = form_;
    f.edit_url.set_read_only(f.pag1.active_page() == &f.tb3);
    std::string url;
    if (f.pag1.active_page() == &f.tb1) {
        url = to_8bit(f.web1.LocationURL());
        f.CurrentBrowser = &f.web1;
    }
    if (f.pag1.active_page() == &f.tb2) {
        url = to_8bit(f.web2.LocationURL());
        f.CurrentBrowser = &f.web2;
    }
    // The home page and the login page carry their whole HTML in the address.
    if (url.starts_with("about"))
        url = kBlankAddress;
    f.edit_url.set_text(url);
}

void BrowserShell::edit_urlEnter(ui::Component&) {
    form_.edit_url.select_all();
}

void BrowserShell::edit_urlKeyDown(ui::Component& Sender, std::uint16_t& Key) {
    if (Key == ui::kVkReturn)
        edit_urlButtonClick(Sender);
}

// The address goes to the browser as typed: no scheme added, nothing trimmed.
void BrowserShell::edit_urlButtonClick(ui::Component&) {
    TForm1& f = form_;
    std::string address = f.edit_url.text();
    if (address == kBlankAddress) {
        address = HomePage();
        f.edit_url.set_text(std::string(kBlankAddress));
    }
    if (ui::WebBrowser* browser = ShowingBrowser())
        browser->Navigate(platform::utf16_from_gb(address));
}

void BrowserShell::spb1Click(ui::Component&) {
    if (ui::WebBrowser* browser = ShowingBrowser())
        browser->Stop();
}

void BrowserShell::btn_cClick(ui::Component& Sender) {
    form_.spb1.click();
    form_.edit_url.set_text(std::string(kBlankAddress));
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
    TForm1& f = form_;
    if (f.pag1.active_page() == &f.tb1)
        return &f.web1;
    if (f.pag1.active_page() == &f.tb2)
        return &f.web2;
    return nullptr;
}

bool BrowserShell::CtrlDown() {
    constexpr std::uint16_t kKeyDownBit = 0x8000; // GetKeyState's result is negative
    return (form_.Services().keyboard.key_state(ui::kVkControl) & kKeyDownBit) != 0;
}

} // namespace qirelo::app
