#pragma once

// The widget kinds a backend makes a native peer for. Every concrete widget
// tells its kind through Control::accept, so a backend picks a widget's peer
// by the widget's own type, in no order and without casts; a control of no
// kind (a test's own) is refused with an error.
//
// A backend writes one maker per kind, as overloads, and calls
//     with_kind(control, [&](auto& widget) { peer = make_peer(backend, widget); });
// a kind the backend has no maker for does not compile. A BitBtn or a
// LabeledEdit without a maker of its own is made as the Button or Edit it is.

#include "ui/control.h"

namespace qirelo::ui {

class Bevel;
class BitBtn;
class Button;
class ButtonEdit;
class CheckBox;
class Edit;
class Form;
class Gauge;
class GroupBox;
class Image;
class Label;
class PageControl;
class Panel;
class ProgressBar;
class SpeedButton;
class StatusBar;
class TabSheet;
class TrackBar;
class WebBrowser;

class WidgetKindVisitor {
public:
    virtual ~WidgetKindVisitor() = default;
    virtual void visit(Bevel& widget) = 0;
    virtual void visit(BitBtn& widget) = 0;
    virtual void visit(Button& widget) = 0;
    virtual void visit(ButtonEdit& widget) = 0;
    virtual void visit(CheckBox& widget) = 0;
    virtual void visit(Edit& widget) = 0;
    virtual void visit(Form& widget) = 0;
    virtual void visit(Gauge& widget) = 0;
    virtual void visit(GroupBox& widget) = 0;
    virtual void visit(Image& widget) = 0;
    virtual void visit(Label& widget) = 0;
    virtual void visit(PageControl& widget) = 0;
    virtual void visit(Panel& widget) = 0;
    virtual void visit(ProgressBar& widget) = 0;
    virtual void visit(SpeedButton& widget) = 0;
    virtual void visit(StatusBar& widget) = 0;
    virtual void visit(TabSheet& widget) = 0;
    virtual void visit(TrackBar& widget) = 0;
    virtual void visit(WebBrowser& widget) = 0;
};

namespace detail {

template <class Call> class KindCall final : public WidgetKindVisitor {
public:
    explicit KindCall(Call& call) : call_(call) {}
    void visit(Bevel& widget) override { call_(widget); }
    void visit(BitBtn& widget) override { call_(widget); }
    void visit(Button& widget) override { call_(widget); }
    void visit(ButtonEdit& widget) override { call_(widget); }
    void visit(CheckBox& widget) override { call_(widget); }
    void visit(Edit& widget) override { call_(widget); }
    void visit(Form& widget) override { call_(widget); }
    void visit(Gauge& widget) override { call_(widget); }
    void visit(GroupBox& widget) override { call_(widget); }
    void visit(Image& widget) override { call_(widget); }
    void visit(Label& widget) override { call_(widget); }
    void visit(PageControl& widget) override { call_(widget); }
    void visit(Panel& widget) override { call_(widget); }
    void visit(ProgressBar& widget) override { call_(widget); }
    void visit(SpeedButton& widget) override { call_(widget); }
    void visit(StatusBar& widget) override { call_(widget); }
    void visit(TabSheet& widget) override { call_(widget); }
    void visit(TrackBar& widget) override { call_(widget); }
    void visit(WebBrowser& widget) override { call_(widget); }

private:
    Call& call_;
};

} // namespace detail

// Calls `call` with `control` as its own kind. Raises UnknownWidgetKind for a
// control of no kind.
template <class Call> void with_kind(Control& control, Call&& call) {
    detail::KindCall<std::remove_reference_t<Call>> visitor(call);
    control.accept(visitor);
}

} // namespace qirelo::ui
