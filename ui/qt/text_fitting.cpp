#include "ui/qt/text_fitting.h"

namespace qirelo::ui::qt {
namespace {

constexpr const char* kShowsText = "qirelo_shows_text";
constexpr int kEmbossOffset = 2;

bool shows_text(const QWidget* widget) {
    return widget->property(kShowsText).toBool();
}

void make_room_after(const QWidget* widget, int text_right) {
    const QRect g = widget->geometry();
    for (QObject* child : widget->parentWidget()->children()) {
        auto* other = qobject_cast<QWidget*>(child);
        if (!other || other == widget || !shows_text(other))
            continue;
        const QRect r = other->geometry();
        const bool same_row = r.top() <= g.bottom() && g.top() <= r.bottom();
        // A text starting a pixel or two from this one lies over it (an
        // embossed text), not after it.
        const bool over = r.left() - g.left() <= kEmbossOffset;
        if (same_row && !over && r.left() < text_right)
            other->move(text_right, r.top());
    }
}

} // namespace

void mark_shows_text(QWidget* widget) {
    widget->setProperty(kShowsText, true);
}

void fit_text(QWidget* widget, TextLayout layout) {
    const bool wrapped = layout == TextLayout::Wrapped;
    const QSize wanted = wrapped ? QSize(widget->width(), widget->heightForWidth(widget->width()))
                                 : widget->sizeHint();
    const QSize size = widget->size().expandedTo(wanted);
    const int taller = size.height() - widget->height();
    if (layout == TextLayout::CentredLine && taller > 0)
        widget->move(widget->x(), widget->y() - taller / 2);
    widget->resize(size);
    if (!wrapped && widget->parentWidget())
        make_room_after(widget, widget->x() + wanted.width());
}

} // namespace qirelo::ui::qt
