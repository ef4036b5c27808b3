#pragma once

#include "app/relay/relay_actions.h"

#include <functional>
#include <memory>
#include <string>

namespace qirelo::app::relay {

// Receives one line per operation, in order.
using LineSink = std::function<void(const std::string& line)>;

// A stand-in for the window and the keystroke sender that records each
// operation as a line ("SendKeys FK_ESC", "ShowTab tb1", "Navigate <url>",
// "Action1", "TrackBar1 <value>", "ClickBitBtn1"). It remembers only the
// slider's value and the address text: showing a tab changes neither.
class RecordingActions final : public RelayActions {
public:
    RecordingActions(LineSink sink, int trackBar1Position, std::string editUrlText)
        : sink_(std::move(sink)), trackBar1_(trackBar1Position), editUrl_(std::move(editUrlText)) {}

    void SendKeys(const std::string& keys) override { sink_("SendKeys " + keys); }
    void ShowTab(Tab tab) override { sink_(tab == Tab::tb1 ? "ShowTab tb1" : "ShowTab tb3"); }
    void Navigate(const std::string& url) override { sink_("Navigate " + url); }
    void Action1() override { sink_("Action1"); }
    void Action2() override { sink_("Action2"); }
    void Action3() override { sink_("Action3"); }
    int TrackBar1Position() override { return trackBar1_; }
    void SetTrackBar1Position(int position) override;
    void ClickBitBtn1() override { sink_("ClickBitBtn1"); }
    std::string EditUrlText() override { return editUrl_; }

private:
    LineSink sink_;
    int trackBar1_;
    std::string editUrl_;
};

// Records each pause as "Sleep <ms>" and then takes it through `inner`, or
// not at all when there is none.
class RecordingPacer final : public RelayPacer {
public:
    RecordingPacer(LineSink sink, RelayPacer* inner) : sink_(std::move(sink)), inner_(inner) {}
    void Sleep(int milliseconds) override;
    void CheckStop() override;

private:
    LineSink sink_;
    RelayPacer* inner_;
};

} // namespace qirelo::app::relay
