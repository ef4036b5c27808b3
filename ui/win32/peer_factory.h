#pragma once

// The makers of the peers, one per widget kind (defined next to the peer
// classes), for realize().

#include <memory>

#include "ui/peer.h"
#include "ui/win32/backend.h"

namespace qirelo::ui {
class Control;
}

namespace qirelo::ui::win32 {

// Window-level and container widgets (container_peers.cpp).
std::unique_ptr<ControlPeer> make_container_peer(Backend& backend, Control& control);
// Controls (control_peers.cpp).
std::unique_ptr<ControlPeer> make_control_peer(Backend& backend, Control& control);
// The browser control (browser_host.cpp).
std::unique_ptr<ControlPeer> make_browser_peer(Backend& backend, Control& control);

} // namespace qirelo::ui::win32
