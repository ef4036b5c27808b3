#include "ui/panel.h"

#include <algorithm>

namespace qirelo::ui {

Rect GroupBox::client_rect() const {
    const int caption_band = font().height + 3;
    return Rect{2, caption_band, std::max(width() - 4, 0),
                std::max(height() - caption_band - 2, 0)};
}

} // namespace qirelo::ui
