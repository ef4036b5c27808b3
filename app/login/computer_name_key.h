#pragma once

#include <string>

#include "platform/profile/machine.h"

namespace qirelo::app::login {

// The key the saved password is scrambled with: this computer's name, so a
// saved password reads back only on the machine that saved it. A name the
// system does not give is the empty key (the scrambler's default key).
std::string GetComputerNameKey(platform::Machine& machine);

} // namespace qirelo::app::login
