#pragma once

// Texts on Qt's fonts. The layout was measured with other fonts than Qt's, so
// a text may need more room than its control was given: the label or check
// box grows to its text, to the right and down, and a label or check box of
// the same row that starts before that text ends moves right to its end.

#include <QWidget>

namespace qirelo::ui::qt {

enum class TextLayout {
    TopLine,     // a label's line, from its top
    CentredLine, // a check box's line, centred on its height
    Wrapped,     // a label's lines within its width
};

// Marks `widget` as one that shows a text of its own (a label, a check box):
// the widgets a growing text makes room among.
void mark_shows_text(QWidget* widget);

void fit_text(QWidget* widget, TextLayout layout);

} // namespace qirelo::ui::qt
