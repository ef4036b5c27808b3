#include "ui/edit.h"

#include "ui/widget_kinds.h"

#include <algorithm>

namespace qirelo::ui {

Edit::Edit(Control* parent, std::string name) : Control(parent, std::move(name)) {
    set_color(kWindow);
}

void Edit::set_text(const std::string& text) {
    if (text == caption())
        return;
    set_caption(text);
    sel_start_ = std::min(sel_start_, text.size());
    sel_length_ = std::min(sel_length_, text.size() - sel_start_);
    fire(OnChange, *this);
}

void Edit::set_read_only(bool read_only) {
    if (read_only == read_only_)
        return;
    read_only_ = read_only;
    notify(Property::ReadOnly);
}

void Edit::set_password_char(char c) {
    if (c == password_char_)
        return;
    password_char_ = c;
    notify(Property::Text);
}

void Edit::set_selection(std::size_t start, std::size_t length) {
    start = std::min(start, text().size());
    length = std::min(length, text().size() - start);
    if (start == sel_start_ && length == sel_length_)
        return;
    sel_start_ = start;
    sel_length_ = length;
    notify(Property::Selection);
}

std::uint16_t Edit::key_down(std::uint16_t key, ShiftState shift) {
    if (OnKeyDown)
        OnKeyDown(*this, key, shift);
    return key;
}

char Edit::key_press(char key) {
    if (OnKeyPress)
        OnKeyPress(*this, key);
    return key;
}

void Edit::type_char(char typed) {
    // Control characters have no key code of their own here: Tab, Enter,
    // Backspace and Escape are their own virtual keys.
    const auto byte = static_cast<unsigned char>(typed);
    std::uint16_t code = byte < 32 ? byte : 0;
    if (code && key_down(code) == 0)
        return;
    const char key = key_press(typed);
    if (key == 0 || read_only_)
        return;
    std::string value = text();
    std::size_t start = sel_start_;
    if (key == '\b') {
        if (sel_length_ == 0 && start == 0)
            return;
        if (sel_length_ == 0)
            value.erase(--start, 1);
        else
            value.erase(start, sel_length_);
    } else if (static_cast<unsigned char>(key) >= 32) {
        value.replace(start, sel_length_, 1, key);
        ++start;
    } else {
        return;
    }
    sel_start_ = start;
    sel_length_ = 0;
    set_text(value);
    sel_start_ = std::min(start, text().size());
}

void Edit::type_text(const std::string& text) {
    for (char c : text)
        type_char(c);
}

LabeledEdit::LabeledEdit(Control* parent, std::string name)
    : Edit(parent, name), label_(parent, name + ".EditLabel") {
    label_.set_tab_stop(false);
}

void LabeledEdit::bounds_changed() {
    const int label_height = label_.font().height;
    label_.set_bounds(left(), top() - label_height - 3, std::max(width(), 1), label_height);
}

void Edit::accept(WidgetKindVisitor& visitor) {
    visitor.visit(*this);
}

void ButtonEdit::accept(WidgetKindVisitor& visitor) {
    visitor.visit(*this);
}

} // namespace qirelo::ui
