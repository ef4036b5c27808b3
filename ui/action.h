#pragma once

// The action list and its actions: named commands that user events, timers
// and relay commands run instead of repeating their steps.

#include <string>
#include <vector>

#include "ui/component.h"

namespace qirelo::ui {

class Action;

class ActionList : public Component {
public:
    using Component::Component;

    const std::vector<Action*>& actions() const { return actions_; }
    Action* find(const std::string& name) const;

private:
    friend class Action;
    std::vector<Action*> actions_;
};

class Action : public Component {
public:
    Action(ActionList& list, std::string name, std::string caption);
    ~Action() override;

    const std::string& caption() const { return caption_; }
    bool enabled() const { return enabled_; }
    void set_enabled(bool enabled) { enabled_ = enabled; }

    NotifyEvent OnExecute;
    // Runs OnExecute; false when the action is disabled or has no handler.
    bool execute();

private:
    ActionList& list_;
    std::string caption_;
    bool enabled_ = true;
};

} // namespace qirelo::ui
