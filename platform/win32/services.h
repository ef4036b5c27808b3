#pragma once

// The Win32 implementations of every platform concern, and the services
// bundle over them: what Qirelo.exe hands its main window.

#include "platform/fpu/fpu.h"
#include "platform/profile/os_profile.h"
#include "platform/services.h"
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

    Services services() {
        return Services{profile, machine, fpu, keyboard, pointer, wave_volume, power};
    }
};

} // namespace qirelo::platform::win32
