#include "app/form1.h"

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
      Action3(ActionList1, "Action3", platform::gb("单击屏幕中间")), application_(application),
      services_(services) {
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
}

} // namespace qirelo::app
