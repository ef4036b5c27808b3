#pragma once

// What the client asks of the machine and of its own process: the computer's
// name and the folder the executable lies in.

#include <string>

namespace qirelo::platform {

class Machine {
public:
    virtual ~Machine() = default;

    // GetComputerNameA into a 255-byte buffer: the 8-bit name, or empty when
    // the system does not give one (never whatever the buffer held).
    virtual std::string computer_name() = 0;

    // The directory part of the executable's own path, ending in the
    // directory separator ("C:\Program Files\Qirelo\").
    virtual std::string executable_directory() = 0;
};

} // namespace qirelo::platform
