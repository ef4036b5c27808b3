#include "ui/form.h"

#include "ui/button.h"
#include "ui/message.h"
#include "ui/widget_kinds.h"

#include <algorithm>

namespace qirelo::ui {
namespace {

// Without a native window: the frame of a plain sizeable window.
constexpr int kFrameX = 8;
constexpr int kCaptionY = 30;
constexpr int kFrameBottom = 8;

// The enabled, showing button under `parent` that `wanted` picks.
template <class Wanted> Button* find_button(Control& parent, const Wanted& wanted) {
    for (Control* child : parent.children()) {
        if (!child->visible() || !child->enabled())
            continue;
        if (auto* button = dynamic_cast<Button*>(child); button && wanted(*button))
            return button;
        if (Button* inner = find_button(*child, wanted))
            return inner;
    }
    return nullptr;
}

void focusable_in_tab_order(Control& parent, std::vector<Control*>& out) {
    for (Control* child : parent.children_in_tab_order()) {
        if (child->can_focus())
            out.push_back(child);
        if (child->visible() && child->enabled())
            focusable_in_tab_order(*child, out);
    }
}

// The letter a caption marks with '&' ("&&" is a plain ampersand), or 0.
char marked_letter(const std::string& caption) {
    for (std::size_t i = 0; i + 1 < caption.size(); ++i) {
        if (caption[i] != '&')
            continue;
        if (caption[i + 1] != '&')
            return caption[i + 1];
        ++i;
    }
    return 0;
}

char lower(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

} // namespace

Form::Form(std::string name) : Control(nullptr, std::move(name)) {
    Control::set_visible(false);
}

Point Form::screen_origin() const {
    if (peer())
        if (auto native = peer()->screen_origin())
            return *native;
    return Point{left() + kFrameX, top() + kCaptionY};
}

Rect Form::client_rect() const {
    return Rect{0, 0, client_width_, client_height_};
}

void Form::bounds_changed() {
    if (client_from_peer_ || client_sized_)
        return;
    client_width_ = std::max(width() - 2 * kFrameX, 0);
    client_height_ = std::max(height() - kCaptionY - kFrameBottom, 0);
}

void Form::set_client_size(int width, int height) {
    client_from_peer_ = peer() != nullptr;
    if (width == client_width_ && height == client_height_)
        return;
    client_width_ = width;
    client_height_ = height;
    realign();
}

void Form::size_client(int width, int height) {
    client_sized_ = true;
    set_client_size(width, height);
    client_from_peer_ = false;
    notify(Property::ClientSize);
}

void Form::set_stay_on_top(bool on_top) {
    if (on_top == stay_on_top_)
        return;
    stay_on_top_ = on_top;
    notify(Property::Style);
}

void Form::set_window_state(WindowState state) {
    if (state == window_state_)
        return;
    window_state_ = state;
    notify(Property::WindowState);
}

void Form::set_active_control(Control* control) {
    if (control == active_control_)
        return;
    Control* previous = active_control_;
    active_control_ = control;
    if (previous)
        fire(previous->OnExit, *previous);
    if (control) {
        control->notify(Property::Focus);
        fire(control->OnEnter, *control);
    }
}

void Form::select_next(bool forward) {
    std::vector<Control*> order;
    focusable_in_tab_order(*this, order);
    if (order.empty())
        return;
    auto at = std::find(order.begin(), order.end(), active_control_);
    std::size_t index;
    if (at == order.end())
        index = forward ? 0 : order.size() - 1;
    else {
        std::size_t current = static_cast<std::size_t>(at - order.begin());
        index =
            forward ? (current + 1) % order.size() : (current + order.size() - 1) % order.size();
    }
    set_active_control(order[index]);
}

void Form::show_form() {
    set_visible(true);
}

void Form::showing_changed(bool now_showing) {
    if (now_showing)
        fire(OnShow, *this);
}

void Form::close() {
    CloseAction action = CloseAction::Hide;
    if (OnClose)
        OnClose(*this, action);
    if (action == CloseAction::None)
        return;
    if (modal_) {
        // The modal loop hides the window once it has its answer.
        if (modal_result_ == ModalResult::None)
            modal_result_ = ModalResult::Cancel;
        return;
    }
    if (action == CloseAction::Minimize) {
        set_window_state(WindowState::Minimized);
        return;
    }
    set_visible(false);
    if (closed)
        closed();
}

Control* Form::button_for_key(std::uint16_t key) {
    if (key == kVkReturn) {
        if (auto* focused = dynamic_cast<Button*>(active_control_);
            focused && focused->visible() && focused->enabled())
            return focused;
        return find_button(*this, [](const Button& b) { return b.is_default(); });
    }
    if (key == kVkEscape)
        return find_button(*this, [](const Button& b) { return b.is_cancel(); });
    return nullptr;
}

bool Form::accelerator_key(char letter) {
    Button* button = find_button(*this, [letter](const Button& b) {
        const char marked = marked_letter(b.caption());
        return marked != 0 && lower(marked) == lower(letter);
    });
    if (!button)
        return false;
    button->click();
    return true;
}

bool Form::dialog_key(std::uint16_t key) {
    Control* button = button_for_key(key);
    if (!button)
        return false;
    button->click();
    return true;
}

void Form::accept(WidgetKindVisitor& visitor) {
    visitor.visit(*this);
}

} // namespace qirelo::ui
