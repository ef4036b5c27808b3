#include "app/form1.h"

#include "app/browser/browser_shell.h"
#include "app/focused_edit.h"
#include "app/login/login_panel.h"
#include "app/pointer/pointer_actions.h"
#include "app/relay/relay_worker.h"
#include "app/system/system_control.h"
#include "app/update/version_check.h"
#include "config/hosts.h"
#include "platform/profile/codepage.h"
#include "upgrade/application_host.h"
#include "upgrade/application_main_thread.h"
#include "upgrade/auto_updater.h"
#include "upgrade/dialogs/upgrade_windows.h"
#include "upgrade/updater_path.h"

namespace qirelo::app {

TForm1::TForm1(ui::Application& application, platform::Services& services,
               const UpdaterHostFactory& makeUpdaterHost)
    : ui::Form("Form1"), Timer1(application.timers(), "Timer1"),
      Timer2(application.timers(), "Timer2"),
      Action1(ActionList1, "Action1", platform::gb("双击全屏")),
      act_gj(ActionList1, "act_gj", platform::gb("关机")),
      act_cook(ActionList1, "act_cook", "act_cook"),
      Action2(ActionList1, "Action2", platform::gb("单击屏幕底部")),
      act_up(ActionList1, "act_up", platform::gb("静默update")),
      Action3(ActionList1, "Action3", platform::gb("单击屏幕中间")),
      key_sender(services.keyboard, [this] { ClearFocusedEditOnMainThread(application_, *this); }),
      application_(application), services_(services) {
    BuildParts(makeUpdaterHost);
    LayOutControls();
    WireEvents();
    application_.guard([this] { FormCreate(*this); });
}

TForm1::~TForm1() = default;

// Each part gets just the controls and the state it works with.
void TForm1::BuildParts(const UpdaterHostFactory& makeUpdaterHost) {
    pointer_actions = std::make_unique<pointer::PointerActions>(*this, web1, services_.pointer);
    system_control = std::make_unique<system::SystemControl>(
        system::SystemControls{TrackBar1, cb1, BitBtn1, pb1, Timer2, act_gj, pag1, tb3},
        services_.wave_volume, services_.power);
    login_panel = std::make_unique<login::LoginPanel>(
        login::LoginControls{*this, edit_u, edit_p, CheckBox1, BitBtn2, pag1, tb1, web1},
        login::LoginState{PasswordKey, MemberId}, services_.profile, services_.machine);
    browser_shell = std::make_unique<browser::BrowserShell>(
        browser::BrowserControls{edit_url, spb1, btn1, btn2, sb1, pag1, tb1, tb2, tb3, Gauge1,
                                 Gauge2, web1, web2, Timer1, act_cook},
        browser::BrowserState{CurrentBrowser, PlayPageFlag}, application_, services_.keyboard);
    relay_worker = std::make_unique<relay::RelayWorker>(
        relay::RelayControls{pag1, tb1, tb3, web1, Action1, Action2, Action3, TrackBar1, BitBtn1,
                             edit_url},
        relay::RelayState{MemberId, LastCommandStamp, MonitorHttp, TimerHttp}, key_sender,
        application_);
    BuildUpdater1(makeUpdaterHost);
    version_check = std::make_unique<update::VersionCheck>(update::UpdateControls{*this, *updater1},
                                                           application_, config::site_host());
}

// updater1 as the window's layout sets it: the site host's info file, this
// client's version by number, the client's boxes and the updater's own
// windows.
void TForm1::BuildUpdater1(const UpdaterHostFactory& makeUpdaterHost) {
    updater_main_thread = std::make_unique<upgrade::ApplicationMainThread>(application_);
    updater_host =
        makeUpdaterHost
            ? makeUpdaterHost(application_, *updater_main_thread)
            : std::make_unique<upgrade::ApplicationUpdaterHost>(application_, *updater_main_thread);
    updater_windows = std::make_unique<upgrade::UpgradeWindows>(application_);
    updater1 = std::make_unique<upgrade::TupAutoUpdater>(upgrade::AutoUpdaterServices{
        *updater_main_thread, services_.internet, services_.local_system, services_.shell,
        services_.online, *updater_host, upgrade::DefaultUpdaterPath(), updater_windows.get()});
    update::ConfigureUpdater1(*updater1, config::site_host());
}

// Each handler to its event.
void TForm1::WireEvents() {
    OnShow = [this](ui::Component& sender) { FormShow(sender); };
    OnClose = [this](ui::Component& sender, ui::CloseAction& action) { FormClose(sender, action); };
    tb3.OnShow = [this](ui::Component& sender) { tb3Show(sender); };
    Timer1.OnTimer = [this](ui::Component& sender) { Timer1Timer(sender); };
    WirePointerActions();
    WireSystemControl();
    WireLoginPanel();
    WireBrowserShell();
    WireRelayWorker();
    WireVersionCheck();
}

void TForm1::WirePointerActions() {
    pointer::PointerActions& part = *pointer_actions;
    Action1.OnExecute = [&part](ui::Component&) { part.Action1Execute(); };
    Action2.OnExecute = [&part](ui::Component&) { part.Action2Execute(); };
    Action3.OnExecute = [&part](ui::Component&) { part.Action3Execute(); };
}

void TForm1::WireSystemControl() {
    system::SystemControl& part = *system_control;
    TrackBar1.OnChange = [&part](ui::Component&) { part.TrackBar1Change(); };
    cb1.OnClick = [&part](ui::Component&) { part.cb1Click(); };
    BitBtn1.OnClick = [&part](ui::Component&) { part.BitBtn1Click(); };
    Timer2.OnTimer = [&part](ui::Component&) { part.Timer2Timer(); };
    act_gj.OnExecute = [&part](ui::Component&) { part.act_gjExecute(); };
}

void TForm1::WireLoginPanel() {
    login::LoginPanel& part = *login_panel;
    edit_u.OnChange = [&part](ui::Component& sender) { part.edit_uChange(sender); };
    edit_p.OnChange = [&part](ui::Component& sender) { part.edit_uChange(sender); };
    edit_u.OnKeyPress = [&part](ui::Component& sender, char& key) {
        part.edit_uKeyPress(sender, key);
    };
    edit_p.OnKeyPress = [&part](ui::Component& sender, char& key) {
        part.edit_pKeyPress(sender, key);
    };
    BitBtn2.OnClick = [&part](ui::Component& sender) { part.BitBtn2Click(sender); };
    BitBtn3.OnClick = [&part](ui::Component& sender) { part.BitBtn3Click(sender); };
    SpeedButton4.OnClick = [&part](ui::Component& sender) { part.SpeedButton4Click(sender); };
    Label3.OnClick = [&part](ui::Component& sender) { part.Label3Click(sender); };
    act_cook.OnExecute = [&part](ui::Component& sender) { part.act_cookExecute(sender); };
    part.StartRelayWorker = [this] { relay_worker->Start(); };
    part.StopRelayWorker = [this] { relay_worker->Stop(); };
}

void TForm1::WireBrowserShell() {
    browser::BrowserShell& part = *browser_shell;
    for (ui::WebBrowser* browser : {&web1, &web2}) {
        browser->OnStatusTextChange = [&part](ui::Component& sender, const ui::WideString& text) {
            part.web1StatusTextChange(sender, text);
        };
        browser->OnTitleChange = [&part](ui::Component& sender, const ui::WideString& text) {
            part.web1TitleChange(sender, text);
        };
        browser->OnDocumentComplete = [&part](ui::Component& sender, const ui::BrowserAutomation&,
                                              const ui::WideString&) {
            part.web1DocumentComplete(sender);
        };
        browser->OnCommandStateChange = [&part](ui::Component& sender, long command, bool enable) {
            part.web1CommandStateChange(sender, command, enable);
        };
    }
    web1.OnProgressChange = [&part](ui::Component& sender, long progress, long max) {
        part.web1ProgressChange(sender, progress, max);
    };
    web2.OnProgressChange = [&part](ui::Component& sender, long progress, long max) {
        part.web2ProgressChange(sender, progress, max);
    };
    web1.OnNewWindow2 = [&part](ui::Component& sender, ui::BrowserAutomation& target, bool&) {
        part.web1NewWindow2(sender, target);
    };
    web2.OnNewWindow2 = [&part](ui::Component& sender, ui::BrowserAutomation& target, bool&) {
        part.web2NewWindow2(sender, target);
    };
    pag1.OnChange = [&part](ui::Component& sender) { part.pag1Change(sender); };
    edit_url.OnEnter = [&part](ui::Component& sender) { part.edit_urlEnter(sender); };
    edit_url.OnKeyDown = [&part](ui::Component& sender, std::uint16_t& key, ui::ShiftState) {
        part.edit_urlKeyDown(sender, key);
    };
    edit_url.OnButtonClick = [&part](ui::Component& sender) { part.edit_urlButtonClick(sender); };
    spb1.OnClick = [&part](ui::Component& sender) { part.spb1Click(sender); };
    btn_c.OnClick = [&part](ui::Component& sender) { part.btn_cClick(sender); };
    btn1.OnClick = [&part](ui::Component& sender) { part.btn1Click(sender); };
    btn2.OnClick = [&part](ui::Component& sender) { part.btn2Click(sender); };
}

void TForm1::WireRelayWorker() {
    relay::RelayWorker& part = *relay_worker;
    part.upThread1.OnExecute = [&part](upgrade::TupCustomThread& sender) {
        part.upThread1Execute(sender);
    };
}

void TForm1::WireVersionCheck() {
    update::VersionCheck& part = *version_check;
    act_up.OnExecute = [&part](ui::Component&) { part.act_upExecute(); };
    Button1.OnClick = [&part](ui::Component&) { part.Button1Click(); };
}

} // namespace qirelo::app
