#pragma once

// The status bar at the bottom of a window: panels left to right, each with
// its width in pixels and its text.

#include <string>
#include <vector>

#include "ui/control.h"

namespace qirelo::ui {

class StatusBar : public Control {
public:
    void accept(WidgetKindVisitor& visitor) override;
    StatusBar(Control* parent, std::string name);

    struct Panel {
        int width = 50;
        std::string text;
    };

    void add_panel(int width);
    std::size_t panel_count() const { return panels_.size(); }
    const Panel& panel(std::size_t index) const { return panels_.at(index); }
    // Raises std::out_of_range for a panel that does not exist.
    void set_panel_text(std::size_t index, const std::string& text);

private:
    std::vector<Panel> panels_;
};

} // namespace qirelo::ui
