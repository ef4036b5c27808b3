#pragma once

// The mobile site: phone-sized pages where a signed-in member picks a video
// or a player command. Each tap stores the member's relay record
// "<timer number>|<command>".

#include "devsite/http/http_request.h"
#include "devsite/http/http_response.h"
#include "devsite/stores/site_state.h"

#include <optional>
#include <string>

namespace qirelo::devsite {

Response handle_mobile(SiteState& state, const Request& request);

// The command for the fields of a tap ("action", "video", "episode", "dir",
// "count"); nullopt when they make none.
std::optional<std::string> command_from_tap(const std::map<std::string, std::string>& fields);

// What a command does, in words for the phone ("快进 3 次").
std::string describe_command(const std::string& command);

} // namespace qirelo::devsite
