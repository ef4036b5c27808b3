#include "ui/panel.h"

#include "ui/widget_kinds.h"

#include <algorithm>

namespace qirelo::ui {

Rect GroupBox::client_rect() const {
    const int caption_band = font().height + 3;
    return Rect{2, caption_band, std::max(width() - 4, 0),
                std::max(height() - caption_band - 2, 0)};
}

void Panel::accept(WidgetKindVisitor& visitor) {
    visitor.visit(*this);
}

void GroupBox::accept(WidgetKindVisitor& visitor) {
    visitor.visit(*this);
}

void Bevel::accept(WidgetKindVisitor& visitor) {
    visitor.visit(*this);
}

} // namespace qirelo::ui
