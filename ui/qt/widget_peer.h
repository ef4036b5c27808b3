#pragma once

// The base of the Qt peers: one Qt widget mirroring a control. Bounds,
// visibility, enabling, font and focus are the same for every kind; each kind
// adds its own properties and reports its user's input to the control.

#include <QPixmap>
#include <QPointer>
#include <QWidget>

#include <optional>

#include "ui/control.h"
#include "ui/image.h"
#include "ui/qt/backend.h"

namespace qirelo::ui::qt {

class WidgetPeer : public ControlPeer {
public:
    WidgetPeer(Backend& backend, Control& control, QWidget* widget);
    ~WidgetPeer() override;

    QWidget* widget() const { return widget_; }
    Control& control() const { return control_; }
    // The widget that the control's children are created in.
    virtual QWidget* container() const { return widget_; }

    void changed(Property what) override;
    std::optional<Point> screen_origin() const override;

    // Applies the control's whole state to the widget.
    virtual void sync();
    // Once every control of the window has its state: a text that needs more
    // room than the layout gave takes it (labels, check boxes).
    virtual void fit() {}

    // Told by the widget: it took the keyboard focus.
    void focused();

protected:
    virtual void apply_text() {}
    virtual void apply(Property) {}
    void guard(const std::function<void()>& handler) { backend_.guard(handler); }

    Backend& backend_;
    Control& control_;
    QPointer<QWidget> widget_;
};

// The parent widget for a control's widget: its parent control's container.
QWidget* container_of(const Control* parent);

// A Qt colour for a widget colour (system colours from the palette).
QColor qcolor(Color color, const QPalette& palette);

// A picture of the widget set as a Qt pixmap.
QPixmap pixmap_of(const Bitmap& bitmap);

} // namespace qirelo::ui::qt
