#pragma once

#include "upgrade/custom_thread.h"

namespace qirelo::upgrade {

// The worker-thread component as the main window uses it: the same component
// with its events and settings open to its owner.
class TupThread : public TupCustomThread {
public:
    using TupCustomThread::TupCustomThread;

    using TupCustomThread::HandleExceptions;
    using TupCustomThread::OnException;
    using TupCustomThread::OnExecute;
    using TupCustomThread::OnTerminate;
    using TupCustomThread::OnWaitTimeoutExpired;
    using TupCustomThread::WaitThread;
    using TupCustomThread::WaitTimeout;
};

} // namespace qirelo::upgrade
