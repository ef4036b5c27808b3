#pragma once

#include "app/relay/relay_actions.h"
#include "upgrade/custom_thread.h"

namespace qirelo::app::relay {

// The pauses and stop tests of the worker the loop runs on: a forced stop
// cuts a pause short and unwinds the loop.
class WorkerPacer final : public RelayPacer {
public:
    explicit WorkerPacer(upgrade::TupCustomThread& worker) : worker_(worker) {}
    void Sleep(int milliseconds) override;
    void CheckStop() override { worker_.CheckStop(); }

private:
    upgrade::TupCustomThread& worker_;
};

} // namespace qirelo::app::relay
