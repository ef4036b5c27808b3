#include "ui/image.h"

#include "ui/widget_kinds.h"

namespace qirelo::ui {

void Image::set_picture(Bitmap picture) {
    picture_ = std::move(picture);
    notify(Property::Picture);
}

void Image::accept(WidgetKindVisitor& visitor) {
    visitor.visit(*this);
}

} // namespace qirelo::ui
