#pragma once

// The platform services the main window reaches the system through, handed to
// it in one bundle. Each concern adds its interface here; the Win32 program,
// the native build and the tests each fill the bundle with their own
// implementations (platform/fake/services.h for tests).

namespace qirelo::platform {

class PrivateProfile;
class Machine;
class Fpu;

struct Services {
    PrivateProfile& profile; // users.ini
    Machine& machine;        // computer name, the executable's folder
    Fpu& fpu;                // the x87 control word
};

} // namespace qirelo::platform
