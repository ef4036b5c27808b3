#include "devsite/companion.h"

#include "devsite/control/control.h"
#include "devsite/mobile/mobile.h"
#include "devsite/relay/relay.h"
#include "devsite/site/site.h"
#include "devsite/update/setup_folder.h"
#include "devsite/update/update_control.h"

#include <algorithm>

namespace qirelo::devsite {

namespace net = platform::net;

namespace {

// The request journal wraps every server but the control API, whose own
// reads would otherwise crowd the journal tests read.
Handler journaled(SiteState& state, std::string server,
                  Response (*handle)(SiteState&, const Request&)) {
    return [&state, server = std::move(server), handle](const Request& request) {
        state.requests.add(
            {0, server, request.method, request.target, request.headers, request.connection});
        return handle(state, request);
    };
}

} // namespace

CompanionOptions ephemeral_options() {
    return {};
}

Companion::Companion(CompanionOptions options)
    : state_(std::make_unique<SiteState>(
          std::move(options.clock),
          options.data_file ? std::make_unique<DataFile>(*options.data_file) : nullptr)) {
    if (options.update_key)
        state_->signer = std::make_shared<const UpdateSigner>(*options.update_key);
    auto bind = [&](const std::string& host, std::uint16_t port) {
        return net::Listener::listen(net::resolve(host, port));
    };
    auto site = bind(options.listen, options.site_port);
    auto relay = bind(options.listen, options.relay_port);
    auto timer = bind(options.listen, options.timer_port);
    auto mobile = bind(options.listen, options.mobile_port);
    auto control = bind("127.0.0.1", options.control_port);

    auto& addresses = state_->addresses;
    addresses = {options.listen, site.port(),   relay.port(),
                 timer.port(),   mobile.port(), control.port()};
    auto serve = [&](net::Listener listener, Handler handler) {
        servers_.push_back(
            std::make_unique<HttpServer>(std::move(listener), std::move(handler), options.limits));
    };
    serve(std::move(site), journaled(*state_, "site", handle_site_with_updates));
    serve(std::move(relay), journaled(*state_, "relay", handle_relay));
    serve(std::move(timer), journaled(*state_, "timer", handle_timer));
    serve(std::move(mobile), journaled(*state_, "mobile", handle_mobile));
    // The update server's program files are uploaded through the control API.
    options.limits.request.max_body = std::max(options.limits.request.max_body, kMaxUploadedFile);
    serve(std::move(control),
          [this](const Request& request) { return handle_control(*state_, request); });
}

Companion::~Companion() {
    stop();
}

void Companion::stop() {
    for (auto& server : servers_)
        server->stop();
}

std::string Companion::url(std::uint16_t port) const {
    auto host = port == addresses().control ? std::string("127.0.0.1") : addresses().host;
    return "http://" + host + ":" + std::to_string(port);
}

} // namespace qirelo::devsite
