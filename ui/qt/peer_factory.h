#pragma once

// The makers of the Qt peers, one per widget kind, each defined next to its
// peer class; realize() picks the one for a control's kind. A kind without a
// maker here does not build, so no widget is ever left without its peer.

#include <memory>

#include "ui/peer.h"
#include "ui/qt/backend.h"
#include "ui/widget_kinds.h"

namespace qirelo::ui::qt {

// The top window (form_peer.cpp).
std::unique_ptr<ControlPeer> make_peer(Backend& backend, Form& form);
// Containers and static controls (static_peers.cpp).
std::unique_ptr<ControlPeer> make_peer(Backend& backend, Panel& panel);
std::unique_ptr<ControlPeer> make_peer(Backend& backend, GroupBox& box);
std::unique_ptr<ControlPeer> make_peer(Backend& backend, Bevel& bevel);
std::unique_ptr<ControlPeer> make_peer(Backend& backend, Label& label);
std::unique_ptr<ControlPeer> make_peer(Backend& backend, Image& image);
std::unique_ptr<ControlPeer> make_peer(Backend& backend, StatusBar& bar);
// Buttons (button_peers.cpp); a BitBtn is made as the Button it is.
std::unique_ptr<ControlPeer> make_peer(Backend& backend, Button& button);
std::unique_ptr<ControlPeer> make_peer(Backend& backend, SpeedButton& button);
std::unique_ptr<ControlPeer> make_peer(Backend& backend, CheckBox& box);
// Edits (edit_peers.cpp); a LabeledEdit is made as the Edit it is.
std::unique_ptr<ControlPeer> make_peer(Backend& backend, Edit& edit);
std::unique_ptr<ControlPeer> make_peer(Backend& backend, ButtonEdit& edit);
// Ranges (range_peers.cpp).
std::unique_ptr<ControlPeer> make_peer(Backend& backend, TrackBar& bar);
std::unique_ptr<ControlPeer> make_peer(Backend& backend, ProgressBar& bar);
std::unique_ptr<ControlPeer> make_peer(Backend& backend, Gauge& gauge);
// The page control and its sheets (page_peers.cpp).
std::unique_ptr<ControlPeer> make_peer(Backend& backend, PageControl& pages);
std::unique_ptr<ControlPeer> make_peer(Backend& backend, TabSheet& sheet);
// The browser control (browser_peer.cpp).
std::unique_ptr<ControlPeer> make_peer(Backend& backend, WebBrowser& browser);

} // namespace qirelo::ui::qt
