#include "app/relay/application_main_thread.h"

namespace qirelo::app::relay {

void ApplicationMainThread::ServeFor(std::chrono::milliseconds upTo) {
    application_.process_messages();
    application_.wait_synchronize(upTo);
}

} // namespace qirelo::app::relay
