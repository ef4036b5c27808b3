#pragma once

// Progress displays: the progress bar (a position that steps) and the gauge
// (a thin strip whose drawn part is the percentage of progress in its range).

#include "ui/control.h"

namespace qirelo::ui {

class ProgressBar : public Control {
public:
    void accept(WidgetKindVisitor& visitor) override;
    using Control::Control;

    int min() const { return min_; }
    int max() const { return max_; }
    void set_range(int min, int max);
    int position() const { return position_; }
    void set_position(int position); // clamped to the range
    int step() const { return step_; }
    void set_step(int step) { step_ = step; }
    void step_it() { set_position(position_ + step_); }

private:
    int min_ = 0;
    int max_ = 100;
    int position_ = 0;
    int step_ = 10;
};

// The progress is kept within min and max. The strip is redrawn only when
// the percentage it shows changes (the peer is told then and only then).
class Gauge : public Control {
public:
    void accept(WidgetKindVisitor& visitor) override;
    using Control::Control;

    int min_value() const { return min_; }
    int max_value() const { return max_; }
    void set_min_value(int value);
    void set_max_value(int value);
    int progress() const { return progress_; }
    void set_progress(int value);
    // 0..100: the drawn part of the strip.
    int percent_done() const;

    Color fore_color() const { return fore_color_; }
    void set_fore_color(Color color) { fore_color_ = color; }
    Color back_color() const { return color(); }
    bool show_text() const { return show_text_; }
    void set_show_text(bool show) { show_text_ = show; }

private:
    void apply(int min, int max, int progress);

    int min_ = 0;
    int max_ = 100;
    int progress_ = 0;
    Color fore_color_ = kBlack;
    bool show_text_ = true;
};

} // namespace qirelo::ui
