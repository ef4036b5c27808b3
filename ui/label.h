#pragma once

// A static text. A link label is blue, underlined and shows the hand cursor.
// A transparent label shows what lies under it (another label too) between
// its letters.
//
// An auto-sized, word-wrapped label keeps its width and takes the height of
// its lines: the native side measures them; without one, every byte is half
// the font's height wide and every line two pixels higher than the font, and
// lines break at CR, LF, CR LF and where the width is full.

#include "ui/control.h"

namespace qirelo::ui {

class Label : public Control {
public:
    void accept(WidgetKindVisitor& visitor) override;
    using Control::Control;

    bool transparent() const { return transparent_; }
    void set_transparent(bool transparent) { transparent_ = transparent; }

    // A label sized to its text: the native side measures the caption in the
    // label's font and sets width and height (the layout gives the place).
    bool auto_size() const { return auto_size_; }
    void set_auto_size(bool auto_size) { auto_size_ = auto_size; }

    bool word_wrap() const { return word_wrap_; }
    void set_word_wrap(bool wrap) { word_wrap_ = wrap; }

    // An auto-sized, word-wrapped label measures its lines again (after its
    // width changed).
    void fit_height();

    // Blue, underlined, hand cursor: what the user recognises as a link.
    void make_link();

protected:
    void text_changed() override;

private:
    void fit_nominal_height();

    bool transparent_ = true;
    bool word_wrap_ = false;
    bool auto_size_ = true;
};

} // namespace qirelo::ui
