#include "upgrade/fake/manual_main_thread.h"

namespace qirelo::upgrade::fake {

bool ManualMainThread::ServeUntil(const std::function<bool()>& done,
                                  std::chrono::milliseconds limit) {
    const auto deadline = std::chrono::steady_clock::now() + limit;
    while (!done() && std::chrono::steady_clock::now() < deadline) {
        ServeFor(std::chrono::milliseconds(5));
    }
    return done();
}

} // namespace qirelo::upgrade::fake
