#pragma once

// The relay server ("/monitor/<id>.jpg": the member's latest record as text,
// empty when none) and the timer host ("/member/timer.asp": the current
// number). The bodies carry no line end: the client's number conversion
// fails on one.

#include "devsite/http/http_request.h"
#include "devsite/http/http_response.h"
#include "devsite/stores/site_state.h"

namespace qirelo::devsite {

Response handle_relay(SiteState& state, const Request& request);
Response handle_timer(SiteState& state, const Request& request);

} // namespace qirelo::devsite
