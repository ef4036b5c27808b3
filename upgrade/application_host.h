#pragma once

// The auto-updater's host over the application object: its message boxes,
// title and error handler; the check's wait serves the application's
// messages and the handed-over calls; the hidden window's timer is one of
// the application's timers; a restart writes the updater this program
// carries and closes the main form. The Windows program uses the native host
// (win32/native_host.h), which waits as the window system does.

#include <memory>

#include "ui/application.h"
#include "upgrade/main_thread.h"
#include "upgrade/updater_host.h"

namespace qirelo::upgrade {

class ApplicationUpdaterHost : public UpdaterHost {
public:
    ApplicationUpdaterHost(ui::Application& application, MainThread& mainThread)
        : application_(application), mainThread_(mainThread) {}

    int MessageBox(const std::string& text, const std::string& caption, unsigned flags) override;
    std::string ApplicationTitle() override { return application_.title(); }
    void HandleException(const std::exception& error) override;
    std::unique_ptr<CheckDoneEvent> NewCheckDoneEvent() override;
    void WaitProcessingMessages(const CheckDoneEvent& done) override;
    std::unique_ptr<HiddenWindow> AllocateHiddenWindow() override;
    std::string ProgramPath() override;
    bool WriteUpdater(const std::string& path) override;
    bool StartUpdater(const std::string& updaterPath, const std::string& programPath,
                      const std::string& params) override;
    void CloseApplication() override;

protected:
    bool Terminating() const { return application_.terminated() || mainThread_.Terminating(); }

    ui::Application& application_;
    MainThread& mainThread_;
};

} // namespace qirelo::upgrade
