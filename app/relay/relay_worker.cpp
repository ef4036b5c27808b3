#include "app/relay/relay_worker.h"

#include "app/relay/http_client_slot.h"
#include "app/relay/relay_loop.h"
#include "app/relay/synchronized_actions.h"
#include "app/relay/worker_pacer.h"

namespace qirelo::app::relay {

RelayWorker::RelayWorker(RelayControls controls, RelayState state, keys::KeySender& keySender,
                         ui::Application& application)
    : state_(state), mainThread_(application), window_(controls, keySender) {}

void RelayWorker::upThread1Execute(upgrade::TupCustomThread&) {
    HttpClientSlot monitorHttp(state_.MonitorHttp, &upThread1);
    HttpClientSlot timerHttp(state_.TimerHttp, &upThread1);
    SynchronizedActions actions(window_, upThread1);
    WorkerPacer pacer(upThread1);
    RelayLoop(RelayLoopParts{[this] { return state_.MemberId.get(); }, state_.LastCommandStamp,
                             monitorHttp, timerHttp, actions, pacer, ConfiguredEndpoints()})
        .Run();
}

} // namespace qirelo::app::relay
