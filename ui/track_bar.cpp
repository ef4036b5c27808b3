#include "ui/track_bar.h"

#include "ui/widget_kinds.h"

#include <algorithm>

namespace qirelo::ui {

void TrackBar::set_range(int min, int max) {
    min_ = min;
    max_ = std::max(min, max);
    notify(Property::Position);
    set_position(position_);
}

void TrackBar::set_position(int position) {
    position = std::clamp(position, min_, max_);
    if (position == position_)
        return;
    position_ = position;
    notify(Property::Position);
    fire(OnChange, *this);
}

void TrackBar::accept(WidgetKindVisitor& visitor) {
    visitor.visit(*this);
}

} // namespace qirelo::ui
