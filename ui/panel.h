#pragma once

// Containers and lines: panel, group box, bevel.

#include "ui/control.h"

namespace qirelo::ui {

enum class BevelStyle { None, Lowered, Raised };

class Panel : public Control {
public:
    void accept(WidgetKindVisitor& visitor) override;
    using Control::Control;

    BevelStyle bevel_outer() const { return bevel_outer_; }
    void set_bevel_outer(BevelStyle style) { bevel_outer_ = style; }

private:
    BevelStyle bevel_outer_ = BevelStyle::Raised;
};

// A framed group with its caption in the frame; aligned children keep clear
// of the frame and the caption.
class GroupBox : public Control {
public:
    void accept(WidgetKindVisitor& visitor) override;
    using Control::Control;
    Rect client_rect() const override;
};

// A line or a frame drawn on the parent. BevelShape::BottomLine draws only
// the bottom edge of the bounds.
enum class BevelShape { Box, Frame, TopLine, BottomLine, LeftLine, RightLine };

class Bevel : public Control {
public:
    void accept(WidgetKindVisitor& visitor) override;
    using Control::Control;

    BevelShape shape() const { return shape_; }
    void set_shape(BevelShape shape) {
        shape_ = shape;
        notify(Property::Picture);
    }

private:
    BevelShape shape_ = BevelShape::Box;
};

} // namespace qirelo::ui
