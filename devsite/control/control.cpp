#include "devsite/control/control.h"

#include "devsite/http/text_codec.h"
#include "devsite/site/site.h"

namespace qirelo::devsite {
namespace {

constexpr std::string_view kHelp = R"(qirelo-devsite control API
GET    /                   this list
PUT    /records/<id>       body "stamp|command": the member's record as it is
POST   /commands/<id>      body "command": stored as "<timer number>|command"
GET    /records/<id>       the member's record (404 when none)
GET    /events             the play pages' reports, JSON
GET    /requests[?server=] the requests the servers received, JSON
                           (server: site, mobile, relay, timer)
PUT    /info               body: the info file served from now on
DELETE /info               back to the default info file
GET    /members            id and name of every member, JSON
POST   /members            form username, password: a new member, JSON
POST   /reset              back to a fresh companion
)";

bool is_write(const Request& request) {
    return request.method == "PUT" || request.method == "POST";
}

std::string member_json(const Member& member) {
    return "{\"id\":" + json_string(member.id) + ",\"name\":" + json_string(member.name) + "}";
}

template <typename Item, typename Write>
std::string json_array(const std::vector<Item>& items, Write write) {
    std::string json = "[";
    for (const auto& item : items)
        json += (json.size() > 1 ? ",\n" : "\n") + write(item);
    return json + "\n]\n";
}

Response records(SiteState& state, const Request& request, const std::string& id, bool stamped) {
    if (is_get(request) && !stamped) {
        auto record = state.records.get(id);
        return record ? text_response(*record) : error_response(404, "no record for this member");
    }
    if (!is_write(request))
        return method_not_allowed(stamped ? "PUT, POST" : "GET, HEAD, PUT, POST");
    try {
        auto record = stamped ? state.send_command(id, request.body) : request.body;
        if (!stamped)
            state.set_record(id, record);
        return text_response(record);
    } catch (const RecordError& error) {
        return error_response(400, error.what());
    }
}

Response members(SiteState& state, const Request& request) {
    if (is_get(request))
        return text_response(json_array(state.members.all(), member_json), kJsonType);
    if (request.method != "POST")
        return method_not_allowed("GET, HEAD, POST");
    auto fields = request_fields(request);
    try {
        return text_response(
            member_json(state.register_member(fields["username"], fields["password"])) + "\n",
            kJsonType);
    } catch (const RegistrationError& error) {
        return error_response(400, error.what());
    }
}

Response info(SiteState& state, const Request& request) {
    if (is_get(request))
        return text_response(
            state.info.text(state.addresses.host + ":" + std::to_string(state.addresses.site)),
            "text/plain; charset=gb2312");
    if (request.method == "DELETE")
        state.info.reset();
    else if (is_write(request))
        state.info.set(request.body);
    else
        return method_not_allowed("GET, HEAD, PUT, POST, DELETE");
    return text_response("", kTextType, 204);
}

Response requests(SiteState& state, const Request& request) {
    if (!is_get(request))
        return method_not_allowed("GET, HEAD");
    auto server = parse_form(request.query)["server"];
    auto logged = state.requests.list();
    if (!server.empty())
        std::erase_if(logged, [&](const LoggedRequest& entry) { return entry.server != server; });
    return text_response(requests_json(logged), kJsonType);
}

} // namespace

std::string events_json(const std::vector<PlayEvent>& events) {
    return json_array(events, [](const PlayEvent& event) {
        return "{\"sequence\":" + std::to_string(event.sequence) +
               ",\"page\":" + json_string(event.page) + ",\"kind\":" + json_string(event.kind) +
               ",\"detail\":" + json_string(event.detail) + "}";
    });
}

std::string requests_json(const std::vector<LoggedRequest>& requests) {
    return json_array(requests, [](const LoggedRequest& entry) {
        std::string headers = "[";
        for (const auto& [name, value] : entry.headers)
            headers += (headers.size() > 1 ? "," : "") + std::string("[") + json_string(name) +
                       "," + json_string(value) + "]";
        return "{\"sequence\":" + std::to_string(entry.sequence) +
               ",\"server\":" + json_string(entry.server) +
               ",\"method\":" + json_string(entry.method) +
               ",\"target\":" + json_string(entry.target) +
               ",\"connection\":" + std::to_string(entry.connection) + ",\"headers\":" + headers +
               "]}";
    });
}

Response handle_control(SiteState& state, const Request& request) {
    const auto& path = request.path;
    for (auto [prefix, stamped] : {std::pair{std::string_view("/records/"), false},
                                   std::pair{std::string_view("/commands/"), true}})
        if (path.compare(0, prefix.size(), prefix) == 0)
            return records(state, request, path.substr(prefix.size()), stamped);
    if (path == "/members")
        return members(state, request);
    if (path == "/info")
        return info(state, request);
    if (path == "/requests")
        return requests(state, request);
    if (path == "/events")
        return is_get(request) ? text_response(events_json(state.events.list()), kJsonType)
                               : method_not_allowed("GET, HEAD");
    if (path == "/reset") {
        if (request.method != "POST")
            return method_not_allowed("POST");
        state.reset();
        return text_response("", kTextType, 204);
    }
    if (path == "/")
        return is_get(request) ? text_response(std::string(kHelp))
                               : method_not_allowed("GET, HEAD");
    return error_response(404, "not found");
}

} // namespace qirelo::devsite
