#pragma once

// The update server's info file "/setup/qirelo_play.inf". By default it
// announces the client's own version with the redirect method and the
// "/setup/" page, so a client of this version finds nothing newer; tests set
// other contents through the control API.

#include <mutex>
#include <optional>
#include <string>
#include <string_view>

namespace qirelo::devsite {

inline constexpr std::string_view kClientVersion = QIRELO_CLIENT_VERSION;

// In code page 936, as the client reads it. `site_host` may carry ":port".
std::string default_info_file(std::string_view site_host);

class InfoFile {
public:
    std::string text(std::string_view site_host) const;
    void set(std::string content); // bytes served as they are
    void reset();

private:
    mutable std::mutex mutex_;
    std::optional<std::string> override_;
};

} // namespace qirelo::devsite
