#include "ui/button.h"

#include "ui/form.h"
#include "ui/widget_kinds.h"

namespace qirelo::ui {

void CheckBox::set_checked(bool checked) {
    if (checked == checked_)
        return;
    checked_ = checked;
    notify(Property::Checked);
    fire(OnClick, *this);
}

void Button::click() {
    if (modal_result_ != ModalResult::None)
        if (Form* window = form())
            window->set_modal_result(modal_result_);
    Control::click();
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
