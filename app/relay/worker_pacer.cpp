#include "app/relay/worker_pacer.h"

#include <chrono>

namespace qirelo::app::relay {

void WorkerPacer::Sleep(int milliseconds) {
    worker_.Sleep(std::chrono::milliseconds(milliseconds));
}

} // namespace qirelo::app::relay
