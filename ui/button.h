#pragma once

// Buttons and the check box.
//
// click() runs OnClick whether or not the button is enabled, as a click by
// code does; a disabled native button simply never reports one. A button with
// a modal result gives it to its window first (which ends a modal loop). Setting a
// check box's state runs its OnClick when the state really changes.

#include "ui/control.h"
#include "ui/image.h"
#include "ui/modal_result.h"

namespace qirelo::ui {

class Button : public Control {
public:
    void accept(WidgetKindVisitor& visitor) override;
    using Control::Control;

    bool accepts_focus() const override { return true; }
    void click() override;

    bool is_default() const { return default_; } // Enter anywhere in the window clicks it
    void set_default(bool value) {
        default_ = value;
        notify(Property::Style);
    }
    bool is_cancel() const { return cancel_; } // Escape clicks it
    void set_cancel(bool value) { cancel_ = value; }
    ModalResult modal_result() const { return modal_result_; }
    void set_modal_result(ModalResult result) { modal_result_ = result; }

private:
    bool default_ = false;
    bool cancel_ = false;
    ModalResult modal_result_ = ModalResult::None;
};

// A button with a picture left of its caption.
class BitBtn : public Button {
public:
    void accept(WidgetKindVisitor& visitor) override;
    using Button::Button;

    const Bitmap& glyph() const { return glyph_; }
    void set_glyph(Bitmap glyph) {
        glyph_ = std::move(glyph);
        notify(Property::Picture);
    }

private:
    Bitmap glyph_;
};

// A button that never takes the focus; flat ones show their frame only under
// the pointer.
class SpeedButton : public Control {
public:
    void accept(WidgetKindVisitor& visitor) override;
    using Control::Control;

    bool flat() const { return flat_; }
    void set_flat(bool flat) { flat_ = flat; }
    const Bitmap& glyph() const { return glyph_; }
    void set_glyph(Bitmap glyph) {
        glyph_ = std::move(glyph);
        notify(Property::Picture);
    }

private:
    bool flat_ = false;
    Bitmap glyph_;
};

class CheckBox : public Control {
public:
    void accept(WidgetKindVisitor& visitor) override;
    using Control::Control;

    bool accepts_focus() const override { return true; }

    bool checked() const { return checked_; }
    void set_checked(bool checked);
    // The user's click toggles the box (which runs OnClick).
    void click() override { set_checked(!checked_); }

private:
    bool checked_ = false;
};

} // namespace qirelo::ui
