#pragma once

// The client's version, as it stands in the status bar, users.ini, the home
// page and the upgrader.

namespace qirelo::app {

// A test build of another version defines QIRELO_VERSION_TEXT
// (tests/e2e/win32: the program an upgrade replaces Qirelo.exe with).
#ifndef QIRELO_VERSION_TEXT
#define QIRELO_VERSION_TEXT "2013.8.9.0"
#endif

inline constexpr const char* kVersion = QIRELO_VERSION_TEXT;

} // namespace qirelo::app
