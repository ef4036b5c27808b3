#pragma once

// A top window: caption, window state, the control that holds the keyboard
// focus, and the show and close events. A form is hidden until show(); its
// OnShow runs after the children have become showing (so a tab sheet's OnShow
// comes first). Closing runs OnClose, whose action decides whether the form
// goes; when it goes, the application is told (the main form's close ends the
// message loop).

#include <functional>

#include "ui/control.h"

namespace qirelo::ui {

enum class WindowState { Normal, Minimized, Maximized };
enum class CloseAction { None, Hide, Free, Minimize };

class Form : public Control {
public:
    void accept(WidgetKindVisitor& visitor) override;
    explicit Form(std::string name);

    bool showing() const override { return visible(); }
    Point screen_origin() const override;
    Rect client_rect() const override;

    WindowState window_state() const { return window_state_; }
    void set_window_state(WindowState state);

    // Centred on the screen when first shown.
    bool centered() const { return centered_; }
    void set_centered(bool centered) { centered_ = centered; }

    // The client area's size; a native window reports its own.
    void set_client_size(int width, int height);

    Control* active_control() const { return active_control_; }
    void set_active_control(Control* control);
    // Moves the focus to the next (or previous) focusable control in tab order.
    void select_next(bool forward = true);

    // The user or code shows and closes the window.
    void show_form();
    void close();

    NotifyEvent OnShow;
    std::function<void(Component& sender, CloseAction& action)> OnClose;

    // Told when the form has gone after a close (the application listens).
    std::function<void()> closed;

protected:
    void showing_changed(bool now_showing) override;
    void bounds_changed() override;

private:
    WindowState window_state_ = WindowState::Normal;
    bool centered_ = false;
    int client_width_ = 0;
    int client_height_ = 0;
    bool client_from_peer_ = false;
    Control* active_control_ = nullptr;
};

} // namespace qirelo::ui
