#pragma once

// The client's version, as it stands in the status bar, users.ini, the home
// page and the upgrader.

namespace qirelo::app {

inline constexpr const char* kVersion = "2013.8.9.0";

} // namespace qirelo::app
