#include "ui/qt/peers.h"

#include "ui/qt/browser_peer.h"
#include "ui/qt/peer_factory.h"
#include "ui/qt/widget_peer.h"
// The kinds made as their base kind need their whole types here.
#include "ui/button.h"
#include "ui/edit.h"
#include "ui/widget_kinds.h"

namespace qirelo::ui::qt {
namespace {

std::unique_ptr<ControlPeer> make_peer_of_kind(Backend& backend, Control& control) {
    std::unique_ptr<ControlPeer> peer;
    with_kind(control, [&](auto& widget) { peer = make_peer(backend, widget); });
    return peer;
}

void realize_tree(Backend& backend, Control& control, std::vector<ControlPeer*>& made) {
    auto peer = make_peer_of_kind(backend, control);
    made.push_back(peer.get());
    control.attach_peer(std::move(peer));
    for (Control* child : control.children())
        realize_tree(backend, *child, made);
}

} // namespace

void realize(Backend& backend, Control& root) {
    std::vector<ControlPeer*> made;
    realize_tree(backend, root, made);
    // Children first take their state, so the top window shows last, whole.
    for (auto it = made.rbegin(); it != made.rend(); ++it) {
        if (auto* browser = dynamic_cast<BrowserPeer*>(*it))
            browser->sync();
        else
            static_cast<WidgetPeer*>(*it)->sync();
    }
    // Every text in its place now, each row makes room from its left end on.
    for (ControlPeer* peer : made)
        if (auto* widget = dynamic_cast<WidgetPeer*>(peer))
            widget->fit();
}

} // namespace qirelo::ui::qt
