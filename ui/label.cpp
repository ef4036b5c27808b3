#include "ui/label.h"

namespace qirelo::ui {

void Label::make_link() {
    Font link = font();
    link.color = kBlue;
    link.underline = true;
    set_font(link);
    set_cursor(Cursor::Hand);
}

} // namespace qirelo::ui
