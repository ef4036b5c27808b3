#include "devsite/relay/relay.h"

#include "devsite/site/site.h"

namespace qirelo::devsite {
namespace {

constexpr std::string_view kMonitorPrefix = "/monitor/", kMonitorSuffix = ".jpg";

} // namespace

Response handle_relay(SiteState& state, const Request& request) {
    const auto& path = request.path;
    bool monitor = path.size() > kMonitorPrefix.size() + kMonitorSuffix.size() &&
                   path.compare(0, kMonitorPrefix.size(), kMonitorPrefix) == 0 &&
                   path.compare(path.size() - kMonitorSuffix.size(), kMonitorSuffix.size(),
                                kMonitorSuffix) == 0;
    if (!monitor)
        return error_response(404, "not found");
    if (!is_get(request))
        return method_not_allowed("GET, HEAD");
    auto id = path.substr(kMonitorPrefix.size(),
                          path.size() - kMonitorPrefix.size() - kMonitorSuffix.size());
    return text_response(state.records.get(id).value_or(""), "text/plain; charset=gb2312");
}

Response handle_timer(SiteState& state, const Request& request) {
    if (request.path != "/member/timer.asp")
        return error_response(404, "not found");
    if (!is_get(request))
        return method_not_allowed("GET, HEAD");
    return text_response(state.clock.now(), "text/plain; charset=gb2312");
}

} // namespace qirelo::devsite
