#include "ui/win32/peer_factory.h"
#include "ui/win32/peers.h"
// The kinds made as their base kind need their whole types here.
#include "ui/button.h"
#include "ui/edit.h"
#include "ui/widget_kinds.h"

namespace qirelo::ui::win32 {

void realize(Backend& backend, Control& root) {
    std::unique_ptr<ControlPeer> peer;
    with_kind(root, [&](auto& widget) { peer = make_peer(backend, widget); });
    root.attach_peer(std::move(peer));
    for (Control* child : root.children())
        realize(backend, *child);
}

HWND window_of(const Control& control) {
    auto* peer = dynamic_cast<WindowPeer*>(control.peer());
    return peer ? peer->hwnd() : nullptr;
}

} // namespace qirelo::ui::win32
