#pragma once

// TForm1, the client's main window: its controls, the process-wide state the
// handlers share, and the start-up handlers. The layout is in
// form1_layout.cpp, the start-up handlers in form1_startup.cpp. Each part of
// the client (app/<part>/) keeps its handlers in a class of its own over a
// narrow struct of the controls it uses; form1.cpp builds the parts and binds
// their handlers to the controls' events in WireEvents().
//
// Threads: every handler runs on the main thread. The relay worker reads
// MemberId (whole values, under a lock), and owns LastCommandStamp and the two
// HTTP client objects once start-up is over; whatever it does to the window
// goes through Application().synchronize.

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "app/locked_string.h"
#include "http/http_client.h"
#include "keys/keysend.h"
#include "platform/services.h"
#include "ui/action.h"
#include "ui/application.h"
#include "ui/button.h"
#include "ui/edit.h"
#include "ui/form.h"
#include "ui/image.h"
#include "ui/label.h"
#include "ui/page_control.h"
#include "ui/panel.h"
#include "ui/progress.h"
#include "ui/status_bar.h"
#include "ui/timer.h"
#include "ui/track_bar.h"
#include "ui/web_browser.h"

namespace qirelo::upgrade {
class MainThread;
class TupAutoUpdater;
class UpdaterHost;
class UpgradeWindows;
} // namespace qirelo::upgrade

namespace qirelo::app {

// Makes the upgrade check's host: how it waits and shows its boxes. The
// Windows program gives the window system's own; by default the check works
// through the application object.
using UpdaterHostFactory = std::function<std::unique_ptr<upgrade::UpdaterHost>(
    ui::Application& application, upgrade::MainThread& mainThread)>;

namespace browser {
class BrowserShell;
}
namespace login {
class LoginPanel;
}
namespace pointer {
class PointerActions;
}
namespace relay {
class RelayWorker;
}
namespace system {
class SystemControl;
}
namespace update {
class VersionCheck;
}

class TForm1 : public ui::Form {
public:
    // Builds the window's controls, then runs FormCreate; an error there is
    // shown by the general error handler and the window still opens.
    TForm1(ui::Application& application, platform::Services& services,
           const UpdaterHostFactory& makeUpdaterHost = {});
    ~TForm1() override;

    ui::Application& Application() { return application_; }
    platform::Services& Services() { return services_; }

    // --- Controls (parents before their children) ---------------------------
    ui::Panel Panel2{this, "Panel2"};
    ui::Panel Panel3{&Panel2, "Panel3"};
    ui::ButtonEdit edit_url{&Panel2, "edit_url"};
    ui::SpeedButton btn_c{&Panel3, "btn_c"};
    ui::SpeedButton spb1{&Panel3, "spb1"};
    ui::SpeedButton btn1{&Panel3, "btn1"};
    ui::SpeedButton btn2{&Panel3, "btn2"};
    ui::StatusBar sb1{this, "sb1"};
    ui::PageControl pag1{this, "pag1"};
    ui::TabSheet tb3{pag1, "tb3"};
    ui::TabSheet tb1{pag1, "tb1"};
    ui::TabSheet tb2{pag1, "tb2"};
    ui::Gauge Gauge1{&tb1, "Gauge1"};
    ui::WebBrowser web1{&tb1, "web1"};
    ui::Gauge Gauge2{&tb2, "Gauge2"};
    ui::WebBrowser web2{&tb2, "web2"};

    // The program tab.
    ui::Label Label1{&tb3, "Label1"};
    ui::GroupBox GroupBox1{&tb3, "GroupBox1"};
    ui::Bevel Bevel1{&GroupBox1, "Bevel1"};
    ui::Label Label3{&GroupBox1, "Label3"};
    ui::LabeledEdit edit_u{&GroupBox1, "edit_u"};
    ui::LabeledEdit edit_p{&GroupBox1, "edit_p"};
    ui::CheckBox CheckBox1{&GroupBox1, "CheckBox1"};
    ui::BitBtn BitBtn2{&GroupBox1, "BitBtn2"};
    ui::BitBtn BitBtn3{&GroupBox1, "BitBtn3"};
    ui::SpeedButton SpeedButton4{&GroupBox1, "SpeedButton4"};
    ui::Label Label5{&GroupBox1, "Label5"};
    ui::GroupBox GroupBox2{&tb3, "GroupBox2"};
    ui::BitBtn BitBtn1{&GroupBox2, "BitBtn1"};
    ui::ProgressBar pb1{&GroupBox2, "pb1"};
    ui::Label Label2{&GroupBox2, "Label2"};
    ui::CheckBox cb1{&GroupBox2, "cb1"};
    ui::TrackBar TrackBar1{&GroupBox2, "TrackBar1"};
    ui::Button Button1{&tb3, "Button1"};
    ui::GroupBox GroupBox3{&tb3, "GroupBox3"};
    ui::Image Image1{&GroupBox3, "Image1"};

    // --- Components without a window ----------------------------------------
    ui::Timer Timer1;
    ui::Timer Timer2;
    ui::ActionList ActionList1{"ActionList1"};
    ui::Action Action1;
    ui::Action act_gj;
    ui::Action act_cook;
    ui::Action Action2;
    ui::Action act_up;
    ui::Action Action3;

    // SendKeys; its held-key flags last the run.
    keys::KeySender key_sender;

    // --- Parts that carry handlers of their own ------------------------------
    // Each works over the few controls and the state it needs; the window
    // builds them and binds their handlers in WireEvents().
    std::unique_ptr<pointer::PointerActions> pointer_actions; // Action1, Action2, Action3
    std::unique_ptr<system::SystemControl> system_control;    // volume, mute, countdown, act_gj
    std::unique_ptr<login::LoginPanel> login_panel;           // login, saved credentials, act_cook
    std::unique_ptr<browser::BrowserShell> browser_shell;     // address bar, tabs, hook, home page

    // --- Process-wide state --------------------------------------------------
    LockedString MemberId;                         // empty: nobody logged in
    std::atomic<std::int64_t> LastCommandStamp{0}; // fixed point, scaled by 10000
    std::unique_ptr<http::THttpClient> MonitorHttp;
    std::unique_ptr<http::THttpClient> TimerHttp;
    std::string PasswordKey;
    std::int16_t PlayPageFlag = 0;
    std::uint16_t SavedFpuControlWord = 0;

    // upThread1 and the relay loop. Declared after the state the loop uses,
    // so the window's destruction stops the loop before that state goes.
    std::unique_ptr<relay::RelayWorker> relay_worker;

    // updater1, the upgrade check, with its way to the main thread, its
    // host and its windows (declared first: they outlive it), and the version
    // check over it.
    std::unique_ptr<upgrade::MainThread> updater_main_thread;
    std::unique_ptr<upgrade::UpdaterHost> updater_host;
    std::unique_ptr<upgrade::UpgradeWindows> updater_windows;
    std::unique_ptr<upgrade::TupAutoUpdater> updater1;
    std::unique_ptr<update::VersionCheck> version_check; // act_up, Button1

    // --- Handlers: start-up and main window ----------------------------------
    void FormCreate(ui::Component& Sender);
    void FormShow(ui::Component& Sender);
    void FormClose(ui::Component& Sender, ui::CloseAction& Action);
    void tb3Show(ui::Component& Sender);
    void Timer1Timer(ui::Component& Sender);

    // The browser that receives keyboard messages through the message hook.
    ui::WebBrowser* CurrentBrowser = nullptr;

    // The mobile site's address, as the program tab shows it and its QR code
    // encodes it.
    static std::string MobileSiteAddress();

private:
    void BuildParts(const UpdaterHostFactory& makeUpdaterHost);
    void BuildUpdater1(const UpdaterHostFactory& makeUpdaterHost);
    void LayOutControls();
    void WireEvents();
    void WirePointerActions();
    void WireSystemControl();
    void WireLoginPanel();
    void WireBrowserShell();
    void WireRelayWorker();
    void WireVersionCheck();

    ui::Application& application_;
    platform::Services& services_;
};

} // namespace qirelo::app
