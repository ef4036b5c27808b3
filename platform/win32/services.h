#pragma once

// The Win32 implementations of every platform concern, and the services
// bundle over them: what Qirelo.exe hands its main window.

#include <memory>

#include "platform/fpu/fpu.h"
#include "platform/inet/internet.h"
#include "platform/inet/local_system.h"
#include "platform/profile/os_profile.h"
#include "platform/services.h"
#include "platform/shell/os_shell.h"
#include "platform/win32/input.h"
#include "platform/win32/system.h"

namespace qirelo::platform::win32 {

struct Win32Platform {
    OsPrivateProfile profile;
    OsMachine machine;
    X87Fpu fpu;
    Win32Keyboard keyboard;
    Win32Pointer pointer;
    Win32WaveVolume wave_volume;
    Win32Power power;

    std::unique_ptr<inet::Internet> internet = inet::os_internet();
    std::unique_ptr<inet::LocalSystem> local_system = inet::os_local_system();
    std::unique_ptr<shell::Shell> shell = shell::MakeOsShell();
    std::unique_ptr<shell::OnlineCheck> online = shell::MakeOsOnlineCheck();

    Services services() {
        return Services{profile, machine,   fpu,           keyboard, pointer, wave_volume,
                        power,   *internet, *local_system, *shell,   *online};
    }
};

} // namespace qirelo::platform::win32
