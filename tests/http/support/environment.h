#pragma once

// Tests point the client's hosts at their scripted servers through the
// environment variables config/hosts.h reads.

#include <cstdlib>
#include <string>

namespace qirelo::http::testing {

inline void set_environment(const char* name, const std::string& value) {
#ifdef _WIN32
    _putenv_s(name, value.c_str());
#else
    setenv(name, value.c_str(), 1);
#endif
}

} // namespace qirelo::http::testing
