#pragma once

// The local name of a file that the update server's list names. Whatever the
// server sends is untrusted: a download is only ever written under a plain
// file name in the program's own folder, never a path, a device or a name
// Windows would read differently.

#include <optional>
#include <string>
#include <string_view>

namespace qirelo::upgrade {

// The last element of the URL's path, slashes read as backslashes: the text
// after the last '/' or '\' once the scheme and host ("http://host") and any
// query or fragment ('?', '#' onwards) are cut off. Empty when the path ends
// in a separator or there is no path.
std::string UrlFileName(std::string_view url);

// True for a name that is safe to create in the program's folder: not empty,
// at most kMaxPlainNameBytes bytes (room for the ".uTMP" suffix), no
// character Windows forbids in a name (\ / : * ? " < > |) and no control
// character, no leading or trailing blank or dot, and not a device name (CON,
// PRN, AUX, NUL, COM0-COM9, LPT0-LPT9, CONIN$, CONOUT$) in any letter case,
// with or without an extension ("nul.txt", "Com1 .tar.gz").
bool IsPlainFileName(std::string_view name);

// The local name of a listed file, or nullopt when the URL's file name is not
// a plain file name (the file then counts as lost).
std::optional<std::string> LocalFileName(std::string_view url);

inline constexpr std::size_t kMaxPlainNameBytes = 250;

} // namespace qirelo::upgrade
