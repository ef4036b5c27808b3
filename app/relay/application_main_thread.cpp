#include "app/relay/application_main_thread.h"

namespace qirelo::relay {

bool ApplicationMainThread::Synchronize(const std::function<void()>& call, std::stop_token stop) {
    try {
        application_.synchronize(call, stop);
        return true;
    } catch (const ui::SynchronizeCancelled&) {
        return false;
    }
}

void ApplicationMainThread::ServeFor(std::chrono::milliseconds upTo) {
    application_.process_messages();
    application_.wait_synchronize(upTo);
}

} // namespace qirelo::relay
