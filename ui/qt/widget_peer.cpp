#include "ui/qt/widget_peer.h"

#include <QApplication>
#include <QFont>
#include <QImage>
#include <QPalette>

#include <map>

#include "ui/form.h"
#include "ui/qt/browser_peer.h"
#include "ui/qt/peers.h"
#include "ui/qt/text.h"

namespace qirelo::ui::qt {
namespace {

std::map<const QWidget*, WidgetPeer*>& registry() {
    static std::map<const QWidget*, WidgetPeer*> peers;
    return peers;
}

QFont qfont(const Font& font) {
    QFont qt_font(qstring(font.name));
    qt_font.setPixelSize(font.height > 0 ? font.height : 12);
    qt_font.setBold(font.bold);
    qt_font.setItalic(font.italic);
    qt_font.setUnderline(font.underline);
    return qt_font;
}

// The focus moved to a widget of ours (or to a widget inside one, as the page
// view of a browser): the control under it becomes the form's active control.
void follow_focus(QWidget* now) {
    for (QWidget* w = now; w; w = w->parentWidget()) {
        auto it = registry().find(w);
        if (it != registry().end() && it->second->control().accepts_focus()) {
            it->second->focused();
            return;
        }
    }
}

} // namespace

WidgetPeer::WidgetPeer(Backend& backend, Control& control, QWidget* widget)
    : backend_(backend), control_(control), widget_(widget) {
    registry()[widget] = this;
    static const bool focus_followed = [] {
        QObject::connect(qApp, &QApplication::focusChanged,
                         [](QWidget*, QWidget* now) { follow_focus(now); });
        return true;
    }();
    (void)focus_followed;
}

WidgetPeer::~WidgetPeer() {
    registry().erase(widget_.data());
    delete widget_.data();
}

QWidget* widget_of(const Control& control) {
    if (auto* browser = dynamic_cast<BrowserPeer*>(control.peer()))
        return browser->view();
    auto* peer = dynamic_cast<WidgetPeer*>(control.peer());
    return peer ? peer->widget() : nullptr;
}

QWidget* container_of(const Control* parent) {
    auto* peer = parent ? dynamic_cast<WidgetPeer*>(parent->peer()) : nullptr;
    return peer ? peer->container() : nullptr;
}

QColor qcolor(Color color, const QPalette& palette) {
    if (is_system_color(color)) {
        switch (color) {
        case kWindow:
            return palette.color(QPalette::Base);
        case kWindowText:
            return palette.color(QPalette::WindowText);
        case kHighlight:
            return palette.color(QPalette::Highlight);
        case kButtonShadow:
            return palette.color(QPalette::Dark);
        case kButtonHighlight:
            return palette.color(QPalette::Light);
        default:
            return palette.color(QPalette::Button);
        }
    }
    return QColor(static_cast<int>(color & 0xFF), static_cast<int>((color >> 8) & 0xFF),
                  static_cast<int>((color >> 16) & 0xFF));
}

void WidgetPeer::focused() {
    if (Form* form = control_.form(); form && form->active_control() != &control_)
        guard([&] { form->set_active_control(&control_); });
}

std::optional<Point> WidgetPeer::screen_origin() const {
    if (!widget_)
        return std::nullopt;
    const QPoint origin = widget_->mapToGlobal(QPoint(0, 0));
    return Point{origin.x(), origin.y()};
}

void WidgetPeer::sync() {
    for (Property p :
         {Property::Bounds, Property::Font, Property::Text, Property::Enabled, Property::Visible})
        changed(p);
    apply(Property::Checked);
    apply(Property::Position);
    apply(Property::ReadOnly);
    apply(Property::Panels);
    apply(Property::Picture);
    apply(Property::ActivePage);
    apply(Property::Color);
}

void WidgetPeer::changed(Property what) {
    if (!widget_)
        return;
    switch (what) {
    case Property::Bounds: {
        const Rect& r = control_.bounds();
        widget_->setGeometry(r.left, r.top, r.width, r.height);
        break;
    }
    case Property::Visible:
        widget_->setVisible(control_.visible());
        break;
    case Property::Enabled:
        widget_->setEnabled(control_.enabled());
        break;
    case Property::Font: {
        widget_->setFont(qfont(control_.font()));
        QPalette palette = widget_->palette();
        palette.setColor(QPalette::WindowText, qcolor(control_.font().color, palette));
        widget_->setPalette(palette);
        break;
    }
    case Property::Text:
        apply_text();
        break;
    case Property::Focus:
        widget_->setFocus(Qt::OtherFocusReason);
        break;
    default:
        apply(what);
        break;
    }
}

QPixmap pixmap_of(const Bitmap& bitmap) {
    QImage image(bitmap.width, bitmap.height, QImage::Format_RGB32);
    for (int y = 0; y < bitmap.height; ++y)
        for (int x = 0; x < bitmap.width; ++x)
            image.setPixel(x, y, 0xFF000000u | bitmap.at(x, y));
    return QPixmap::fromImage(image);
}

} // namespace qirelo::ui::qt
