#pragma once

// Single-line text boxes: the edit, the edit with a button at its right end
// and the edit with a caption label above it.
//
// Setting the text raises OnChange only on a real change. The key events run
// before the box itself handles the key: a handler may change the key or set
// it to 0 to swallow it. Without a native peer, type_char() plays the user's
// typing (key press, then the character goes in, replacing the selection).

#include <cstdint>
#include <functional>

#include "ui/control.h"
#include "ui/image.h"
#include "ui/label.h"
#include "ui/message.h"

namespace qirelo::ui {

using KeyEvent = std::function<void(Component& sender, std::uint16_t& key, ShiftState shift)>;
using KeyPressEvent = std::function<void(Component& sender, char& key)>;

class Edit : public Control {
public:
    void accept(WidgetKindVisitor& visitor) override;
    Edit(Control* parent, std::string name);

    const std::string& text() const { return caption(); }
    void set_text(const std::string& text);

    bool read_only() const { return read_only_; }
    void set_read_only(bool read_only);

    char password_char() const { return password_char_; } // 0: plain text
    void set_password_char(char c);

    // The sunken frame; without it the text lies flat on the box's colour.
    // Set before the native box is made.
    bool border() const { return border_; }
    void set_border(bool border) {
        border_ = border;
        notify(Property::Style);
    }

    // The selected range, in bytes of the text.
    std::size_t sel_start() const { return sel_start_; }
    std::size_t sel_length() const { return sel_length_; }
    void set_selection(std::size_t start, std::size_t length);
    void select_all() { set_selection(0, text().size()); }
    std::string selected_text() const { return text().substr(sel_start_, sel_length_); }

    bool accepts_focus() const override { return true; }

    NotifyEvent OnChange;
    KeyEvent OnKeyDown;
    KeyPressEvent OnKeyPress;

    // The key events, as the native box (or a test) reports them; each returns
    // the key as the handler left it.
    std::uint16_t key_down(std::uint16_t key, ShiftState shift = {});
    char key_press(char key);

    // Headless typing: key down, key press, then the edit itself (printable
    // characters replace the selection, Backspace removes one byte before the
    // caret), unless read-only or swallowed.
    void type_char(char key);
    void type_text(const std::string& text);

private:
    bool read_only_ = false;
    bool border_ = true;
    char password_char_ = 0;
    std::size_t sel_start_ = 0;
    std::size_t sel_length_ = 0;
};

// An edit with a push button (glyph) at its right end.
class ButtonEdit : public Edit {
public:
    void accept(WidgetKindVisitor& visitor) override;
    ButtonEdit(Control* parent, std::string name) : Edit(parent, std::move(name)) {}

    int button_width() const { return button_width_; }
    void set_button_width(int width) { button_width_ = width; }
    const Bitmap& glyph() const { return glyph_; }
    void set_glyph(Bitmap glyph) { glyph_ = std::move(glyph); }

    NotifyEvent OnButtonClick;
    void click_button() { fire(OnButtonClick, *this); }

private:
    int button_width_ = 22;
    Bitmap glyph_;
};

// An edit with its caption in a label above it, the label's left edge on the
// edit's and 3 pixels between them.
class LabeledEdit : public Edit {
public:
    LabeledEdit(Control* parent, std::string name);

    Label& edit_label() { return label_; }
    const Label& edit_label() const { return label_; }

protected:
    void bounds_changed() override;

private:
    Label label_;
};

} // namespace qirelo::ui
