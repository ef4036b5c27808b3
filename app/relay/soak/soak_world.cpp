#include "app/relay/soak/soak_world.h"

#include <cstdio>

namespace qirelo::app::relay::soak {
namespace {

constexpr std::int64_t kUnit = 10000;            // one unit of the timer, scaled
constexpr std::int64_t kStaleAfter = 11 * kUnit; // this old or older is stale

// The client object reads these answers whole.
bool ReadWhole(Fault fault) {
    return fault == Fault::none || fault == Fault::stall || fault == Fault::stallMidBody ||
           fault == Fault::chunked || fault == Fault::noLength;
}

bool StartsWith(const std::string& text, char letter) {
    return !text.empty() && text[0] == letter;
}

std::string Key(const std::string& text, const char* back, const char* forward) {
    return std::string("SendKeys ") + (text.size() > 1 && text[1] == '-' ? back : forward);
}

} // namespace

std::deque<std::string> OperationsOf(std::string text, const std::string& siteHost) {
    std::deque<std::string> lines;
    if (StartsWith(text, 'A')) { // the ids made here hold no "."
        text.erase(0, 1);
        lines.insert(lines.end(), {"SendKeys FK_ESC", "ShowTab tb1",
                                   "Navigate http://" + siteHost + "/m0" + text + ".html"});
    }
    if (StartsWith(text, 'B')) { // nor ".0-"
        text.erase(0, 1);
        lines.insert(lines.end(), {"SendKeys FK_ESC", "ShowTab tb1",
                                   "Navigate http://" + siteHost + "/m/play_web.asp?id=" + text});
    }
    if (StartsWith(text, 'E')) {
        lines.insert(lines.end(), {"SendKeys  ", "SendKeys FK_ESC", "ShowTab tb3", "TrackBar1 255",
                                   "TrackBar1 128", "ClickBitBtn1"});
    }
    if (StartsWith(text, 'F')) {
        lines.push_back("SendKeys  ");
    }
    if (StartsWith(text, 'G')) {
        lines.insert(lines.end(), text[2] - '0', Key(text, "FK_LEFT", "FK_RIGHT"));
    }
    if (StartsWith(text, 'H')) {
        lines.insert(lines.end(),
                     {"SendKeys FK_ESC", "Action2", Key(text, "FK_LEFT", "FK_RIGHT"), "Action1"});
    }
    if (StartsWith(text, 'D')) {
        lines.push_back("Action3");
        lines.insert(lines.end(), text[2] - '0', Key(text, "FK_DOWN", "FK_UP"));
    }
    return lines;
}

SoakWorld::SoakWorld(std::uint64_t seed, std::string siteHost)
    : random_(seed), siteHost_(std::move(siteHost)) {}

RecordKind SoakWorld::PickRecord() {
    const int roll = static_cast<int>(random_() % 100);
    if (roll < 45)
        return RecordKind::newStamp;
    if (roll < 60)
        return RecordKind::repeatedStamp;
    if (roll < 78)
        return RecordKind::sameRecord;
    if (roll < 88)
        return RecordKind::garbage;
    if (roll < 94)
        return RecordKind::badCommand;
    return RecordKind::empty;
}

TimerKind SoakWorld::PickTimer() {
    const int roll = static_cast<int>(random_() % 100);
    if (roll < 70)
        return TimerKind::fresh;
    if (roll < 95)
        return TimerKind::stale;
    return TimerKind::garbage;
}

// A stamp or timer number in one of the spellings the loop reads.
std::string SoakWorld::Printed(std::int64_t scaled) {
    char text[48];
    std::snprintf(text, sizeof text, "%lld.%04lld", static_cast<long long>(scaled / kUnit),
                  static_cast<long long>(scaled % kUnit));
    switch (random_() % 5) {
    case 0: // the scaled digits with an exponent
        return std::to_string(scaled) + "E-4";
    case 1: // blanks and a line end around it, as servers leave them
        return std::string(" ") + text + "\r\n";
    case 2: { // no trailing zeros
        std::string trimmed = text;
        trimmed.erase(trimmed.find_last_not_of('0') + 1);
        if (trimmed.back() == '.') {
            trimmed.pop_back();
        }
        return trimmed;
    }
    default:
        return text;
    }
}

// A command of every letter, each carrying an id of its own behind an A so
// the page it opens tells which record it came from.
std::string SoakWorld::NewCommand() {
    static constexpr const char* kForms[] = {"A",    "B",    "AB",   "AF",  "AG-3", "AG+0",
                                             "AGx2", "AD+2", "AD-0", "AH-", "AH+",  "AE"};
    return kForms[random_() % std::size(kForms)] + std::to_string(++nextId_);
}

void SoakWorld::Expect(const std::string& command) {
    const std::deque<std::string> lines = OperationsOf(command, siteHost_);
    for (std::size_t i = 0; i < lines.size(); ++i) {
        expected_.push_back(Step{lines[i], i + 1 == lines.size()});
    }
    ++figures_.expectedCommands;
}

Answer SoakWorld::Deliver(std::string body, bool monitor, std::optional<Seen>& seen) {
    Answer answer;
    const int roll = static_cast<int>(random_() % 100);
    // About half the answers are plain; the rest spread over the faults.
    answer.fault =
        roll < 50 ? Fault::none : static_cast<Fault>(1 + (roll - 50) % (kFaultKinds - 1));
    if (!monitor && answer.fault == Fault::shortLength) {
        answer.fault = Fault::none; // a cut timer number would be another number
    }
    if (body.empty() && answer.fault == Fault::resetMidBody) {
        // An empty body is whole with its head; a reset after it would race
        // the client's next request on the kept connection.
        answer.fault = Fault::resetAtOnce;
    }
    answer.stallMs = 1 + static_cast<int>(random_() % 20);
    answer.garbageSeed = random_();
    // A monitor text cut before its "|" carries no command; a timer text is
    // cut to nothing.
    const std::size_t bar = body.find('|');
    const std::size_t keep = monitor ? std::min(bar, body.size()) : 0;
    answer.cut = keep == 0 ? 0 : random_() % (keep + 1);
    if (!ReadWhole(answer.fault)) {
        seen.reset();
    }
    (monitor ? figures_.relayFaults : figures_.timerFaults)[static_cast<int>(answer.fault)]++;
    answer.body = std::move(body);
    return answer;
}

Answer SoakWorld::MonitorAnswer() {
    std::lock_guard lock(mutex_);
    if (!monitorNext_) {
        ++figures_.harnessErrors;
    }
    monitorNext_ = false;
    const RecordKind kind = PickRecord();
    figures_.records[static_cast<int>(kind)]++;
    std::optional<Seen> seen;
    std::string body;
    switch (kind) {
    case RecordKind::newStamp:
    case RecordKind::repeatedStamp:
    case RecordKind::badCommand: {
        if (kind != RecordKind::repeatedStamp) {
            lastServedStamp_ += 1 + static_cast<std::int64_t>(random_() % (5 * kUnit));
        }
        const bool bad = kind == RecordKind::badCommand;
        static constexpr const char* kBadCommands[] = {"G", "D+", "Gxy", "AD-"};
        const std::string command =
            bad ? kBadCommands[random_() % std::size(kBadCommands)] : NewCommand();
        seen = Seen{lastServedStamp_, command, !bad};
        body = Printed(lastServedStamp_) + "|" + command;
        lastServedBody_ = body;
        lastServed_ = seen;
        break;
    }
    case RecordKind::sameRecord:
        seen = lastServed_;
        body = lastServedBody_;
        break;
    case RecordKind::garbage: {
        static constexpr const char* kGarbage[] = {
            "no bar at all", "|A1",         "12x|A1", "1.2.3|A1",
            "--5|A1",        "\xb0\xe6|A1", "1e|A1",  "<html><body>502 Bad Gateway</body></html>",
            "1 2|A1",        "\t|A1"};
        body = kGarbage[random_() % std::size(kGarbage)];
        break;
    }
    case RecordKind::empty:
        break;
    }
    if (seen && !seen->carriesCommand) {
        seen.reset();
    }
    Answer answer = Deliver(std::move(body), true, seen);
    cycleMonitor_ = seen;
    return answer;
}

Answer SoakWorld::TimerAnswer() {
    std::lock_guard lock(mutex_);
    if (monitorNext_) {
        ++figures_.harnessErrors;
    }
    monitorNext_ = true;
    ++figures_.cycles;
    const TimerKind kind = PickTimer();
    figures_.timers[static_cast<int>(kind)]++;
    const std::int64_t stamp = cycleMonitor_ ? cycleMonitor_->stamp : lastServedStamp_;
    std::optional<Seen> timer = Seen{};
    std::string body;
    if (kind == TimerKind::garbage) {
        static constexpr const char* kGarbage[] = {"12:30", "abc", "1,5", "0x10", "1.5.6", "\r\n"};
        body = kGarbage[random_() % std::size(kGarbage)];
        timer.reset();
    } else {
        // Fresh: up to 5 units behind the stamp (clocks apart) or less than 11
        // ahead, the edge included; stale: 11 units ahead or more.
        const bool edge = random_() % 8 == 0;
        const std::int64_t ahead =
            kind == TimerKind::fresh
                ? (edge ? kStaleAfter - 1
                        : static_cast<std::int64_t>(random_() % (16 * kUnit)) - 5 * kUnit)
                : (edge ? kStaleAfter
                        : kStaleAfter + static_cast<std::int64_t>(random_() % (100 * kUnit)));
        timer->stamp = stamp + ahead;
        body = Printed(timer->stamp);
    }
    const Answer answer = Deliver(std::move(body), false, timer);
    if (cycleMonitor_ && timer && timer->stamp - cycleMonitor_->stamp < kStaleAfter &&
        cycleMonitor_->stamp != lastCarriedOut_) {
        lastCarriedOut_ = cycleMonitor_->stamp;
        Expect(cycleMonitor_->command);
    }
    cycleMonitor_.reset();
    return answer;
}

void SoakWorld::Observe(const std::string& line) {
    std::lock_guard lock(mutex_);
    if (expected_.empty() || expected_.front().line != line) {
        if (figures_.unexpectedOperations++ == 0) {
            figures_.firstUnexpected =
                "'" + line + "' where '" +
                (expected_.empty() ? std::string("nothing") : expected_.front().line) +
                "' was due, in cycle " + std::to_string(figures_.cycles);
        }
        return;
    }
    if (expected_.front().endsCommand) {
        ++figures_.carriedOut;
    }
    expected_.pop_front();
}

SoakFigures SoakWorld::Figures() const {
    std::lock_guard lock(mutex_);
    return figures_;
}

std::size_t SoakWorld::Outstanding() const {
    std::lock_guard lock(mutex_);
    return expected_.size();
}

} // namespace qirelo::app::relay::soak
