#include "app/form1.h"

#include "app/keys/focused_edit.h"
#include "platform/profile/codepage.h"

namespace qirelo::app {

TForm1::TForm1(ui::Application& application, platform::Services& services)
    : ui::Form("Form1"), Timer1(application.timers(), "Timer1"),
      Timer2(application.timers(), "Timer2"),
      Action1(ActionList1, "Action1", platform::gb("双击全屏")),
      act_gj(ActionList1, "act_gj", platform::gb("关机")),
      act_cook(ActionList1, "act_cook", "act_cook"),
      Action2(ActionList1, "Action2", platform::gb("单击屏幕底部")),
      act_up(ActionList1, "act_up", platform::gb("静默update")),
      Action3(ActionList1, "Action3", platform::gb("单击屏幕中间")),
      pointer_actions(*this, web1, services.pointer),
      system_control({TrackBar1, cb1, BitBtn1, pb1, Timer2, act_gj, pag1, tb3},
                     services.wave_volume, services.power),
      key_sender(services.keyboard, [this] { ClearFocusedEditOnMainThread(application_, *this); }),
      relay_worker(*this, application),
      application_(application), services_(services) {
    LayOutControls();
    WireEvents();
    application_.guard([this] { FormCreate(*this); });
}

TForm1::~TForm1() = default;

// Each handler to its event; the parts of the client that come with their own
// handlers add their lines here.
void TForm1::WireEvents() {
    OnShow = [this](ui::Component& sender) { FormShow(sender); };
    OnClose = [this](ui::Component& sender, ui::CloseAction& action) { FormClose(sender, action); };
    tb3.OnShow = [this](ui::Component& sender) { tb3Show(sender); };
    Timer1.OnTimer = [this](ui::Component& sender) { Timer1Timer(sender); };
    Action1.OnExecute = [this](ui::Component&) { pointer_actions.Action1Execute(); };
    Action2.OnExecute = [this](ui::Component&) { pointer_actions.Action2Execute(); };
    Action3.OnExecute = [this](ui::Component&) { pointer_actions.Action3Execute(); };
    TrackBar1.OnChange = [this](ui::Component&) { system_control.TrackBar1Change(); };
    cb1.OnClick = [this](ui::Component&) { system_control.cb1Click(); };
    BitBtn1.OnClick = [this](ui::Component&) { system_control.BitBtn1Click(); };
    Timer2.OnTimer = [this](ui::Component&) { system_control.Timer2Timer(); };
    act_gj.OnExecute = [this](ui::Component&) { system_control.act_gjExecute(); };
    login_panel.Wire();
    relay_worker.Wire();
    login_panel.StartRelayWorker = [this] { relay_worker.Start(); };
    login_panel.StopRelayWorker = [this] { relay_worker.Stop(); };
    browser_shell.Wire();
}

} // namespace qirelo::app
