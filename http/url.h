#pragma once

// The target of a request and the rules that resolve a URL (or a redirect's
// Location) against the previous target.

#include <string>
#include <string_view>

namespace qirelo::http {

struct Target {
    std::string scheme; // lower case; "http" when the URL gave none
    std::string user;   // kept, never sent: no credentials are supplied
    std::string password;
    std::string host;
    int port = 80;
    std::string directory; // up to and including the last "/" before the query
    std::string document;  // the rest of the path before the query
    std::string query;     // from "?" (or, without one, from "=") to the fragment

    // What goes on the request line: directory, document and query as they
    // stand (resolve_url has already percent-encoded their bytes >= 0x80).
    std::string request_target() const { return directory + document + query; }
};

// Resolves `url` against `current`, the previous target:
// - backslashes become slashes (not the second byte of a double-byte character);
// - the fragment is dropped; the query starts at the first "?", else at the first "=";
// - "scheme://[user[:password]@]host[:port]path" is absolute; anything else is
//   relative: the host stays, a path starting with "/" replaces the directory,
//   any other is appended to it and "." and ".." are resolved;
// - without a port, a current port of 0, 80 or 443 gives the scheme's default
//   (80 http, 443 https; EHttpUnknownProtocol otherwise); any other current
//   port stays, also for another host.
// - bytes >= 0x80 of the directory, document and query become "%HH" (upper-case
//   hex); nothing else is encoded, and an existing "%HH" stays as it is.
// Raises EHttpError("Invalid URL") when the host is missing, the host holds a
// control character, a blank or a byte >= 0x80, or the request target a control
// character or a blank, so such bytes never reach the wire; an empty path
// becomes "/".
Target resolve_url(const Target& current, std::string_view url);

} // namespace qirelo::http
