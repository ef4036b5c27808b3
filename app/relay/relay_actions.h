#pragma once

#include <string>

namespace qirelo::app::relay {

// What a relay command acts on: the keystroke sender, which runs on the
// worker, and the main window's own operations, which the product carries to
// the main thread. Kept this narrow so the loop runs against the real window,
// a headless one in tests and a recording stand-in in qirelo-tool.
class RelayActions {
public:
    enum class Tab { tb1, tb3 };

    virtual ~RelayActions() = default;

    // One key string ("FK_ESC", " ", "FK_LEFT"...), sent with the wait flag set.
    virtual void SendKeys(const std::string& keys) = 0;
    virtual void ShowTab(Tab tab) = 0;
    virtual void Navigate(const std::string& url) = 0; // web1
    virtual void Action1() = 0; // maximise, double-click the middle, pointer away
    virtual void Action2() = 0; // click the middle of the bottom edge
    virtual void Action3() = 0; // click the middle of the screen
    virtual int TrackBar1Position() = 0;
    virtual void SetTrackBar1Position(int position) = 0;
    virtual void ClickBitBtn1() = 0;
    virtual std::string EditUrlText() = 0;
};

// The worker's own pauses and stop tests (a forced stop raises from either).
class RelayPacer {
public:
    virtual ~RelayPacer() = default;
    virtual void Sleep(int milliseconds) = 0;
    virtual void CheckStop() = 0;
};

} // namespace qirelo::app::relay
