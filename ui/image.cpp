#include "ui/image.h"

namespace qirelo::ui {

void Image::set_picture(Bitmap picture) {
    picture_ = std::move(picture);
    notify(Property::Picture);
}

} // namespace qirelo::ui
