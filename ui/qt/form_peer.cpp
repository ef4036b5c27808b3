#include "ui/qt/peer_factory.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QScreen>
#include <QTimer>

#include "ui/form.h"
#include "ui/message.h"
#include "ui/qt/peers.h"
#include "ui/qt/text.h"
#include "ui/qt/widget_peer.h"

namespace qirelo::ui::qt {
namespace {

class FormWidget final : public QWidget {
public:
    explicit FormWidget(Form& form, Backend& backend) : form_(form), backend_(backend) {}

    // The form's window state is being set from the window's own change.
    bool reporting() const { return reporting_; }

protected:
    // The member (or the window manager) minimised, maximised or restored the
    // window: the form learns it, so that asking it to maximise again acts.
    void changeEvent(QEvent* event) override {
        QWidget::changeEvent(event);
        if (event->type() != QEvent::WindowStateChange)
            return;
        reporting_ = true;
        backend_.guard([&] { form_.set_window_state(state_of(windowState())); });
        reporting_ = false;
    }
    void resizeEvent(QResizeEvent* event) override {
        QWidget::resizeEvent(event);
        backend_.guard([&] { form_.set_client_size(width(), height()); });
    }
    // Enter and Escape that no control took: the window's default and
    // cancel buttons.
    void keyPressEvent(QKeyEvent* event) override {
        std::uint16_t key = 0;
        if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter)
            key = kVkReturn;
        else if (event->key() == Qt::Key_Escape)
            key = kVkEscape;
        bool taken = false;
        if (key)
            backend_.guard([&] { taken = form_.dialog_key(key); });
        if (!taken)
            QWidget::keyPressEvent(event);
    }
    void closeEvent(QCloseEvent* event) override {
        // The form decides; when it goes it hides its window itself.
        event->ignore();
        backend_.guard([&] { form_.close(); });
    }

private:
    static WindowState state_of(Qt::WindowStates states) {
        if (states & Qt::WindowMinimized)
            return WindowState::Minimized;
        if (states & (Qt::WindowMaximized | Qt::WindowFullScreen))
            return WindowState::Maximized;
        return WindowState::Normal;
    }

    Form& form_;
    Backend& backend_;
    bool reporting_ = false;
};

class FormPeer final : public WidgetPeer {
public:
    FormPeer(Backend& backend, Form& form)
        : WidgetPeer(backend, form, new FormWidget(form, backend)), form_(form) {
        apply_flags();
    }

    void sync() override {
        widget_->setWindowTitle(qstring(form_.caption()));
        widget_->setFont(QFont(qstring(form_.font().name)));
        place();
        apply_state();
        if (form_.visible())
            show();
    }

    void changed(Property what) override {
        switch (what) {
        case Property::Bounds:
        case Property::ClientSize:
            place();
            break;
        case Property::Style:
            apply_flags();
            if (form_.visible())
                widget_->show(); // new flags hide the window
            break;
        case Property::Visible:
            form_.visible() ? show() : widget_->hide();
            break;
        case Property::Text:
            widget_->setWindowTitle(qstring(form_.caption()));
            break;
        case Property::WindowState:
            if (!static_cast<FormWidget*>(widget_.data())->reporting())
                apply_state();
            break;
        case Property::Font:
            WidgetPeer::changed(what);
            break;
        default:
            break;
        }
    }

private:
    void apply_flags() {
        Qt::WindowFlags flags = form_.border_style() == BorderStyle::Dialog
                                    ? Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint
                                    : Qt::Window;
        if (form_.stay_on_top())
            flags |= Qt::WindowStaysOnTopHint;
        widget_->setWindowFlags(flags);
    }

    // The form's bounds are its outer frame, or the layout gives the client
    // size; Qt places the client area.
    void place() {
        const Rect& r = form_.bounds();
        if (form_.client_sized()) {
            const Rect client = form_.client_rect();
            if (form_.border_style() == BorderStyle::Dialog)
                widget_->setFixedSize(client.width, client.height);
            else
                widget_->resize(client.width, client.height);
        } else {
            if (r.width <= 0 || r.height <= 0 || form_.window_state() != WindowState::Normal)
                return;
            widget_->resize(std::max(r.width - 16, 1), std::max(r.height - 38, 1));
        }
        if (form_.centered()) {
            const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
            widget_->move(screen.center() - widget_->rect().center());
        } else {
            widget_->move(r.left, r.top);
        }
    }

    void apply_state() {
        switch (form_.window_state()) {
        case WindowState::Maximized:
            // Without a window manager nobody else would size the window.
            widget_->setGeometry(QGuiApplication::primaryScreen()->availableGeometry());
            widget_->setWindowState(Qt::WindowMaximized);
            break;
        case WindowState::Minimized:
            widget_->setWindowState(Qt::WindowMinimized);
            break;
        case WindowState::Normal:
            widget_->setWindowState(Qt::WindowNoState);
            place();
            break;
        }
    }

    void show() {
        widget_->setWindowModality(form_.modal() ? Qt::ApplicationModal : Qt::NonModal);
        if (form_.centered())
            place();
        widget_->show();
        apply_state();
        widget_->raise();
        widget_->activateWindow();
        // Without a window manager the first request comes before the window
        // is mapped and is lost; ask again once the loop has mapped it.
        QTimer::singleShot(100, widget_, [w = widget_] {
            if (w && !w->isActiveWindow())
                w->activateWindow();
        });
        if (Control* active = form_.active_control())
            if (QWidget* w = widget_of(*active))
                w->setFocus(Qt::ActiveWindowFocusReason);
    }

    Form& form_;
};

} // namespace

std::unique_ptr<ControlPeer> make_peer(Backend& backend, Form& form) {
    return std::make_unique<FormPeer>(backend, form);
}

} // namespace qirelo::ui::qt
