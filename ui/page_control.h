#pragma once

// The page control and its tab sheets. The tabs follow the sheets' creation
// order. The active sheet is the only visible one and fills the page area
// below the tabs; a sheet raises OnShow each time it becomes showing and
// OnHide when it stops. OnChange of the page control runs only when the user
// picks a tab (select_tab), not when code sets the active page.

#include <vector>

#include "ui/control.h"

namespace qirelo::ui {

class PageControl;

class TabSheet : public Control {
public:
    void accept(WidgetKindVisitor& visitor) override;
    TabSheet(PageControl& owner, std::string name);
    ~TabSheet() override;

    PageControl& page_control() { return owner_; }
    int page_index() const;

    NotifyEvent OnShow;
    NotifyEvent OnHide;

protected:
    void showing_changed(bool now_showing) override;

private:
    PageControl& owner_;
};

enum class TabStyle { Tabs, Buttons, FlatButtons };

class PageControl : public Control {
public:
    void accept(WidgetKindVisitor& visitor) override;
    using Control::Control;

    bool accepts_focus() const override { return true; }
    Rect client_rect() const override;

    TabStyle style() const { return style_; }
    void set_style(TabStyle style) { style_ = style; }
    // The height of the tab row; a native peer reports the real one.
    int tab_height() const { return tab_height_; }
    void set_tab_height(int height);

    const std::vector<TabSheet*>& pages() const { return pages_; }
    TabSheet* active_page() const { return active_; }
    void set_active_page(TabSheet* page);
    // The user picks the tab at `index`.
    void select_tab(std::size_t index);

    NotifyEvent OnChange;

private:
    friend class TabSheet;
    void add_page(TabSheet& page);
    void remove_page(TabSheet& page);

    std::vector<TabSheet*> pages_;
    TabSheet* active_ = nullptr;
    TabStyle style_ = TabStyle::Tabs;
    int tab_height_ = 24;
};

} // namespace qirelo::ui
