#include "app/relay/relay_worker.h"

#include "app/form1.h"
#include "app/relay/client_slot.h"
#include "app/relay/relay_loop.h"
#include "app/relay/worker_relay.h"
#include "platform/profile/codepage.h"

namespace qirelo::app {

void Form1RelayWindow::SendKeys(const std::string& keys) {
    form_.key_sender.SendKeys(keys, true);
}

void Form1RelayWindow::ShowTab(Tab tab) {
    form_.pag1.set_active_page(tab == Tab::tb1 ? &form_.tb1 : &form_.tb3);
}

void Form1RelayWindow::Navigate(const std::string& url) {
    form_.web1.Navigate(platform::utf16_from_gb(url));
}

void Form1RelayWindow::Action1() {
    form_.Action1.execute();
}
void Form1RelayWindow::Action2() {
    form_.Action2.execute();
}
void Form1RelayWindow::Action3() {
    form_.Action3.execute();
}
int Form1RelayWindow::TrackBar1Position() {
    return form_.TrackBar1.position();
}
void Form1RelayWindow::SetTrackBar1Position(int position) {
    form_.TrackBar1.set_position(position);
}
void Form1RelayWindow::ClickBitBtn1() {
    form_.BitBtn1.click();
}
std::string Form1RelayWindow::EditUrlText() {
    return form_.edit_url.text();
}

RelayWorker::RelayWorker(TForm1& form, ui::Application& application)
    : form_(form), mainThread_(application) {}

void RelayWorker::Wire() {
    upThread1.OnExecute = [this](upgrade::TupCustomThread& sender) { upThread1Execute(sender); };
}

void RelayWorker::upThread1Execute(upgrade::TupCustomThread&) {
    relay::HttpClientSlot monitorHttp(form_.MonitorHttp, &upThread1);
    relay::HttpClientSlot timerHttp(form_.TimerHttp, &upThread1);
    relay::SynchronizedActions actions(window_, upThread1);
    relay::WorkerPacer pacer(upThread1);
    relay::RelayLoop(relay::RelayLoopParts{[this] { return form_.MemberId.get(); },
                                           form_.LastCommandStamp, monitorHttp, timerHttp, actions,
                                           pacer, relay::ConfiguredEndpoints()})
        .Run();
}

} // namespace qirelo::app
