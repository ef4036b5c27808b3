#pragma once

// Who turns a host name into an IPv4 address: the system's resolver, or, in
// tests, a stand-in put in its place for the whole process (a lookup that
// blocks, say, which no real resolver can be made to do on demand).

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

namespace qirelo::platform::net {

// Blocks until `host` is found (its address, host byte order) or raises
// SocketError.
using NameLookup = std::function<std::uint32_t(const std::string& host)>;

// The lookup in force now. A lookup under way holds on to the one it started
// with, so replacing it never pulls it from under a running call.
std::shared_ptr<const NameLookup> current_name_lookup();

// Puts `stand_in` in place of the system's lookup until destroyed.
class ScopedNameLookup {
public:
    explicit ScopedNameLookup(NameLookup stand_in);
    ~ScopedNameLookup();
    ScopedNameLookup(const ScopedNameLookup&) = delete;
    ScopedNameLookup& operator=(const ScopedNameLookup&) = delete;

private:
    std::shared_ptr<const NameLookup> previous_;
};

} // namespace qirelo::platform::net
