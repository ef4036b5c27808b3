#pragma once

// The main window's operations as relay commands invoke them, over the few
// controls they touch.

#include "app/relay/relay_actions.h"
#include "keys/keysend.h"
#include "ui/action.h"
#include "ui/button.h"
#include "ui/edit.h"
#include "ui/page_control.h"
#include "ui/track_bar.h"
#include "ui/web_browser.h"

namespace qirelo::app::relay {

// The window's controls that relay commands work with.
struct RelayControls {
    ui::PageControl& pag1;
    ui::TabSheet& tb1; // web1's tab
    ui::TabSheet& tb3; // the program tab
    ui::WebBrowser& web1;
    ui::Action& Action1; // the pointer actions
    ui::Action& Action2;
    ui::Action& Action3;
    ui::TrackBar& TrackBar1; // the volume
    ui::BitBtn& BitBtn1;     // the shutdown countdown
    ui::ButtonEdit& edit_url;
};

// Runs on the main thread: the worker reaches it through SynchronizedActions,
// except for SendKeys, which the keystroke sender carries out on the worker.
class WindowActions final : public RelayActions {
public:
    WindowActions(RelayControls controls, keys::KeySender& keySender)
        : controls_(controls), keySender_(keySender) {}

    void SendKeys(const std::string& keys) override;
    void ShowTab(Tab tab) override;
    void Navigate(const std::string& url) override;
    void Action1() override;
    void Action2() override;
    void Action3() override;
    int TrackBar1Position() override;
    void SetTrackBar1Position(int position) override;
    void ClickBitBtn1() override;
    std::string EditUrlText() override;

private:
    RelayControls controls_;
    keys::KeySender& keySender_;
};

} // namespace qirelo::app::relay
