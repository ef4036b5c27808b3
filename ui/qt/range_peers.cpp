#include "ui/qt/peer_factory.h"

#include <QPainter>
#include <QProgressBar>
#include <QSlider>

#include "ui/progress.h"
#include "ui/qt/widget_peer.h"
#include "ui/track_bar.h"

namespace qirelo::ui::qt {
namespace {

class TrackBarPeer final : public WidgetPeer {
public:
    TrackBarPeer(Backend& backend, TrackBar& bar)
        : WidgetPeer(backend, bar, new QSlider(Qt::Horizontal, container_of(bar.parent()))),
          bar_(bar) {
        auto* slider = static_cast<QSlider*>(widget_.data());
        slider->setTickPosition(QSlider::TicksBelow);
        slider->setTickInterval(16);
        QObject::connect(slider, &QSlider::valueChanged, [this](int value) {
            if (!updating_)
                guard([&] { bar_.set_position(value); });
        });
    }

protected:
    void apply(Property what) override {
        if (what != Property::Position)
            return;
        updating_ = true;
        auto* slider = static_cast<QSlider*>(widget_.data());
        slider->setRange(bar_.min(), bar_.max());
        slider->setValue(bar_.position());
        updating_ = false;
    }

private:
    TrackBar& bar_;
    bool updating_ = false;
};

class ProgressBarPeer final : public WidgetPeer {
public:
    ProgressBarPeer(Backend& backend, ProgressBar& bar)
        : WidgetPeer(backend, bar, new QProgressBar(container_of(bar.parent()))), bar_(bar) {
        static_cast<QProgressBar*>(widget_.data())->setTextVisible(false);
    }

protected:
    void apply(Property what) override {
        if (what != Property::Position)
            return;
        auto* progress = static_cast<QProgressBar*>(widget_.data());
        progress->setRange(bar_.min(), bar_.max());
        progress->setValue(bar_.position());
    }

private:
    ProgressBar& bar_;
};

class GaugeWidget final : public QWidget {
public:
    GaugeWidget(Gauge& gauge, QWidget* parent) : QWidget(parent), gauge_(gauge) {}

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        painter.fillRect(rect(), qcolor(gauge_.back_color(), palette()));
        const int drawn = width() * gauge_.percent_done() / 100;
        painter.fillRect(0, 0, drawn, height(), qcolor(gauge_.fore_color(), palette()));
    }

private:
    Gauge& gauge_;
};

class GaugePeer final : public WidgetPeer {
public:
    GaugePeer(Backend& backend, Gauge& gauge)
        : WidgetPeer(backend, gauge, new GaugeWidget(gauge, container_of(gauge.parent()))) {}

protected:
    void apply(Property what) override {
        if (what == Property::Position || what == Property::Color)
            widget_->update();
    }
};

} // namespace

std::unique_ptr<ControlPeer> make_peer(Backend& backend, TrackBar& bar) {
    return std::make_unique<TrackBarPeer>(backend, bar);
}

std::unique_ptr<ControlPeer> make_peer(Backend& backend, ProgressBar& bar) {
    return std::make_unique<ProgressBarPeer>(backend, bar);
}

std::unique_ptr<ControlPeer> make_peer(Backend& backend, Gauge& gauge) {
    return std::make_unique<GaugePeer>(backend, gauge);
}

} // namespace qirelo::ui::qt
