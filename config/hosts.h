#pragma once

#include <string>

// The host names of the site and its servers. Each is chosen at build time and
// may be overridden by the environment variable of the same name. A host may
// carry ":port".
namespace qirelo::config {

inline constexpr int kRelayPort = 12861;

std::string site_host();   // QIRELO_SITE_HOST: login, register, play pages, updates
std::string mobile_host(); // QIRELO_MOBILE_HOST: the phone pages
std::string
relay_host(); // QIRELO_RELAY_HOST: the relay server, on kRelayPort unless it names a port
std::string timer_host(); // QIRELO_TIMER_HOST: the timer number

} // namespace qirelo::config
