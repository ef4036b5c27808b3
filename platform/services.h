#pragma once

// The platform services the main window reaches the system through, handed to
// it in one bundle. Each concern adds its interface here; the Win32 program,
// the native build and the tests each fill the bundle with their own
// implementations (platform/fake/services.h for tests).

namespace qirelo::platform {

class PrivateProfile;
class Machine;
class Fpu;
namespace input {
class Keyboard;
class Pointer;
} // namespace input
namespace system {
class WaveVolume;
class Power;
} // namespace system
namespace inet {
class Internet;
class LocalSystem;
} // namespace inet
namespace shell {
class Shell;
class OnlineCheck;
} // namespace shell

struct Services {
    PrivateProfile& profile;         // users.ini
    Machine& machine;                // computer name, the executable's folder
    Fpu& fpu;                        // the x87 control word
    input::Keyboard& keyboard;       // synthesised keys, the layout, key states
    input::Pointer& pointer;         // the system pointer, clicks, screen size
    system::WaveVolume& wave_volume; // wave-out device 0
    system::Power& power;            // shutdown privilege and power-off
    inet::Internet& internet;        // the update server's info file
    inet::LocalSystem& local_system; // the transfers' clock and file attributes
    shell::Shell& shell;             // the user's browser, for the download page
    shell::OnlineCheck& online;      // asked before an automatic update check
};

} // namespace qirelo::platform
