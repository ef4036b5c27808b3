#include "upgrade/updater/wait_for_release.h"

namespace qirelo::upgrade::updater {

namespace {

class LowestPriority {
public:
    explicit LowestPriority(UpdaterSystem& system) : system_(system) {
        system_.set_waiting_priority(true);
    }
    ~LowestPriority() { system_.set_waiting_priority(false); }
    LowestPriority(const LowestPriority&) = delete;
    LowestPriority& operator=(const LowestPriority&) = delete;

private:
    UpdaterSystem& system_;
};

} // namespace

bool wait_for_release(UpdaterSystem& system, const std::string& path,
                      std::chrono::milliseconds bound) {
    LowestPriority lowest(system);
    const auto deadline = system.now() + bound;
    while (!system.is_released(path)) {
        if (system.now() >= deadline)
            return false;
        system.pause();
    }
    return true;
}

} // namespace qirelo::upgrade::updater
