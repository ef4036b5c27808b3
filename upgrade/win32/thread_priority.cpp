#include "upgrade/thread_priority.h"

#include <windows.h>

#include <array>
#include <utility>

namespace qirelo::upgrade {
namespace {

constexpr std::array<std::pair<TThreadPriority, int>, 7> kLevels{{
    {TThreadPriority::tpIdle, THREAD_PRIORITY_IDLE},
    {TThreadPriority::tpLowest, THREAD_PRIORITY_LOWEST},
    {TThreadPriority::tpLower, THREAD_PRIORITY_BELOW_NORMAL},
    {TThreadPriority::tpNormal, THREAD_PRIORITY_NORMAL},
    {TThreadPriority::tpHigher, THREAD_PRIORITY_ABOVE_NORMAL},
    {TThreadPriority::tpHighest, THREAD_PRIORITY_HIGHEST},
    {TThreadPriority::tpTimeCritical, THREAD_PRIORITY_TIME_CRITICAL},
}};

// GetCurrentThread() is a pseudo handle valid only on its own thread; a
// duplicate is a real handle other threads may use.
class Win32Priority final : public ThreadPriorityControl {
public:
    Win32Priority() {
        DuplicateHandle(GetCurrentProcess(), GetCurrentThread(), GetCurrentProcess(), &handle_,
                        THREAD_QUERY_INFORMATION | THREAD_SET_INFORMATION, FALSE, 0);
    }
    ~Win32Priority() override {
        if (handle_) {
            CloseHandle(handle_);
        }
    }
    Win32Priority(const Win32Priority&) = delete;
    Win32Priority& operator=(const Win32Priority&) = delete;

    void Set(TThreadPriority priority) override {
        for (const auto& [level, value] : kLevels) {
            if (level == priority) {
                SetThreadPriority(handle_, value);
            }
        }
    }

    TThreadPriority Get() const override {
        const int value = GetThreadPriority(handle_);
        for (const auto& [level, known] : kLevels) {
            if (known == value) {
                return level;
            }
        }
        return TThreadPriority::tpNormal;
    }

private:
    HANDLE handle_ = nullptr;
};

} // namespace

std::unique_ptr<ThreadPriorityControl> ThreadPriorityControl::ForCurrentThread() {
    return std::make_unique<Win32Priority>();
}

} // namespace qirelo::upgrade
