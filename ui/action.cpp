#include "ui/action.h"

#include <algorithm>

namespace qirelo::ui {

Action* ActionList::find(const std::string& name) const {
    auto it = std::find_if(actions_.begin(), actions_.end(),
                           [&](const Action* action) { return action->name() == name; });
    return it == actions_.end() ? nullptr : *it;
}

Action::Action(ActionList& list, std::string name, std::string caption)
    : Component(std::move(name)), list_(list), caption_(std::move(caption)) {
    list_.actions_.push_back(this);
}

Action::~Action() {
    std::erase(list_.actions_, this);
}

bool Action::execute() {
    if (!enabled_ || !OnExecute)
        return false;
    OnExecute(*this);
    return true;
}

} // namespace qirelo::ui
