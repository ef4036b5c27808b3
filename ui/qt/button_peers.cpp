#include "ui/qt/peer_factory.h"

#include <QCheckBox>
#include <QIcon>
#include <QPushButton>
#include <QToolButton>

#include "ui/button.h"
#include "ui/qt/text.h"
#include "ui/qt/text_fitting.h"
#include "ui/qt/widget_peer.h"

namespace qirelo::ui::qt {
namespace {

class ButtonPeer final : public WidgetPeer {
public:
    ButtonPeer(Backend& backend, Control& button, QAbstractButton* widget)
        : WidgetPeer(backend, button, widget) {
        QObject::connect(widget, &QAbstractButton::clicked,
                         [this] { guard([this] { control_.click(); }); });
        if (auto* speed = dynamic_cast<SpeedButton*>(&button)) {
            auto* tool = static_cast<QToolButton*>(widget);
            tool->setAutoRaise(speed->flat());
            tool->setFocusPolicy(Qt::NoFocus);
        }
    }

protected:
    void apply_text() override {
        static_cast<QAbstractButton*>(widget_.data())->setText(qstring(control_.caption()));
    }
    void apply(Property what) override {
        if (what == Property::Style || what == Property::Picture)
            if (auto* push = dynamic_cast<Button*>(&control_))
                if (auto* native = qobject_cast<QPushButton*>(widget_.data()))
                    native->setDefault(push->is_default());
        if (what != Property::Picture)
            return;
        const Bitmap* glyph = nullptr;
        if (auto* bit = dynamic_cast<BitBtn*>(&control_))
            glyph = &bit->glyph();
        else if (auto* speed = dynamic_cast<SpeedButton*>(&control_))
            glyph = &speed->glyph();
        if (glyph && !glyph->empty())
            static_cast<QAbstractButton*>(widget_.data())->setIcon(QIcon(pixmap_of(*glyph)));
    }
};

class CheckBoxPeer final : public WidgetPeer {
public:
    CheckBoxPeer(Backend& backend, CheckBox& box)
        : WidgetPeer(backend, box, new QCheckBox(container_of(box.parent()))), box_(box) {
        QObject::connect(static_cast<QCheckBox*>(widget_.data()), &QCheckBox::clicked,
                         [this](bool checked) { guard([&] { box_.set_checked(checked); }); });
        mark_shows_text(widget_);
    }

    void changed(Property what) override {
        WidgetPeer::changed(what);
        if (what == Property::Bounds || what == Property::Font)
            fit();
    }

    void fit() override { fit_text(widget_, TextLayout::CentredLine); }

protected:
    void apply_text() override {
        static_cast<QCheckBox*>(widget_.data())->setText(qstring(control_.caption()));
        fit();
    }
    void apply(Property what) override {
        if (what == Property::Checked)
            static_cast<QCheckBox*>(widget_.data())->setChecked(box_.checked());
    }

private:
    CheckBox& box_;
};

} // namespace

std::unique_ptr<ControlPeer> make_peer(Backend& backend, Button& button) {
    return std::make_unique<ButtonPeer>(backend, button,
                                        new QPushButton(container_of(button.parent())));
}

std::unique_ptr<ControlPeer> make_peer(Backend& backend, SpeedButton& button) {
    return std::make_unique<ButtonPeer>(backend, button,
                                        new QToolButton(container_of(button.parent())));
}

std::unique_ptr<ControlPeer> make_peer(Backend& backend, CheckBox& box) {
    return std::make_unique<CheckBoxPeer>(backend, box);
}

} // namespace qirelo::ui::qt
