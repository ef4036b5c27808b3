#pragma once

// A top window: caption, window state, the control that holds the keyboard
// focus, and the show and close events. A form is hidden until show(); its
// OnShow runs after the children have become showing (so a tab sheet's OnShow
// comes first). Closing runs OnClose, whose action decides whether the form
// goes; when it goes, the application is told (the main form's close ends the
// message loop).
//
// A form shown modally (Application::show_modal) runs until it has a modal
// result: a button with one gives it, Enter clicks the focused or the
// default button, Escape the cancel button, and closing the window answers
// Cancel.

#include <cstdint>
#include <functional>

#include "ui/control.h"
#include "ui/modal_result.h"

namespace qirelo::ui {

enum class WindowState { Normal, Minimized, Maximized };
enum class CloseAction { None, Hide, Free, Minimize };
// A sizeable window with minimise and maximise buttons, or a dialog's fixed
// frame with only the close button.
enum class BorderStyle { Sizeable, Dialog };

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
    // The layout gives the client area's size and the window takes its frame
    // around it; a native window is resized to it.
    void size_client(int width, int height);
    bool client_sized() const { return client_sized_; }

    // Set before the native window is made.
    BorderStyle border_style() const { return border_style_; }
    void set_border_style(BorderStyle style) { border_style_ = style; }

    // Above every window that is not top-most itself, also other programs'.
    bool stay_on_top() const { return stay_on_top_; }
    void set_stay_on_top(bool on_top);

    Control* active_control() const { return active_control_; }
    void set_active_control(Control* control);
    // Moves the focus to the next (or previous) focusable control in tab order.
    void select_next(bool forward = true);

    // The user or code shows and closes the window.
    void show_form();
    void close();

    bool modal() const { return modal_; }
    ModalResult modal_result() const { return modal_result_; }
    void set_modal_result(ModalResult result) { modal_result_ = result; }
    // Enter or Escape pressed in the window: Enter clicks the focused button,
    // or else the default one; Escape clicks the cancel button. True when a
    // button took the key.
    bool dialog_key(std::uint16_t key);
    // Alt and a letter: clicks the button whose caption marks that letter
    // with '&' ("&OK", "[&C]取消"). True when a button took it.
    bool accelerator_key(char letter);

    NotifyEvent OnShow;
    std::function<void(Component& sender, CloseAction& action)> OnClose;

    // Told when the form has gone after a close (the application listens).
    std::function<void()> closed;

protected:
    void showing_changed(bool now_showing) override;
    void bounds_changed() override;

private:
    friend class Application; // runs the modal loop
    Control* button_for_key(std::uint16_t key);

    WindowState window_state_ = WindowState::Normal;
    bool centered_ = false;
    int client_width_ = 0;
    int client_height_ = 0;
    bool client_from_peer_ = false;
    bool client_sized_ = false;
    BorderStyle border_style_ = BorderStyle::Sizeable;
    bool stay_on_top_ = false;
    bool modal_ = false;
    ModalResult modal_result_ = ModalResult::None;
    Control* active_control_ = nullptr;
};

} // namespace qirelo::ui
