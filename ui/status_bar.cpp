#include "ui/status_bar.h"

#include "ui/widget_kinds.h"

namespace qirelo::ui {

StatusBar::StatusBar(Control* parent, std::string name) : Control(parent, std::move(name)) {
    set_align(Align::Bottom);
    set_bounds(0, 0, 0, 19);
}

void StatusBar::add_panel(int width) {
    panels_.push_back(Panel{width, {}});
    notify(Property::Panels);
}

void StatusBar::set_panel_text(std::size_t index, const std::string& text) {
    Panel& panel = panels_.at(index);
    if (panel.text == text)
        return;
    panel.text = text;
    notify(Property::Panels);
}

void StatusBar::accept(WidgetKindVisitor& visitor) {
    visitor.visit(*this);
}

} // namespace qirelo::ui
