#pragma once

// The machine's own opener and on-line check: the Win32 ones (registry,
// shell32, Winsock) on Windows, xdg-open and the network interfaces on Linux.

#include <memory>

#include "platform/shell/online.h"
#include "platform/shell/shell.h"

namespace qirelo::platform::shell {

std::unique_ptr<Shell> MakeOsShell();
std::unique_ptr<OnlineCheck> MakeOsOnlineCheck();

} // namespace qirelo::platform::shell
