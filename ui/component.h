#pragma once

// The root of every widget and every windowless component (timers, actions):
// a name, as the window layout gives it, and no copies.

#include <functional>
#include <string>

namespace qirelo::ui {

class Component {
public:
    explicit Component(std::string name) : name_(std::move(name)) {}
    virtual ~Component() = default;
    Component(const Component&) = delete;
    Component& operator=(const Component&) = delete;

    const std::string& name() const { return name_; }

private:
    std::string name_;
};

// The plain event: the component that raised it, as the handler's Sender.
using NotifyEvent = std::function<void(Component& sender)>;

inline void fire(const NotifyEvent& event, Component& sender) {
    if (event)
        event(sender);
}

} // namespace qirelo::ui
