#pragma once

// The control API for tests, served only on loopback:
//
//   GET    /                   this list, as text
//   PUT    /records/<id>       body "stamp|command": the member's record as it is
//   POST   /commands/<id>      body "command": stored as "<timer number>|command"
//   GET    /records/<id>       the member's record (404 when none)
//   GET    /events             the play pages' reports, JSON
//   GET    /requests[?server=] the requests the servers received, JSON
//   PUT    /info               body: the info file served from now on
//   DELETE /info               back to the default info file
//   GET    /members            id and name of every member, JSON
//   POST   /members            form username, password: a new member, JSON
//   POST   /reset              back to a fresh companion
//   ...    /update/...         the update server (devsite/update/update_control.h)
//
// PUT and POST are both accepted where one of them is listed. Refusals are
// 400 with the reason as text.

#include "devsite/http/http_request.h"
#include "devsite/http/http_response.h"
#include "devsite/stores/site_state.h"

namespace qirelo::devsite {

Response handle_control(SiteState& state, const Request& request);

std::string events_json(const std::vector<PlayEvent>& events);
std::string requests_json(const std::vector<LoggedRequest>& requests);

} // namespace qirelo::devsite
