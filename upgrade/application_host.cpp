#include "upgrade/application_host.h"

#include <atomic>
#include <chrono>
#include <map>

#include "ui/form.h"
#include "ui/timer.h"
#include "upgrade/restart_process.h"
#include "upgrade/updater/stored_updater.h"

namespace qirelo::upgrade {
namespace {

using namespace std::chrono_literals;

// How long one round of the wait sleeps for a handed-over call before it
// looks at the window system's messages again.
constexpr auto kServeSlice = 10ms;

class FlagEvent final : public CheckDoneEvent {
public:
    void Signal() override { signalled_ = true; }
    bool Signalled() const override { return signalled_; }

private:
    std::atomic<bool> signalled_{false};
};

// The hidden window's timers as the application's timer components.
class TimerWindow final : public HiddenWindow {
public:
    explicit TimerWindow(ui::TimerService& service) : service_(service) {}

    bool SetTimer(unsigned id, unsigned milliseconds) override {
        auto& timer = timers_[id];
        if (!timer) {
            timer = std::make_unique<ui::Timer>(service_, "updaterTimer" + std::to_string(id));
            timer->OnTimer = [this, id](ui::Component&) {
                if (OnTimer) {
                    OnTimer(id);
                }
            };
        }
        timer->set_enabled(false);
        timer->set_interval(std::chrono::milliseconds(milliseconds));
        timer->set_enabled(true);
        return true;
    }
    void KillTimer(unsigned id) override {
        if (auto found = timers_.find(id); found != timers_.end()) {
            found->second->set_enabled(false);
        }
    }

private:
    ui::TimerService& service_;
    std::map<unsigned, std::unique_ptr<ui::Timer>> timers_;
};

} // namespace

int ApplicationUpdaterHost::MessageBox(const std::string& text, const std::string& caption,
                                       unsigned flags) {
    return application_.message_box(text, caption, flags);
}

void ApplicationUpdaterHost::HandleException(const std::exception& error) {
    application_.show_exception(error);
}

std::unique_ptr<CheckDoneEvent> ApplicationUpdaterHost::NewCheckDoneEvent() {
    return std::make_unique<FlagEvent>();
}

void ApplicationUpdaterHost::WaitProcessingMessages(const CheckDoneEvent& done) {
    while (!done.Signalled() && !Terminating()) {
        application_.process_messages();
        if (!done.Signalled()) {
            mainThread_.ServeFor(kServeSlice);
        }
    }
}

std::unique_ptr<HiddenWindow> ApplicationUpdaterHost::AllocateHiddenWindow() {
    return std::make_unique<TimerWindow>(application_.timers());
}

std::string ApplicationUpdaterHost::ProgramPath() {
    return OwnProgramPath();
}

bool ApplicationUpdaterHost::WriteUpdater(const std::string& path) {
    try {
        updater::write_stored_updater(path);
        return true;
    } catch (const updater::StoredUpdaterError&) {
        return false; // the restart goes on: the program closes all the same
    }
}

bool ApplicationUpdaterHost::StartUpdater(const std::string& updaterPath,
                                          const std::string& programPath,
                                          const std::string& params) {
    return StartUpdaterProcess(updaterPath, programPath, params);
}

void ApplicationUpdaterHost::CloseApplication() {
    if (ui::Form* form = application_.main_form()) {
        form->close();
    }
    application_.terminate();
}

} // namespace qirelo::upgrade
