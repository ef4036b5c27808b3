#pragma once

// Every platform fake in one place, and the services bundle over them: what a
// test of the main window constructs.

#include "platform/fake/profile.h"
#include "platform/services.h"

namespace qirelo::platform::fake {

struct FakePlatform {
    FakePrivateProfile profile;
    FakeMachine machine;
    FakeFpu fpu;

    Services services() { return Services{profile, machine, fpu}; }
};

} // namespace qirelo::platform::fake
