#include "config/hosts.h"

#include "config/hosts_default.h"

#include <cstdlib>

namespace qirelo::config {
namespace {

std::string from_environment(const char* name, const char* fallback) {
    const char* value = std::getenv(name);
    return value && *value ? value : fallback;
}

} // namespace

std::string site_host() { return from_environment("QIRELO_SITE_HOST", QIRELO_DEFAULT_SITE_HOST); }
std::string mobile_host() {
    return from_environment("QIRELO_MOBILE_HOST", QIRELO_DEFAULT_MOBILE_HOST);
}
std::string relay_host() {
    return from_environment("QIRELO_RELAY_HOST", QIRELO_DEFAULT_RELAY_HOST);
}
std::string timer_host() {
    return from_environment("QIRELO_TIMER_HOST", QIRELO_DEFAULT_TIMER_HOST);
}

} // namespace qirelo::config
