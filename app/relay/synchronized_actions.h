#pragma once

#include "app/relay/relay_actions.h"
#include "upgrade/custom_thread.h"

#include <functional>

namespace qirelo::app::relay {

// Carries the window's operations to the main thread and waits for each, so
// they never run alongside the main thread's own work on the window; the
// keystroke sender stays on the worker. A step's error is raised again on
// the worker, whatever the component does with errors of synchronised calls,
// so the loop ends that command. The stop is tested after every step.
class SynchronizedActions final : public RelayActions {
public:
    SynchronizedActions(RelayActions& window, upgrade::TupCustomThread& worker)
        : window_(window), worker_(worker) {}

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
    void OnMainThread(const std::function<void()>& step);

    RelayActions& window_;
    upgrade::TupCustomThread& worker_;
};

} // namespace qirelo::app::relay
