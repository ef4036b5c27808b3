#include "app/relay/relay_command.h"

#include "app/relay/relay_record.h"

#include <string_view>

namespace qirelo::app::relay {
namespace {

constexpr int kSeekPauseMs = 1000;

bool StartsWith(const std::string& text, char letter) {
    return !text.empty() && text[0] == letter;
}

// Only the first occurrence, matched exactly.
std::string ReplaceFirst(std::string text, std::string_view what, std::string_view with) {
    const std::size_t at = text.find(what);
    if (at != std::string::npos) {
        text.replace(at, what.size(), with);
    }
    return text;
}

bool PointsBack(const std::string& text) {
    return text.size() > 1 && text[1] == '-';
}

ArrowSteps CountedSteps(const std::string& text) {
    if (text.size() < 3 || text[2] < '0' || text[2] > '9') {
        throw EBadRelayRecord("command '" + text + "' has no count digit");
    }
    return ArrowSteps{PointsBack(text), text[2] - '0'};
}

void SendTimes(RelayActions& actions, RelayPacer& pacer, const std::string& key, int count,
               int pauseMs) {
    for (int i = 0; i < count; ++i) {
        actions.SendKeys(key);
        if (pauseMs > 0) {
            pacer.Sleep(pauseMs);
        }
    }
}

void OpenPage(RelayActions& actions, const std::string& url) {
    actions.ShowTab(RelayActions::Tab::tb1);
    actions.Navigate(url);
}

} // namespace

RelayCommand ParseRelayCommand(std::string text) {
    RelayCommand command;
    if (StartsWith(text, 'A')) {
        text.erase(0, 1);
        command.playPage = ReplaceFirst(text, ".", "/play");
    }
    if (StartsWith(text, 'B')) {
        text.erase(0, 1);
        command.playWebPage = ReplaceFirst(text, ".0-", "&play=");
    }
    command.shutdown = StartsWith(text, 'E');
    command.space = StartsWith(text, 'F');
    if (StartsWith(text, 'G')) {
        command.seek = CountedSteps(text);
    }
    if (StartsWith(text, 'H')) {
        command.fullScreenStepBack = PointsBack(text);
    }
    if (StartsWith(text, 'D')) {
        command.upDown = CountedSteps(text);
    }
    return command;
}

void CarryOut(const RelayCommand& command, const std::string& siteHost, RelayActions& actions,
              RelayPacer& pacer) {
    if (command.playPage) {
        actions.SendKeys("FK_ESC");
        OpenPage(actions, "http://" + siteHost + "/m0" + *command.playPage + ".html");
    }
    if (command.playWebPage) {
        actions.SendKeys("FK_ESC");
        OpenPage(actions, "http://" + siteHost + "/m/play_web.asp?id=" + *command.playWebPage);
    }
    if (command.shutdown) {
        actions.SendKeys(" ");
        actions.SendKeys("FK_ESC");
        actions.ShowTab(RelayActions::Tab::tb3);
        // Up and back: each change sets the wave volume, which so ends at the
        // slider's level even while muted.
        const int level = actions.TrackBar1Position();
        actions.SetTrackBar1Position(255);
        actions.SetTrackBar1Position(level);
        actions.ClickBitBtn1();
    }
    if (command.space) {
        actions.SendKeys(" ");
    }
    if (command.seek) {
        SendTimes(actions, pacer, command.seek->back ? "FK_LEFT" : "FK_RIGHT", command.seek->count,
                  kSeekPauseMs);
    }
    if (command.fullScreenStepBack) {
        actions.SendKeys("FK_ESC");
        actions.Action2();
        actions.SendKeys(*command.fullScreenStepBack ? "FK_LEFT" : "FK_RIGHT");
        actions.Action1();
    }
    if (command.upDown) {
        if (actions.EditUrlText().find("/m/play_web.asp") != std::string::npos) {
            actions.Action3();
        }
        SendTimes(actions, pacer, command.upDown->back ? "FK_DOWN" : "FK_UP", command.upDown->count,
                  0);
    }
}

} // namespace qirelo::app::relay
