#include "ui/label.h"

#include "ui/widget_kinds.h"

namespace qirelo::ui {

void Label::make_link() {
    Font link = font();
    link.color = kBlue;
    link.underline = true;
    set_font(link);
    set_cursor(Cursor::Hand);
}

void Label::accept(WidgetKindVisitor& visitor) {
    visitor.visit(*this);
}

} // namespace qirelo::ui
