#include "ui/page_control.h"

#include "ui/widget_kinds.h"

#include <algorithm>

namespace qirelo::ui {

TabSheet::TabSheet(PageControl& owner, std::string name)
    : Control(&owner, std::move(name)), owner_(owner) {
    set_align(Align::Client);
    set_tab_stop(false);
    owner.add_page(*this);
}

TabSheet::~TabSheet() {
    owner_.remove_page(*this);
}

int TabSheet::page_index() const {
    const auto& pages = owner_.pages();
    return static_cast<int>(std::find(pages.begin(), pages.end(), this) - pages.begin());
}

void TabSheet::showing_changed(bool now_showing) {
    fire(now_showing ? OnShow : OnHide, *this);
}

Rect PageControl::client_rect() const {
    return Rect{0, tab_height_, width(), std::max(height() - tab_height_, 0)};
}

void PageControl::set_tab_height(int height) {
    if (height == tab_height_)
        return;
    tab_height_ = height;
    realign();
}

void PageControl::add_page(TabSheet& page) {
    pages_.push_back(&page);
    // Only the active sheet is visible; the first one starts active.
    if (!active_)
        active_ = &page;
    else
        page.set_visible(false);
    notify(Property::ActivePage);
}

void PageControl::remove_page(TabSheet& page) {
    std::erase(pages_, &page);
    if (active_ == &page)
        active_ = nullptr;
}

void PageControl::set_active_page(TabSheet* page) {
    if (page == active_ || (page && &page->page_control() != this))
        return;
    TabSheet* previous = active_;
    active_ = page;
    notify(Property::ActivePage);
    if (previous)
        previous->set_visible(false);
    if (page)
        page->set_visible(true);
}

void PageControl::select_tab(std::size_t index) {
    if (index >= pages_.size() || pages_[index] == active_)
        return;
    set_active_page(pages_[index]);
    fire(OnChange, *this);
}

void PageControl::accept(WidgetKindVisitor& visitor) {
    visitor.visit(*this);
}

void TabSheet::accept(WidgetKindVisitor& visitor) {
    visitor.visit(*this);
}

} // namespace qirelo::ui
