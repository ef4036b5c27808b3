#include <windows.h>

#include <cstdio>

#include "platform/win32/system.h"

namespace qirelo::platform::win32 {

namespace {

class Win32ProcessToken final : public system::ProcessToken {
public:
    explicit Win32ProcessToken(HANDLE token) : token_(token) {}
    ~Win32ProcessToken() override { ::CloseHandle(token_); }
    Win32ProcessToken(const Win32ProcessToken&) = delete;
    Win32ProcessToken& operator=(const Win32ProcessToken&) = delete;

    bool enable_shutdown_privilege() override {
        TOKEN_PRIVILEGES wanted{};
        wanted.PrivilegeCount = 1;
        wanted.Privileges[0].Attributes = SE_PRIVILEGE_ENABLED;
        ::LookupPrivilegeValueA(nullptr, "SeShutdownPrivilege", &wanted.Privileges[0].Luid);
        TOKEN_PRIVILEGES previous{};
        DWORD previous_length = 0;
        ::AdjustTokenPrivileges(token_, FALSE, &wanted, sizeof previous, &previous,
                                &previous_length);
        // AdjustTokenPrivileges succeeds even when it enabled nothing
        // (ERROR_NOT_ALL_ASSIGNED): only the error code tells.
        return ::GetLastError() == ERROR_SUCCESS;
    }

private:
    HANDLE token_;
};

} // namespace

std::unique_ptr<system::ProcessToken> Win32Power::open_process_token() {
    HANDLE token = nullptr;
    if (!::OpenProcessToken(::GetCurrentProcess(), TOKEN_ADJUST_PRIVILEGES | TOKEN_QUERY, &token)) {
        return nullptr;
    }
    return std::make_unique<Win32ProcessToken>(token);
}

void Win32Power::power_off() {
    if (system::fake_power_requested()) {
        std::puts("power-off requested");
        std::fflush(stdout);
        return;
    }
    ::ExitWindowsEx(EWX_POWEROFF, 0);
}

} // namespace qirelo::platform::win32
