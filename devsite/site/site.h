#pragma once

// The site's main host: home page, login, registration, the one-key login
// stand-in, logout, the play pages with their test player, and the update
// server's "/setup/" folder.

#include "devsite/http/http_request.h"
#include "devsite/http/http_response.h"
#include "devsite/stores/site_state.h"

namespace qirelo::devsite {

Response handle_site(SiteState& state, const Request& request);

// The play pages: "/m0<id>/play<n>.html" and "/m/play_web.asp?id=<id>&play=<n>",
// and the reports their player posts to "/player/report". nullopt when the
// request is for none of them.
std::optional<Response> handle_play(SiteState& state, const Request& request);

bool is_get(const Request& request); // GET or HEAD
Response method_not_allowed(std::string_view allowed);

} // namespace qirelo::devsite
