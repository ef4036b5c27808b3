#pragma once

// The auto-updater's host in the Windows program: the check waits in
// MsgWaitForMultipleObjects on a manual-reset event and dispatches whatever
// input comes meanwhile; the hidden window is a real one, with its own timer
// and its answer to the log-off query. Needs an application whose handed-over
// calls post a window message (the Win32 backend's wake-up).

#include "upgrade/application_host.h"

namespace qirelo::upgrade::win32 {

class NativeUpdaterHost final : public ApplicationUpdaterHost {
public:
    using ApplicationUpdaterHost::ApplicationUpdaterHost;

    std::unique_ptr<CheckDoneEvent> NewCheckDoneEvent() override;
    void WaitProcessingMessages(const CheckDoneEvent& done) override;
    std::unique_ptr<HiddenWindow> AllocateHiddenWindow() override;
};

} // namespace qirelo::upgrade::win32
