#pragma once

// The slider. Its position stays within its range: a value outside is
// clamped. OnChange runs only when the position really changes, whether the
// user or code moved it.

#include "ui/control.h"

namespace qirelo::ui {

class TrackBar : public Control {
public:
    void accept(WidgetKindVisitor& visitor) override;
    using Control::Control;

    bool accepts_focus() const override { return true; }

    int min() const { return min_; }
    int max() const { return max_; }
    void set_range(int min, int max);
    int position() const { return position_; }
    void set_position(int position);

    NotifyEvent OnChange;

private:
    int min_ = 0;
    int max_ = 10;
    int position_ = 0;
};

} // namespace qirelo::ui
