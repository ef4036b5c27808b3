#pragma once

// The relay worker of the main window: the component upThread1 and its
// OnExecute, the relay loop. The member-id pick-up starts and stops it.
// Destroyed with the window, before the state the loop uses, it stops a
// running loop at once.

#include <atomic>
#include <cstdint>
#include <memory>

#include "app/locked_string.h"
#include "app/relay/window_actions.h"
#include "http/http_client.h"
#include "upgrade/application_main_thread.h"
#include "upgrade/up_thread.h"

namespace qirelo::app::relay {

// The window's state the loop works with; the worker owns LastCommandStamp
// and the two client objects while it runs.
struct RelayState {
    LockedString& MemberId;
    std::atomic<std::int64_t>& LastCommandStamp;
    std::unique_ptr<http::THttpClient>& MonitorHttp;
    std::unique_ptr<http::THttpClient>& TimerHttp;
};

class RelayWorker {
public:
    RelayWorker(RelayControls controls, RelayState state, keys::KeySender& keySender,
                ui::Application& application);

    // Ends any run still going and starts the loop afresh; returns at once.
    void Start() { upThread1.Execute(); }
    // The forced stop: the loop ends at once, wherever it is; no waiting.
    void Stop() { upThread1.Terminate(true); }

    void upThread1Execute(upgrade::TupCustomThread& Sender);

private:
    RelayState state_;
    upgrade::ApplicationMainThread mainThread_;
    WindowActions window_;

public:
    upgrade::TupThread upThread1{mainThread_};
};

} // namespace qirelo::app::relay
