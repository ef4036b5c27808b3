#pragma once

// Which of two dotted version numbers is newer.

#include <string_view>

namespace qirelo::upgrade {

// 1 when `server` is the newer version, -1 when `own` is, 0 when they are
// equal. Each is cut into four parts at its dots (a missing part is "0", text
// after the fourth part is ignored) and the parts compare as numbers, so
// 2013.10.1 is newer than 2013.9.30 and 2013.8.9 equals 2013.8.9.0. As soon as
// a position holds a part that is not a number (empty, not decimal, or -1)
// the two whole strings decide, byte by byte.
int CompareVersions(std::string_view server, std::string_view own);

// True when CompareVersions says the server's version is newer.
bool IsNewerVersionNumber(std::string_view server, std::string_view own);

} // namespace qirelo::upgrade
