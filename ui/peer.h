#pragma once

// The native side of a widget. A backend attaches a peer to a control; the
// control tells its peer which of its properties changed, and the peer mirrors
// the control's state into the native control. What the user does in the
// native control the peer reports back through the control's public methods
// (set_text, click, set_position...), so the same rules and events run with
// or without a peer.

#include <optional>

#include "ui/geometry.h"

namespace qirelo::ui {

enum class Property {
    Text, // caption or text
    Enabled,
    Visible,
    Bounds,
    Font,
    Color,
    Focus, // the control should take the keyboard focus
    Checked,
    Position, // slider, progress bar, gauge: position or range
    ReadOnly,
    Selection, // an edit's selected range
    Panels,    // status-bar panels
    Picture,
    WindowState,
    ActivePage,
    TabCaption, // a tab sheet's caption, drawn by its page control
    Style,      // a window's top-most state, a button's default state, an edit's border
    ClientSize, // a window's client area, as its layout gives it
};

class ControlPeer {
public:
    virtual ~ControlPeer() = default;

    virtual void changed(Property what) = 0;

    // The screen position of the control's client area, when the native side
    // knows it better than the layout does (a real window on a real screen).
    virtual std::optional<Point> screen_origin() const { return std::nullopt; }
};

} // namespace qirelo::ui
