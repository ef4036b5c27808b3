#pragma once

// A static text. A link label is blue, underlined and shows the hand cursor.

#include "ui/control.h"

namespace qirelo::ui {

class Label : public Control {
public:
    using Control::Control;

    bool transparent() const { return transparent_; }
    void set_transparent(bool transparent) { transparent_ = transparent; }

    bool word_wrap() const { return word_wrap_; }
    void set_word_wrap(bool wrap) { word_wrap_ = wrap; }

    // Blue, underlined, hand cursor: what the user recognises as a link.
    void make_link();

private:
    bool transparent_ = true;
    bool word_wrap_ = false;
};

} // namespace qirelo::ui
