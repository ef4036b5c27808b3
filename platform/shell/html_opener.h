#pragma once

#include <string>

#include "platform/shell/registry_keys.h"

namespace qirelo::platform::shell {

// The command that opens .html files, from the classes branch: the class
// named by ".html", then its "shell\open\command"; without that key, the
// command of the first verb whose name holds "open", or else of the first
// verb (in listed order) that has a non-empty one. Empty when there is no
// class, the class key does not open, or no command is found.
std::string FindHtmlOpener(RegistryKeys& classes_root);

} // namespace qirelo::platform::shell
