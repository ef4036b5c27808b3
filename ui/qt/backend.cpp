#include "ui/qt/backend.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMessageBox>
#include <QThread>
#include <QTimer>
#include <QWidget>
#include <QtGui/qguiapplication_platform.h>
#include <xcb/xcb.h>

#include <cstdlib>

#include <utility>

#include "ui/application.h"
#include "ui/form.h"
#include "ui/qt/keys.h"
#include "ui/qt/peers.h"
#include "ui/qt/text.h"

namespace qirelo::ui::qt {
namespace {

// Posted from any thread: synchronized calls wait, or the loop is to end.
const QEvent::Type kWakeEvent = static_cast<QEvent::Type>(QEvent::User + 1);

// Keys taken off one delivery are kept this long for their dispatch; a key
// that the message hook swallowed is forgotten after as many newer ones.
constexpr std::uintptr_t kHeldKeys = 64;

constexpr std::intptr_t kExtendedKeyFlag = 0x01000000;
constexpr std::intptr_t kKeyUpFlags = static_cast<std::intptr_t>(0xC0000000u);

} // namespace

Backend::Backend() {
    qApp->installEventFilter(this);
}

Backend::~Backend() {
    qApp->removeEventFilter(this);
}

void Backend::guard(const std::function<void()>& handler) {
    if (application_)
        application_->guard(handler);
    else
        handler();
}

void Backend::settle_input() {
    if (auto* x11 = qApp->nativeInterface<QNativeInterface::QX11Application>()) {
        xcb_connection_t* connection = x11->connection();
        // Events come before the reply to a request made after them.
        std::free(xcb_get_input_focus_reply(connection, xcb_get_input_focus(connection), nullptr));
    }
    QCoreApplication::processEvents(QEventLoop::AllEvents);
}

bool Backend::take(Message& out) {
    if (queue_.empty())
        return false;
    out = queue_.front();
    queue_.pop_front();
    return true;
}

bool Backend::wait_message(Message& out) {
    const int outer = std::exchange(loop_level_, QThread::currentThread()->loopLevel());
    bool got = false;
    while (!quit_ && !(got = take(out)))
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    loop_level_ = outer;
    return got && !quit_;
}

bool Backend::peek_message(Message& out) {
    if (!handing_over_ && queue_.empty()) {
        const int outer = std::exchange(loop_level_, QThread::currentThread()->loopLevel());
        QCoreApplication::processEvents(QEventLoop::AllEvents);
        loop_level_ = outer;
    }
    return take(out);
}

// Takes key events for the application's widgets while its own loop waits,
// and has the application handle each at once, as the next message of its
// queue: keys and the pointer's events keep their order.
bool Backend::eventFilter(QObject* watched, QEvent* event) {
    const bool key = event->type() == QEvent::KeyPress || event->type() == QEvent::KeyRelease;
    if (!key || delivering_ || handing_over_ || !watched->isWidgetType() || !application_)
        return false;
    if (loop_level_ < 0 || QThread::currentThread()->loopLevel() != loop_level_)
        return false;
    auto* key_event = static_cast<QKeyEvent*>(event);
    const std::uint16_t vk = VirtualKeyOf(*key_event);
    if (vk == 0)
        return false; // nothing the message hook could name

    Message message;
    message.window = next_key_++;
    message.message = event->type() == QEvent::KeyPress ? kKeyDown : kKeyUp;
    message.wparam = vk;
    message.lparam = 1 | (IsExtendedKey(*key_event) ? kExtendedKeyFlag : 0) |
                     (event->type() == QEvent::KeyRelease ? kKeyUpFlags : 0);
    held_[message.window] = HeldKey{watched, std::unique_ptr<QKeyEvent>(key_event->clone())};
    held_.erase(held_.begin(),
                held_.lower_bound(message.window > kHeldKeys ? message.window - kHeldKeys : 0));
    queue_.push_back(message);
    handing_over_ = true;
    application_->handle_message();
    handing_over_ = false;
    return true;
}

void Backend::dispatch_message(const Message& message) {
    auto held = held_.find(message.window);
    if (held == held_.end())
        return;
    HeldKey key = std::move(held->second);
    held_.erase(held);
    if (!key.receiver)
        return;
    delivering_ = true;
    QCoreApplication::sendEvent(key.receiver, key.event.get());
    delivering_ = false;
}

bool Backend::event(QEvent* event) {
    if (event->type() != kWakeEvent)
        return QObject::event(event);
    if (application_)
        application_->check_synchronize();
    return true;
}

void Backend::wake() {
    QCoreApplication::postEvent(this, new QEvent(kWakeEvent));
}

void Backend::quit() {
    quit_ = true;
    wake();
}

void Backend::realize(Form& form) {
    qt::realize(*this, form);
}

void Backend::run_modal(Form& form, const std::function<bool()>& done) {
    form.show_form();
    while (!quit_ && !done())
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
}

void Backend::start(Timer& timer) {
    auto& native = timers_[&timer];
    if (!native) {
        native = std::make_unique<QTimer>();
        QObject::connect(native.get(), &QTimer::timeout, this,
                         [this, &timer] { guard([&timer] { timer.elapsed(); }); });
    }
    native->start(static_cast<int>(timer.interval().count()));
}

void Backend::stop(Timer& timer) {
    if (auto it = timers_.find(&timer); it != timers_.end())
        it->second->stop();
}

int Backend::show(const std::string& text, const std::string& caption, unsigned flags) {
    QMessageBox box;
    box.setWindowTitle(qstring(caption));
    box.setText(qlines(text));
    switch (flags & 0xF0) {
    case kMbIconError:
        box.setIcon(QMessageBox::Critical);
        break;
    case kMbIconQuestion:
        box.setIcon(QMessageBox::Question);
        break;
    case kMbIconWarning:
        box.setIcon(QMessageBox::Warning);
        break;
    case kMbIconInformation:
        box.setIcon(QMessageBox::Information);
        break;
    default:
        break;
    }
    switch (flags & 0x0F) {
    case kMbOkCancel:
        box.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel);
        break;
    case kMbYesNo:
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
        break;
    default:
        box.setStandardButtons(QMessageBox::Ok);
        break;
    }
    switch (box.exec()) {
    case QMessageBox::Cancel:
        return kIdCancel;
    case QMessageBox::Yes:
        return kIdYes;
    case QMessageBox::No:
        return kIdNo;
    default:
        return kIdOk;
    }
}

} // namespace qirelo::ui::qt
