#include "devsite/site/member_cookie.h"

#include "devsite/http/text_codec.h"

namespace qirelo::devsite {

void sign_in(Response& response, const Member& member) {
    response.with_header("Set-Cookie",
                         std::string(kMemberCookie) + "=" + percent_encode(member.id) + "; path=/");
    response.with_header("Set-Cookie",
                         std::string(kNameCookie) + "=" + percent_encode(member.name) + "; path=/");
}

void sign_out(Response& response) {
    // Expires rather than Max-Age: the client's browser control knows only Expires.
    for (auto name : {kMemberCookie, kNameCookie})
        response.with_header("Set-Cookie", std::string(name) +
                                               "=; path=/; expires=Thu, 01 Jan 1970 00:00:00 GMT");
}

std::optional<Member> signed_in_member(const Request& request, const Members& members) {
    auto cookies = request_cookies(request);
    auto found = cookies.find(std::string(kMemberCookie));
    if (found == cookies.end() || found->second.empty())
        return std::nullopt;
    try {
        return members.find_by_id(percent_decode(found->second, false));
    } catch (const HttpRequestError&) {
        return std::nullopt; // a cookie we did not write
    }
}

} // namespace qirelo::devsite
