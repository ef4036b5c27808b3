#pragma once

#include "ui/application.h"
#include "upgrade/main_thread.h"

namespace qirelo::upgrade {

// The worker-thread component's way to the main thread in the program: the
// application object's queue of handed-over calls (ui::Application), the one
// queue of cross-thread calls in the client. A library of its own, so the
// component itself stays free of the widget set.
class ApplicationMainThread final : public MainThread {
public:
    explicit ApplicationMainThread(ui::Application& application) : application_(application) {}

    void Synchronize(const std::function<void()>& call) override { application_.synchronize(call); }
    bool IsMainThread() const override { return application_.is_main_thread(); }
    void ServeCalls(std::chrono::milliseconds upTo) override {
        application_.wait_synchronize(upTo);
    }
    void ServeFor(std::chrono::milliseconds upTo) override;
    void Wake() override { application_.interrupt_wait(); }
    bool Terminating() const override { return application_.terminated(); }

private:
    ui::Application& application_;
};

} // namespace qirelo::upgrade
