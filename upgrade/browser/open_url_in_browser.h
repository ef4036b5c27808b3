#pragma once

// Opening the download page that an info file names in the user's browser.

#include <string>
#include <string_view>

#include "platform/shell/shell.h"

namespace qirelo::upgrade {

// "host/setup/" becomes "http://host/setup/": an address without "://" is
// taken as a web address.
std::string WithDefaultScheme(std::string_view url);

// True for "http://" and "https://" addresses (the scheme in any case).
bool IsWebAddress(std::string_view url);

// The page as one argument: blanks, control characters and double quotes,
// which could end it or add arguments of their own, are percent-encoded.
std::string AsSingleArgument(std::string_view url);

// Hands `url` (with the default scheme) to the program registered for .html
// files, the URL its only argument, or, when there is no such program, when
// it is rundll32 (which needs arguments of its own to open anything) or when
// its file is not there, to the shell's "open" directly. Anything but an
// http(s) address is not opened at all: an info file must never make the
// client run a local program. Returns whether the address was handed on;
// whether the browser then opens it is not known.
bool OpenUrlInBrowser(std::string_view url, platform::shell::Shell& shell);

} // namespace qirelo::upgrade
