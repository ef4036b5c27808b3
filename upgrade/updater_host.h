#pragma once

// What the auto-updater needs of the program around it, besides the network
// and the shell: the application's message boxes and error handler, a wait
// that keeps the main thread's messages flowing, a hidden window of its own
// for its timer (and, on Windows, the log-off query), and what a restart
// after an upgrade needs: the program's path, the updater it carries, a way
// to start that updater and the application's end.

#include <exception>
#include <functional>
#include <memory>
#include <string>

namespace qirelo::upgrade {

// A manual-reset event: once signalled it stays signalled.
class CheckDoneEvent {
public:
    virtual ~CheckDoneEvent() = default;
    virtual void Signal() = 0;
    virtual bool Signalled() const = 0;
};

class HiddenWindow {
public:
    virtual ~HiddenWindow() = default;
    // False when the window system has no timer to give.
    virtual bool SetTimer(unsigned id, unsigned milliseconds) = 0;
    virtual void KillTimer(unsigned id) = 0;

    // Runs on the main thread each time timer `id` elapses.
    std::function<void(unsigned id)> OnTimer;
};

class UpdaterHost {
public:
    virtual ~UpdaterHost() = default;

    // The application's message box; returns what the user answered.
    virtual int MessageBox(const std::string& text, const std::string& caption, unsigned flags) = 0;
    // The application's title: the program's name in the component's texts.
    virtual std::string ApplicationTitle() = 0;
    // The application's general error handler.
    virtual void HandleException(const std::exception& error) = 0;

    virtual std::unique_ptr<CheckDoneEvent> NewCheckDoneEvent() = 0;
    // Main thread: returns once `done` is signalled or the application is
    // terminating, dispatching the main thread's messages and handed-over
    // calls meanwhile.
    virtual void WaitProcessingMessages(const CheckDoneEvent& done) = 0;

    virtual std::unique_ptr<HiddenWindow> AllocateHiddenWindow() = 0;

    // The running program's full path; downloads go to its folder.
    virtual std::string ProgramPath() = 0;
    // Writes the updater program this program carries to `path`, replacing
    // what is there; false when it cannot be written.
    virtual bool WriteUpdater(const std::string& path) = 0;
    // Starts the updater at `updaterPath` to put the downloads in place and
    // start `programPath` again with `params`; every path quoted, the updater
    // named as the program to run. False when it did not start.
    virtual bool StartUpdater(const std::string& updaterPath, const std::string& programPath,
                              const std::string& params) = 0;
    // Closes the application's main window and ends the application.
    virtual void CloseApplication() = 0;
};

} // namespace qirelo::upgrade
