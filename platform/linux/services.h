#pragma once

// The Linux implementations of every platform concern, and the services
// bundle over them: what the Linux client hands its main window.

#include <functional>
#include <memory>

#include "platform/fpu/fpu.h"
#include "platform/inet/internet.h"
#include "platform/inet/local_system.h"
#include "platform/linux/input.h"
#include "platform/linux/system.h"
#include "platform/profile/os_profile.h"
#include "platform/services.h"
#include "platform/shell/os_shell.h"

namespace qirelo::platform::native {

struct LinuxPlatform {
    // `invalid_key_name` shows the keystroke sender's "Invalid KeyName" box;
    // `settle` waits until the program's windows have taken the input sent.
    LinuxPlatform(std::function<void()> invalid_key_name, std::function<void()> settle)
        : display(std::make_shared<XDisplay>()),
          keyboard(display, std::move(invalid_key_name), std::move(settle)), pointer(display) {}

    std::shared_ptr<XDisplay> display;
    OsPrivateProfile profile;
    OsMachine machine;
    X87Fpu fpu;
    XKeyboard keyboard;
    XPointer pointer;
    AlsaWaveVolume wave_volume;
    LogindPower power;

    std::unique_ptr<inet::Internet> internet = inet::os_internet();
    std::unique_ptr<inet::LocalSystem> local_system = inet::os_local_system();
    std::unique_ptr<shell::Shell> shell = shell::MakeOsShell();
    std::unique_ptr<shell::OnlineCheck> online = shell::MakeOsOnlineCheck();

    Services services() {
        return Services{profile, machine,   fpu,           keyboard, pointer, wave_volume,
                        power,   *internet, *local_system, *shell,   *online};
    }
};

} // namespace qirelo::platform::native
