#include "app/login/computer_name_key.h"

namespace qirelo::app::login {

std::string GetComputerNameKey(platform::Machine& machine) {
    return machine.computer_name();
}

} // namespace qirelo::app::login
