#include "app/login/computer_name_key.h"

namespace qirelo::login {

std::string GetComputerNameKey(platform::Machine& machine) {
    return machine.computer_name();
}

} // namespace qirelo::login
