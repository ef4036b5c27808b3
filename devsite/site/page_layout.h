#pragma once

// The frame shared by the companion's pages: a UTF-8 HTML document (the
// charset stands in the header and in the page), styled for a desktop
// browser or for a phone.

#include "devsite/http/http_request.h"
#include "devsite/stores/site_state.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace qirelo::devsite {

enum class Layout { desktop, phone };

// `title` is plain text; `body` is HTML.
std::string page(std::string_view title, std::string_view body, Layout layout);

// "host:port" of one of the companion's servers as the browser should reach
// it: the host the request was sent to (so links work from a phone on the
// LAN too), with that server's port.
std::string server_address(const Request& request, const Addresses& addresses, std::uint16_t port);

} // namespace qirelo::devsite
