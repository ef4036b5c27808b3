#include "ui/progress.h"

#include "ui/widget_kinds.h"

#include <algorithm>

namespace qirelo::ui {

void ProgressBar::set_range(int min, int max) {
    min_ = min;
    max_ = std::max(min, max);
    position_ = std::clamp(position_, min_, max_);
    notify(Property::Position);
}

void ProgressBar::set_position(int position) {
    position = std::clamp(position, min_, max_);
    if (position == position_)
        return;
    position_ = position;
    notify(Property::Position);
}

int Gauge::percent_done() const {
    const long long span = static_cast<long long>(max_) - min_;
    if (span <= 0)
        return 0;
    return static_cast<int>((static_cast<long long>(progress_) - min_) * 100 / span);
}

void Gauge::apply(int min, int max, int progress) {
    const int shown = percent_done();
    min_ = min;
    max_ = std::max(min, max);
    progress_ = std::clamp(progress, min_, max_);
    if (percent_done() != shown)
        notify(Property::Position);
}

void Gauge::set_min_value(int value) {
    apply(value, std::max(value, max_), progress_);
}
void Gauge::set_max_value(int value) {
    apply(std::min(min_, value), value, progress_);
}
void Gauge::set_progress(int value) {
    apply(min_, max_, value);
}

void ProgressBar::accept(WidgetKindVisitor& visitor) {
    visitor.visit(*this);
}

void Gauge::accept(WidgetKindVisitor& visitor) {
    visitor.visit(*this);
}

} // namespace qirelo::ui
