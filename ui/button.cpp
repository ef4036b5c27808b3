#include "ui/button.h"

namespace qirelo::ui {

void CheckBox::set_checked(bool checked) {
    if (checked == checked_)
        return;
    checked_ = checked;
    notify(Property::Checked);
    fire(OnClick, *this);
}

} // namespace qirelo::ui
