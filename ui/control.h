#pragma once

// A visible control: its place in the parent, its caption, font and state.
// Controls form a tree; the parent does not own its children (the window that
// declares them does), and a child leaves the tree when it goes.
//
// Rules kept here for every control:
// - setters change state only on a real change, and only then tell the peer
//   and raise the control's change event;
// - a control is showing when it and all its parents are visible and the top
//   window is shown; becoming showing or hidden is told to the control and its
//   visible children (tab sheets raise OnShow/OnHide from it);
// - children with an alignment are placed by their parent (top, bottom, left,
//   right, then client, each group in creation order) whenever the parent's
//   client area or an aligned child changes.

#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "ui/component.h"
#include "ui/font.h"
#include "ui/geometry.h"
#include "ui/peer.h"

namespace qirelo::ui {

class Form;
class WidgetKindVisitor;

// A control of no kind a backend knows (a test's own): no peer is made for it.
class UnknownWidgetKind : public std::logic_error {
public:
    using std::logic_error::logic_error;
};

enum class Cursor { Default, Hand };

class Control : public Component {
public:
    Control(Control* parent, std::string name);
    ~Control() override;

    Control* parent() const { return parent_; }
    const std::vector<Control*>& children() const { return children_; }
    Form* form(); // the top window this control sits in, or null

    // Geometry, relative to the parent's client area.
    const Rect& bounds() const { return bounds_; }
    void set_bounds(const Rect& bounds);
    void set_bounds(int left, int top, int width, int height) {
        set_bounds(Rect{left, top, width, height});
    }
    int left() const { return bounds_.left; }
    int top() const { return bounds_.top; }
    int width() const { return bounds_.width; }
    int height() const { return bounds_.height; }
    Align align() const { return align_; }
    void set_align(Align align);
    // The area that aligned children share, in this control's coordinates
    // (children's positions are always relative to the control's top-left).
    virtual Rect client_rect() const;
    // The screen position of the client area's top-left corner: the native
    // window's when there is one, else summed up from the layout.
    virtual Point screen_origin() const;

    // Caption or text, 8-bit GB2312.
    const std::string& caption() const { return caption_; }
    void set_caption(const std::string& caption);

    bool visible() const { return visible_; }
    void set_visible(bool visible);
    void show() { set_visible(true); }
    void hide() { set_visible(false); }
    virtual bool showing() const;

    bool enabled() const { return enabled_; }
    void set_enabled(bool enabled);

    // The control's font; a control with parent_font takes its parent's.
    const Font& font() const;
    void set_font(const Font& font);
    bool parent_font() const { return parent_font_; }

    Color color() const { return color_; }
    void set_color(Color color);

    Cursor cursor() const { return cursor_; }
    void set_cursor(Cursor cursor) { cursor_ = cursor; }

    // Keyboard focus: controls that can hold it, their order among siblings.
    virtual bool accepts_focus() const { return false; }
    bool tab_stop() const { return tab_stop_; }
    void set_tab_stop(bool tab_stop) { tab_stop_ = tab_stop; }
    int tab_order() const { return tab_order_; }
    void set_tab_order(int order); // moves the siblings behind it one place on
    std::vector<Control*> children_in_tab_order() const;
    bool can_focus() const; // accepts focus, tab stop, showing and enabled all the way up
    bool focused();
    void set_focus();

    // OnClick of every control that has one; OnEnter and OnExit when the
    // control takes and loses the keyboard focus.
    NotifyEvent OnClick;
    NotifyEvent OnEnter;
    NotifyEvent OnExit;
    // The user (or code standing for the user) clicks the control.
    virtual void click();

    ControlPeer* peer() const { return peer_.get(); }
    virtual void attach_peer(std::unique_ptr<ControlPeer> peer);
    // Tells `visitor` the control's kind (ui/widget_kinds.h); a control of no
    // kind raises UnknownWidgetKind.
    virtual void accept(WidgetKindVisitor& visitor);
    void detach_peer() { peer_.reset(); }

    // Places the aligned children again.
    void realign();

protected:
    void notify(Property what);
    // Showing changed for this control (not told when a hidden parent hides it
    // again); overridden by controls that raise an event for it.
    virtual void showing_changed(bool now_showing);
    void propagate_showing(bool now_showing);
    virtual void bounds_changed() {}
    // The caption or the font changed (after the peer was told).
    virtual void text_changed() {}

private:
    friend class Form;
    void attach_child(Control* child);
    void detach_child(Control* child);

    Control* parent_ = nullptr;
    std::vector<Control*> children_;
    Rect bounds_;
    Align align_ = Align::None;
    std::string caption_;
    bool visible_ = true;
    bool enabled_ = true;
    Font font_;
    bool parent_font_ = true;
    Color color_ = kButtonFace;
    Cursor cursor_ = Cursor::Default;
    bool tab_stop_ = true;
    int tab_order_ = 0;
    std::unique_ptr<ControlPeer> peer_;
    bool aligning_ = false;
};

} // namespace qirelo::ui
