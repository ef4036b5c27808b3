#include "platform/net/name_lookup.h"

#include "platform/net/socket_os.h"

#include <mutex>
#include <utility>

namespace qirelo::platform::net {

namespace {

std::mutex lookup_mutex;

std::shared_ptr<const NameLookup>& lookup_in_force() {
    static std::shared_ptr<const NameLookup> lookup =
        std::make_shared<const NameLookup>(os::lookup_ipv4);
    return lookup;
}

std::shared_ptr<const NameLookup> exchange_lookup(std::shared_ptr<const NameLookup> next) {
    const std::lock_guard lock(lookup_mutex);
    return std::exchange(lookup_in_force(), std::move(next));
}

} // namespace

std::shared_ptr<const NameLookup> current_name_lookup() {
    const std::lock_guard lock(lookup_mutex);
    return lookup_in_force();
}

ScopedNameLookup::ScopedNameLookup(NameLookup stand_in)
    : previous_(exchange_lookup(std::make_shared<const NameLookup>(std::move(stand_in)))) {}

ScopedNameLookup::~ScopedNameLookup() {
    exchange_lookup(std::move(previous_));
}

} // namespace qirelo::platform::net
