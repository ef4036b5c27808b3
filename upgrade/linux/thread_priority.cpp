#include "upgrade/thread_priority.h"

namespace qirelo::upgrade {
namespace {

// Under Linux's default scheduling policy a thread has no priority of its own
// that an unprivileged process could raise, so the level is only kept.
class KeptPriority final : public ThreadPriorityControl {
public:
    void Set(TThreadPriority priority) override { priority_ = priority; }
    TThreadPriority Get() const override { return priority_; }

private:
    TThreadPriority priority_ = TThreadPriority::tpNormal;
};

} // namespace

std::unique_ptr<ThreadPriorityControl> ThreadPriorityControl::ForCurrentThread() {
    return std::make_unique<KeptPriority>();
}

} // namespace qirelo::upgrade
