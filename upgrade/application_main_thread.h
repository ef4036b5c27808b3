#pragma once

#include "ui/application.h"
#include "upgrade/main_thread.h"

namespace qirelo::upgrade {

// The workers' way to the main thread of a program with a window: the
// application object's synchronize, whose calls the main thread runs among
// its messages.
class ApplicationMainThread final : public MainThread {
public:
    explicit ApplicationMainThread(ui::Application& application) : application_(application) {}

    void Synchronize(const std::function<void()>& call) override { application_.synchronize(call); }
    bool IsMainThread() const override { return application_.is_main_thread(); }
    void ServeCalls(std::chrono::milliseconds upTo) override {
        application_.wait_synchronize(upTo);
    }
    void ServeFor(std::chrono::milliseconds upTo) override {
        application_.process_messages();
        application_.wait_synchronize(upTo);
    }
    bool Terminating() const override { return application_.terminated(); }

private:
    ui::Application& application_;
};

} // namespace qirelo::upgrade
