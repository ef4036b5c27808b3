#pragma once

// What the auto-updater needs of the program around it, besides the network
// and the shell: the application's message boxes and error handler, a wait
// that keeps the main thread's messages flowing, and a hidden window of its
// own for its timer (and, on Windows, the log-off query).

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
};

} // namespace qirelo::upgrade
