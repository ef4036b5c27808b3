#include "ui/button.h"

#include "ui/widget_kinds.h"

namespace qirelo::ui {

void CheckBox::set_checked(bool checked) {
    if (checked == checked_)
        return;
    checked_ = checked;
    notify(Property::Checked);
    fire(OnClick, *this);
}

void Button::accept(WidgetKindVisitor& visitor) {
    visitor.visit(*this);
}

void BitBtn::accept(WidgetKindVisitor& visitor) {
    visitor.visit(*this);
}

void SpeedButton::accept(WidgetKindVisitor& visitor) {
    visitor.visit(*this);
}

void CheckBox::accept(WidgetKindVisitor& visitor) {
    visitor.visit(*this);
}

} // namespace qirelo::ui
