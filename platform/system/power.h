#pragma once

// Powering the machine off: the process token's shutdown privilege, then the
// power-off request itself. Tests use the recording fake; the Win32 power-off
// only prints "power-off requested" while QIRELO_FAKE_POWER=1.

#include <memory>

namespace qirelo::platform::system {

// The current process's token, opened for adjusting privileges; closed when
// the object goes.
class ProcessToken {
public:
    virtual ~ProcessToken() = default;

    // Looks up "SeShutdownPrivilege" and enables it in the token. True when the
    // system then reports no error (GetLastError 0), that is, it is enabled.
    virtual bool enable_shutdown_privilege() = 0;
};

class Power {
public:
    virtual ~Power() = default;

    // OpenProcessToken(current process, TOKEN_ADJUST_PRIVILEGES | TOKEN_QUERY):
    // nullptr when the system refuses.
    virtual std::unique_ptr<ProcessToken> open_process_token() = 0;

    // ExitWindowsEx(EWX_POWEROFF, 0): asks the system to shut down and power
    // off; applications may still veto. A refusal is not reported.
    virtual void power_off() = 0;
};

// True when QIRELO_FAKE_POWER is "1": the power-off is only announced.
bool fake_power_requested();

} // namespace qirelo::platform::system
