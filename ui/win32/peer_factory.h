#pragma once

// The makers of the Win32 peers, one per widget kind, each defined next to its
// peer class; realize() picks the one for a control's kind (ui/widget_kinds.h).
// A kind without a maker here does not build. A LabeledEdit is made as the
// Edit it is.

#include <memory>

#include "ui/peer.h"
#include "ui/widget_kinds.h"
#include "ui/win32/backend.h"

namespace qirelo::ui::win32 {

// Window-level and container widgets (container_peers.cpp).
std::unique_ptr<ControlPeer> make_peer(Backend& backend, Form& form);
std::unique_ptr<ControlPeer> make_peer(Backend& backend, TabSheet& sheet);
std::unique_ptr<ControlPeer> make_peer(Backend& backend, PageControl& pages);
std::unique_ptr<ControlPeer> make_peer(Backend& backend, GroupBox& box);
std::unique_ptr<ControlPeer> make_peer(Backend& backend, Panel& panel);
// Controls (control_peers.cpp).
std::unique_ptr<ControlPeer> make_peer(Backend& backend, ButtonEdit& edit);
std::unique_ptr<ControlPeer> make_peer(Backend& backend, Edit& edit);
std::unique_ptr<ControlPeer> make_peer(Backend& backend, BitBtn& button);
std::unique_ptr<ControlPeer> make_peer(Backend& backend, Button& button);
std::unique_ptr<ControlPeer> make_peer(Backend& backend, SpeedButton& button);
std::unique_ptr<ControlPeer> make_peer(Backend& backend, CheckBox& box);
std::unique_ptr<ControlPeer> make_peer(Backend& backend, Label& label);
std::unique_ptr<ControlPeer> make_peer(Backend& backend, Bevel& bevel);
std::unique_ptr<ControlPeer> make_peer(Backend& backend, TrackBar& slider);
std::unique_ptr<ControlPeer> make_peer(Backend& backend, ProgressBar& bar);
std::unique_ptr<ControlPeer> make_peer(Backend& backend, Gauge& gauge);
std::unique_ptr<ControlPeer> make_peer(Backend& backend, StatusBar& bar);
std::unique_ptr<ControlPeer> make_peer(Backend& backend, Image& image);
// The browser control (browser_host.cpp).
std::unique_ptr<ControlPeer> make_peer(Backend& backend, WebBrowser& browser);

} // namespace qirelo::ui::win32
