#include "ui/qt/peer_factory.h"

#include <QFrame>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QStyleOptionGroupBox>

#include <vector>

#include "ui/image.h"
#include "ui/label.h"
#include "ui/panel.h"
#include "ui/qt/text.h"
#include "ui/qt/text_fitting.h"
#include "ui/qt/widget_peer.h"
#include "ui/status_bar.h"

namespace qirelo::ui::qt {
namespace {

class PlainPeer final : public WidgetPeer {
public:
    PlainPeer(Backend& backend, Control& control, QWidget* widget)
        : WidgetPeer(backend, control, widget) {}
};

class GroupBoxPeer final : public WidgetPeer {
public:
    GroupBoxPeer(Backend& backend, GroupBox& box)
        : WidgetPeer(backend, box, new QGroupBox(container_of(box.parent()))) {}

    void changed(Property what) override {
        WidgetPeer::changed(what);
        if (what == Property::Bounds || what == Property::Font)
            fit_title();
    }

protected:
    void apply_text() override {
        static_cast<QGroupBox*>(widget_.data())->setTitle(qstring(control_.caption()));
        fit_title();
    }

private:
    // The title is not cut short: the box widens to it.
    void fit_title() {
        auto* box = static_cast<QGroupBox*>(widget_.data());
        QStyleOptionGroupBox option;
        option.initFrom(box);
        option.text = box->title();
        option.textAlignment = box->alignment();
        option.subControls = QStyle::SC_GroupBoxFrame | QStyle::SC_GroupBoxLabel;
        option.rect = QRect(0, 0, QWIDGETSIZE_MAX / 2, box->height());
        const QRect title = box->style()->subControlRect(QStyle::CC_GroupBox, &option,
                                                         QStyle::SC_GroupBoxLabel, box);
        if (title.right() + 1 > box->width())
            box->resize(title.right() + 1, box->height());
    }
};

class BevelWidget final : public QWidget {
public:
    BevelWidget(Bevel& bevel, QWidget* parent) : QWidget(parent), bevel_(bevel) {
        setAttribute(Qt::WA_TransparentForMouseEvents);
    }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        const QColor shadow = palette().color(QPalette::Dark);
        const QColor light = palette().color(QPalette::Light);
        const int w = width(), h = height();
        auto line = [&](int x1, int y1, int x2, int y2, const QColor& c) {
            painter.setPen(c);
            painter.drawLine(x1, y1, x2, y2);
        };
        switch (bevel_.shape()) {
        case BevelShape::BottomLine:
            line(0, h - 2, w - 1, h - 2, shadow);
            line(0, h - 1, w - 1, h - 1, light);
            break;
        case BevelShape::TopLine:
            line(0, 0, w - 1, 0, shadow);
            line(0, 1, w - 1, 1, light);
            break;
        default:
            painter.setPen(shadow);
            painter.drawRect(0, 0, w - 2, h - 2);
            painter.setPen(light);
            painter.drawRect(1, 1, w - 2, h - 2);
            break;
        }
    }

private:
    Bevel& bevel_;
};

class ClickableLabel final : public QLabel {
public:
    ClickableLabel(Label& label, Backend& backend, QWidget* parent)
        : QLabel(parent), label_(label), backend_(backend) {}

protected:
    void mouseReleaseEvent(QMouseEvent* event) override {
        QLabel::mouseReleaseEvent(event);
        if (label_.OnClick && rect().contains(event->position().toPoint()))
            backend_.guard([&] { label_.click(); });
    }

private:
    Label& label_;
    Backend& backend_;
};

class LabelPeer final : public WidgetPeer {
public:
    LabelPeer(Backend& backend, Label& label)
        : WidgetPeer(backend, label,
                     new ClickableLabel(label, backend, container_of(label.parent()))) {
        auto* qlabel = static_cast<QLabel*>(widget_.data());
        qlabel->setWordWrap(label.word_wrap());
        // An opaque label hides what lies under it, as a transparent one does not.
        qlabel->setAutoFillBackground(!label.transparent());
        qlabel->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        if (label.cursor() == Cursor::Hand)
            qlabel->setCursor(Qt::PointingHandCursor);
        mark_shows_text(qlabel);
    }

    void changed(Property what) override {
        WidgetPeer::changed(what);
        if (what == Property::Bounds || what == Property::Font)
            fit();
    }

    // A label grows to its text, as the toolkit's auto-sized labels do; an
    // auto-sized, word-wrapped one takes the height of its lines, and the
    // layout learns it (a window's height may follow).
    void fit() override {
        auto* label = static_cast<QLabel*>(widget_.data());
        auto& widget = static_cast<Label&>(control_);
        if (label->wordWrap() && widget.auto_size()) {
            const int height = label->heightForWidth(widget.width());
            if (height > 0)
                guard([&] {
                    widget.set_bounds(widget.left(), widget.top(), widget.width(), height);
                });
            return;
        }
        fit_text(label, label->wordWrap() ? TextLayout::Wrapped : TextLayout::TopLine);
    }

protected:
    void apply_text() override {
        static_cast<QLabel*>(widget_.data())->setText(qlines(control_.caption()));
        fit();
    }
};

class ImagePeer final : public WidgetPeer {
public:
    ImagePeer(Backend& backend, Image& image)
        : WidgetPeer(backend, image, new QLabel(container_of(image.parent()))), image_(image) {}

protected:
    void apply(Property what) override {
        if (what != Property::Picture || image_.picture().empty())
            return;
        QPixmap pixmap = pixmap_of(image_.picture());
        if (image_.stretch())
            pixmap = pixmap.scaled(image_.width(), image_.height());
        static_cast<QLabel*>(widget_.data())->setPixmap(pixmap);
    }

private:
    Image& image_;
};

class StatusBarPeer final : public WidgetPeer {
public:
    StatusBarPeer(Backend& backend, StatusBar& bar)
        : WidgetPeer(backend, bar, new QWidget(container_of(bar.parent()))), bar_(bar) {
        layout_ = new QHBoxLayout(widget_);
        layout_->setContentsMargins(2, 1, 2, 1);
        layout_->setSpacing(2);
        layout_->addStretch(1);
    }

protected:
    void apply(Property what) override {
        if (what != Property::Panels)
            return;
        while (panels_.size() < bar_.panel_count()) {
            auto* label = new QLabel(widget_);
            label->setFrameStyle(QFrame::Panel | QFrame::Sunken);
            layout_->insertWidget(static_cast<int>(panels_.size()), label);
            panels_.push_back(label);
        }
        for (std::size_t i = 0; i < panels_.size(); ++i) {
            panels_[i]->setFixedWidth(bar_.panel(i).width);
            panels_[i]->setText(qstring(bar_.panel(i).text));
        }
    }

private:
    StatusBar& bar_;
    QHBoxLayout* layout_;
    std::vector<QLabel*> panels_;
};

} // namespace

std::unique_ptr<ControlPeer> make_peer(Backend& backend, Panel& panel) {
    if (panel.bevel_outer() == BevelStyle::Lowered) {
        auto* frame = new QFrame(container_of(panel.parent()));
        frame->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        frame->setLineWidth(1);
        return std::make_unique<PlainPeer>(backend, panel, frame);
    }
    return std::make_unique<PlainPeer>(backend, panel, new QWidget(container_of(panel.parent())));
}

std::unique_ptr<ControlPeer> make_peer(Backend& backend, GroupBox& box) {
    return std::make_unique<GroupBoxPeer>(backend, box);
}

std::unique_ptr<ControlPeer> make_peer(Backend& backend, Bevel& bevel) {
    return std::make_unique<PlainPeer>(backend, bevel,
                                       new BevelWidget(bevel, container_of(bevel.parent())));
}

std::unique_ptr<ControlPeer> make_peer(Backend& backend, Label& label) {
    return std::make_unique<LabelPeer>(backend, label);
}

std::unique_ptr<ControlPeer> make_peer(Backend& backend, Image& image) {
    return std::make_unique<ImagePeer>(backend, image);
}

std::unique_ptr<ControlPeer> make_peer(Backend& backend, StatusBar& bar) {
    return std::make_unique<StatusBarPeer>(backend, bar);
}

} // namespace qirelo::ui::qt
