#pragma once

#include "ui/application.h"
#include "upgrade/main_thread.h"

namespace qirelo::relay {

// The worker-thread component's way to the main thread, through the
// application object's synchronize.
class ApplicationMainThread final : public upgrade::MainThread {
public:
    explicit ApplicationMainThread(ui::Application& application) : application_(application) {}

    bool Synchronize(const std::function<void()>& call, std::stop_token stop) override;
    void ServeFor(std::chrono::milliseconds upTo) override;
    bool Terminating() const override { return application_.terminated(); }

private:
    ui::Application& application_;
};

} // namespace qirelo::relay
