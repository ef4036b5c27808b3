// The Qt peers on Qt's offscreen platform: what code sets on a widget shows
// in its Qt widget, what the user does in the Qt widget reaches the widget's
// rules and events, keys pass the application's message hook first, and the
// backend's timers and Synchronize run on Qt's loop.

#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QEventLoop>
#include <QKeyEvent>
#include <QLineEdit>
#include <QSlider>
#include <QTabBar>
#include <QTimer>
#include <QToolButton>

#include <chrono>
#include <thread>
#include <vector>

#include "platform/profile/codepage.h"
#include "qt_application.h"
#include "ui/application.h"
#include "ui/button.h"
#include "ui/edit.h"
#include "ui/form.h"
#include "ui/page_control.h"
#include "ui/qt/backend.h"
#include "ui/qt/peers.h"
#include "ui/timer.h"
#include "ui/track_bar.h"

namespace qirelo::ui::qt {
namespace {

QApplication& Qt() {
    return test_support::TheQtApplication();
}

// Runs Qt's loop until `done` or `limit` has passed.
template <typename Done>
bool SpinUntil(Done done, std::chrono::milliseconds limit = std::chrono::seconds(1)) {
    const auto until = std::chrono::steady_clock::now() + limit;
    while (!done() && std::chrono::steady_clock::now() < until)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    return done();
}

class TestForm : public Form {
public:
    TestForm() : Form("TestForm") { set_bounds(0, 0, 400, 300); }
    Edit name{this, "name"};
    ButtonEdit address{this, "address"};
    CheckBox remember{this, "remember"};
    TrackBar level{this, "level"};
    PageControl pages{this, "pages"};
    TabSheet first{pages, "first"};
    TabSheet second{pages, "second"};
};

class QtPeersTest : public testing::Test {
protected:
    QtPeersTest() : application(backend) {
        form.name.set_bounds(10, 10, 120, 22);
        form.address.set_bounds(10, 40, 200, 22);
        form.level.set_range(0, 255);
        form.pages.set_bounds(0, 100, 400, 200);
        form.first.set_caption(platform::gb("程序"));
        form.second.set_caption("web");
        realize(backend, form);
    }

    template <typename W> W* Widget(const Control& control) {
        return dynamic_cast<W*>(widget_of(control));
    }
    QLineEdit* Line(const Control& edit) {
        QWidget* w = widget_of(edit);
        auto* line = dynamic_cast<QLineEdit*>(w);
        return line ? line : w->findChild<QLineEdit*>();
    }
    static void Type(QWidget* target, int key, const QString& text) {
        QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, text);
        QCoreApplication::sendEvent(target, &press);
    }

    QApplication& qt = Qt(); // before any widget
    Backend backend;
    Application application;
    TestForm form;
};

TEST_F(QtPeersTest, EveryKindGetsItsOwnWidgetAndAControlOfNoKindIsRefused) {
    EXPECT_NE(Widget<QCheckBox>(form.remember), nullptr);
    EXPECT_NE(Widget<QSlider>(form.level), nullptr);
    EXPECT_NE(Line(form.address), nullptr);
    // A control that is no widget kind gets no blank stand-in.
    Form other("other");
    Control stray(&other, "stray");
    EXPECT_THROW(realize(backend, other), UnknownWidgetKind);
}

TEST_F(QtPeersTest, WhatCodeSetsShowsInTheQtWidgets) {
    form.name.set_text(platform::gb("会员"));
    EXPECT_EQ(Line(form.name)->text(), QString::fromUtf8("会员"));
    form.name.set_password_char('*');
    EXPECT_EQ(Line(form.name)->echoMode(), QLineEdit::Password);
    form.remember.set_checked(true);
    EXPECT_TRUE(Widget<QCheckBox>(form.remember)->isChecked());
    form.level.set_position(200);
    EXPECT_EQ(Widget<QSlider>(form.level)->value(), 200);
    EXPECT_EQ(Widget<QSlider>(form.level)->maximum(), 255);
    form.name.set_enabled(false);
    EXPECT_FALSE(Line(form.name)->isEnabled());
    form.name.set_bounds(20, 30, 100, 24);
    EXPECT_EQ(widget_of(form.name)->geometry(), QRect(20, 30, 100, 24));

    auto* tabs = widget_of(form.pages)->findChild<QTabBar*>();
    ASSERT_NE(tabs, nullptr);
    EXPECT_EQ(tabs->tabText(0), QString::fromUtf8("程序"));
    form.pages.set_active_page(&form.second);
    EXPECT_EQ(tabs->currentIndex(), 1);
    EXPECT_FALSE(widget_of(form.first)->isVisibleTo(widget_of(form.pages)));
    EXPECT_TRUE(widget_of(form.second)->isVisibleTo(widget_of(form.pages)));
}

TEST_F(QtPeersTest, TheUsersTypingRunsTheKeyHandlersAndChangesTheText) {
    std::vector<char> pressed;
    int changes = 0;
    form.name.OnKeyPress = [&](Component&, char& key) {
        pressed.push_back(key);
        if (key == 'x')
            key = 0; // swallowed
    };
    form.name.OnChange = [&](Component&) { ++changes; };
    Type(Line(form.name), Qt::Key_A, "a");
    Type(Line(form.name), Qt::Key_X, "x");
    Type(Line(form.name), Qt::Key_B, "b");
    EXPECT_EQ(form.name.text(), "ab");
    EXPECT_EQ(changes, 2);
    EXPECT_EQ(pressed, (std::vector<char>{'a', 'x', 'b'}));
}

TEST_F(QtPeersTest, EnterReachesTheKeyDownHandlerAsVirtualKey13) {
    std::uint16_t seen = 0;
    form.address.OnKeyDown = [&](Component&, std::uint16_t& key, ShiftState) { seen = key; };
    Type(Line(form.address), Qt::Key_Return, "\r");
    EXPECT_EQ(seen, 13);
}

TEST_F(QtPeersTest, ClicksAndMovesOfTheUserReachTheWidgets) {
    int go = 0, clicks = 0, changes = 0;
    form.address.OnButtonClick = [&](Component&) { ++go; };
    form.remember.OnClick = [&](Component&) { ++clicks; };
    form.level.OnChange = [&](Component&) { ++changes; };
    form.pages.OnChange = [&](Component&) { ++changes; };

    widget_of(form.address)->findChild<QToolButton*>()->click();
    EXPECT_EQ(go, 1);
    Widget<QCheckBox>(form.remember)->click();
    EXPECT_TRUE(form.remember.checked());
    EXPECT_EQ(clicks, 1);
    Widget<QSlider>(form.level)->setValue(77);
    EXPECT_EQ(form.level.position(), 77);
    widget_of(form.pages)->findChild<QTabBar*>()->setCurrentIndex(1);
    EXPECT_EQ(form.pages.active_page(), &form.second);
    EXPECT_EQ(changes, 2);
    // Code moving the slider is not taken for the user's move again.
    form.level.set_position(78);
    EXPECT_EQ(changes, 3);
}

TEST_F(QtPeersTest, KeysPassTheMessageHookBeforeTheWidgetGetsThem) {
    form.show_form();
    std::vector<std::uintptr_t> hooked;
    bool swallow = false;
    application.OnMessage = [&](Message& message, bool& handled) {
        if (message.message == kKeyDown)
            hooked.push_back(message.wparam);
        handled = swallow;
    };
    auto post = [&](int key, const char* text) {
        QCoreApplication::postEvent(Line(form.name),
                                    new QKeyEvent(QEvent::KeyPress, key, Qt::NoModifier, text));
        application.process_messages();
    };
    post(Qt::Key_Q, "q");
    EXPECT_EQ(hooked, (std::vector<std::uintptr_t>{'Q'}));
    EXPECT_EQ(form.name.text(), "q");
    swallow = true; // the hook took it: the edit never sees it
    post(Qt::Key_W, "w");
    EXPECT_EQ(hooked.size(), 2u);
    EXPECT_EQ(form.name.text(), "q");
}

TEST_F(QtPeersTest, TheMembersRestoreAndMinimiseReachTheFormSoMaximisingActsAgain) {
    form.show_form();
    QWidget* window = widget_of(form);
    form.set_window_state(WindowState::Maximized);
    EXPECT_TRUE(window->isMaximized());
    window->showNormal(); // the member restores the window
    EXPECT_EQ(form.window_state(), WindowState::Normal);
    form.set_window_state(WindowState::Maximized); // Action1
    EXPECT_TRUE(window->isMaximized());
    window->showMinimized();
    EXPECT_EQ(form.window_state(), WindowState::Minimized);
    form.set_window_state(WindowState::Maximized);
    EXPECT_TRUE(window->isMaximized());
    EXPECT_FALSE(window->isMinimized());
}

TEST_F(QtPeersTest, TimersRunOnQtsLoopAndAOneShotFiresOnce) {
    Timer timer(backend.timers(), "Timer1");
    timer.set_enabled(false);
    timer.set_interval(std::chrono::milliseconds(20));
    int fired = 0;
    timer.OnTimer = [&](Component&) {
        ++fired;
        timer.set_enabled(false);
    };
    timer.set_enabled(true);
    EXPECT_TRUE(SpinUntil([&] { return fired == 1; }));
    SpinUntil([] { return false; }, std::chrono::milliseconds(200)); // ten intervals more
    EXPECT_EQ(fired, 1);
}

TEST_F(QtPeersTest, SynchronizeRunsTheWorkersCallOnTheMainThread) {
    std::thread::id ran_on;
    bool finished = false;
    std::thread worker([&] {
        application.synchronize([&] { ran_on = std::this_thread::get_id(); });
        finished = true;
    });
    EXPECT_TRUE(SpinUntil([&] { return ran_on != std::thread::id{}; }));
    worker.join();
    EXPECT_TRUE(finished);
    EXPECT_EQ(ran_on, std::this_thread::get_id());
}

} // namespace
} // namespace qirelo::ui::qt
