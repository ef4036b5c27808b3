#pragma once

#include "ui/application.h"
#include "ui/headless/backend.h"
#include "upgrade/application_main_thread.h"

#include <chrono>
#include <functional>

namespace qirelo::upgrade::fake {

// A main thread for tests: the thread that makes it plays the main thread,
// and handed-over calls wait until it runs them with RunPending, ServeCalls
// or ServeFor. The calls go through the program's own queue (the application
// object on the headless backend), so the tests of the worker exercise it.
class ManualMainThread final : public MainThread {
public:
    void Synchronize(const std::function<void()>& call) override { main_.Synchronize(call); }
    bool IsMainThread() const override { return main_.IsMainThread(); }
    void ServeCalls(std::chrono::milliseconds upTo) override { main_.ServeCalls(upTo); }
    void ServeFor(std::chrono::milliseconds upTo) override { main_.ServeFor(upTo); }
    void Wake() override { main_.Wake(); }
    bool Terminating() const override { return main_.Terminating(); }

    // Runs every call handed over so far; true when one ran.
    bool RunPending() { return application_.check_synchronize(); }
    // Serves calls until `done` holds or `limit` passes; returns done().
    bool ServeUntil(const std::function<bool()>& done,
                    std::chrono::milliseconds limit = std::chrono::seconds(10));

private:
    ui::headless::Backend backend_;
    ui::Application application_{backend_};
    ApplicationMainThread main_{application_};
};

} // namespace qirelo::upgrade::fake
