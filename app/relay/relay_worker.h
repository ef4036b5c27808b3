#pragma once

#include "app/relay/application_main_thread.h"
#include "app/relay/relay_actions.h"
#include "upgrade/up_thread.h"

namespace qirelo::app {

class TForm1;

// The main window's operations as relay commands invoke them. Runs on the
// main thread: the worker reaches it through SynchronizedActions, except for
// SendKeys, which the keystroke sender carries out on the worker.
class Form1RelayWindow final : public relay::RelayActions {
public:
    explicit Form1RelayWindow(TForm1& form) : form_(form) {}

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
    TForm1& form_;
};

// The relay worker of the main window: the component upThread1 and its
// OnExecute, the relay loop. The member-id pick-up starts and stops it.
// Destroyed with the window, before the state the loop uses, it stops a
// running loop at once.
class RelayWorker {
public:
    RelayWorker(TForm1& form, ui::Application& application);

    void Wire();
    // Ends any run still going and starts the loop afresh; returns at once.
    void Start() { upThread1.Execute(); }
    // The forced stop: the loop ends at once, wherever it is; no waiting.
    void Stop() { upThread1.Terminate(true); }

    void upThread1Execute(upgrade::TupCustomThread& Sender);

private:
    TForm1& form_;
    relay::ApplicationMainThread mainThread_;
    Form1RelayWindow window_{form_};

public:
    upgrade::TupThread upThread1{mainThread_};
};

} // namespace qirelo::app
