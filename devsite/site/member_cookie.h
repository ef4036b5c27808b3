#pragma once

// The site's login cookie. The client finds its member id by looking for
// "user%5Fid=" in document.cookie and reading up to the next ";", so the
// member cookie is set first and a second cookie after it: browsers list
// cookies of one path in the order they were created, which puts a ";" behind
// the id. Logging out removes both, so a later login creates them afresh in
// that order again.

#include "devsite/http/http_request.h"
#include "devsite/http/http_response.h"
#include "devsite/stores/members.h"

#include <optional>
#include <string_view>

namespace qirelo::devsite {

inline constexpr std::string_view kMemberCookie = "user%5Fid";
inline constexpr std::string_view kNameCookie = "user%5Fname";

void sign_in(Response& response, const Member& member);
void sign_out(Response& response);

// The member whose id the request's cookie names, if that member exists.
std::optional<Member> signed_in_member(const Request& request, const Members& members);

} // namespace qirelo::devsite
