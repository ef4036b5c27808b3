#include <stdexcept>

#include "ui/win32/peer_factory.h"
#include "ui/win32/peers.h"

namespace qirelo::ui::win32 {

void realize(Backend& backend, Control& root) {
    std::unique_ptr<ControlPeer> peer = make_container_peer(backend, root);
    if (!peer)
        peer = make_control_peer(backend, root);
    if (!peer)
        peer = make_browser_peer(backend, root);
    if (!peer)
        throw std::logic_error("no native control for " + root.name());
    root.attach_peer(std::move(peer));
    for (Control* child : root.children())
        realize(backend, *child);
}

HWND window_of(const Control& control) {
    auto* peer = dynamic_cast<WindowPeer*>(control.peer());
    return peer ? peer->hwnd() : nullptr;
}

} // namespace qirelo::ui::win32
