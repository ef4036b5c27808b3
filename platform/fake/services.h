#pragma once

// Every platform fake in one place, and the services bundle over them: what a
// test of the main window constructs.

#include "platform/fake/input.h"
#include "platform/fake/internet.h"
#include "platform/fake/profile.h"
#include "platform/fake/shell.h"
#include "platform/fake/system.h"
#include "platform/services.h"

namespace qirelo::platform::fake {

struct FakePlatform {
    FakePrivateProfile profile;
    FakeMachine machine;
    FakeFpu fpu;
    CallLog calls; // keyboard, pointer, volume and power, in one order
    FakeKeyboard keyboard{calls};
    FakePointer pointer{calls, {800, 600}};
    FakeWaveVolume wave_volume{calls};
    FakePower power{calls};
    // The update server does not answer unless a test scripts it.
    FakeLocalSystem local_system;
    FakeInternet internet{&local_system};
    CallLog shell_calls; // the browser and the on-line check
    FakeShell shell{shell_calls};
    FakeOnlineCheck online{shell_calls};

    Services services() {
        return Services{profile, machine,  fpu,          keyboard, pointer, wave_volume,
                        power,   internet, local_system, shell,    online};
    }
};

} // namespace qirelo::platform::fake
