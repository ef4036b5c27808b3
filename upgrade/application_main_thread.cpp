#include "upgrade/application_main_thread.h"

namespace qirelo::upgrade {

void ApplicationMainThread::ServeFor(std::chrono::milliseconds upTo) {
    application_.process_messages();
    application_.wait_synchronize(upTo);
}

} // namespace qirelo::upgrade
