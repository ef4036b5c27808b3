#include "ui/control.h"

#include <algorithm>

#include "ui/form.h"

namespace qirelo::ui {

Control::Control(Control* parent, std::string name) : Component(std::move(name)) {
    if (parent)
        parent->attach_child(this);
}

Control::~Control() {
    peer_.reset();
    for (Control* child : children_)
        child->parent_ = nullptr;
    if (parent_)
        parent_->detach_child(this);
}

void Control::attach_child(Control* child) {
    child->parent_ = this;
    child->tab_order_ = static_cast<int>(children_.size());
    children_.push_back(child);
}

void Control::detach_child(Control* child) {
    std::erase(children_, child);
    if (Form* top = form(); top && top->active_control() == child)
        top->set_active_control(nullptr);
}

Form* Control::form() {
    Control* top = this;
    while (top->parent_)
        top = top->parent_;
    return dynamic_cast<Form*>(top);
}

void Control::notify(Property what) {
    if (peer_)
        peer_->changed(what);
}

void Control::attach_peer(std::unique_ptr<ControlPeer> peer) {
    peer_ = std::move(peer);
}

void Control::set_bounds(const Rect& bounds) {
    Rect wanted = bounds;
    wanted.width = std::max(wanted.width, 0);
    wanted.height = std::max(wanted.height, 0);
    if (wanted == bounds_)
        return;
    bounds_ = wanted;
    notify(Property::Bounds);
    bounds_changed();
    realign();
    if (align_ != Align::None && parent_)
        parent_->realign();
}

void Control::set_align(Align align) {
    if (align == align_)
        return;
    align_ = align;
    if (parent_)
        parent_->realign();
}

Rect Control::client_rect() const {
    return Rect{0, 0, bounds_.width, bounds_.height};
}

Point Control::screen_origin() const {
    if (peer_)
        if (auto native = peer_->screen_origin())
            return *native;
    Point origin{bounds_.left, bounds_.top};
    if (parent_) {
        Point parent_origin = parent_->screen_origin();
        origin.x += parent_origin.x;
        origin.y += parent_origin.y;
    }
    return origin;
}

void Control::realign() {
    if (aligning_)
        return;
    aligning_ = true;
    Rect area = client_rect();
    auto place = [&](Align which) {
        for (Control* child : children_) {
            if (child->align_ != which || !child->visible_)
                continue;
            Rect r = child->bounds_;
            switch (which) {
            case Align::Top:
                r = {area.left, area.top, area.width, r.height};
                area.top += r.height;
                area.height -= r.height;
                break;
            case Align::Bottom:
                r = {area.left, area.bottom() - r.height, area.width, r.height};
                area.height -= r.height;
                break;
            case Align::Left:
                r = {area.left, area.top, r.width, area.height};
                area.left += r.width;
                area.width -= r.width;
                break;
            case Align::Right:
                r = {area.right() - r.width, area.top, r.width, area.height};
                area.width -= r.width;
                break;
            case Align::Client:
                r = area;
                break;
            case Align::None:
                break;
            }
            area.width = std::max(area.width, 0);
            area.height = std::max(area.height, 0);
            child->set_bounds(r);
        }
    };
    for (Align which : {Align::Top, Align::Bottom, Align::Left, Align::Right, Align::Client})
        place(which);
    aligning_ = false;
}

void Control::set_caption(const std::string& caption) {
    if (caption == caption_)
        return;
    caption_ = caption;
    notify(Property::Text);
    text_changed();
}

void Control::set_visible(bool visible) {
    if (visible == visible_)
        return;
    const bool was_showing = showing();
    visible_ = visible;
    notify(Property::Visible);
    if (align_ != Align::None && parent_)
        parent_->realign();
    if (showing() != was_showing)
        propagate_showing(!was_showing);
}

bool Control::showing() const {
    return visible_ && parent_ && parent_->showing();
}

// Showing, the children are told before their parent; hiding, after it.
void Control::propagate_showing(bool now_showing) {
    if (!now_showing)
        showing_changed(false);
    for (Control* child : children_)
        if (child->visible_)
            child->propagate_showing(now_showing);
    if (now_showing)
        showing_changed(true);
}

void Control::showing_changed(bool) {}

void Control::set_enabled(bool enabled) {
    if (enabled == enabled_)
        return;
    enabled_ = enabled;
    notify(Property::Enabled);
}

const Font& Control::font() const {
    if (parent_font_ && parent_)
        return parent_->font();
    return font_;
}

void Control::set_font(const Font& font) {
    font_ = font;
    parent_font_ = false;
    notify(Property::Font);
    text_changed();
}

void Control::set_color(Color color) {
    if (color == color_)
        return;
    color_ = color;
    notify(Property::Color);
}

std::vector<Control*> Control::children_in_tab_order() const {
    std::vector<Control*> ordered = children_;
    std::stable_sort(ordered.begin(), ordered.end(), [](const Control* a, const Control* b) {
        return a->tab_order_ < b->tab_order_;
    });
    return ordered;
}

void Control::set_tab_order(int order) {
    if (!parent_)
        return;
    std::vector<Control*> siblings = parent_->children_in_tab_order();
    std::erase(siblings, this);
    order = std::clamp(order, 0, static_cast<int>(siblings.size()));
    siblings.insert(siblings.begin() + order, this);
    for (std::size_t i = 0; i < siblings.size(); ++i)
        siblings[i]->tab_order_ = static_cast<int>(i);
}

bool Control::can_focus() const {
    if (!accepts_focus() || !tab_stop_)
        return false;
    // The top window itself may still be hidden: focus set before it is shown
    // is taken when it shows.
    for (const Control* c = this; c->parent_; c = c->parent_)
        if (!c->visible_ || !c->enabled_)
            return false;
    return true;
}

bool Control::focused() {
    Form* top = form();
    return top && top->active_control() == this;
}

void Control::set_focus() {
    if (Form* top = form())
        top->set_active_control(this);
}

void Control::click() {
    fire(OnClick, *this);
}

void Control::accept(WidgetKindVisitor&) {
    throw UnknownWidgetKind("no native control for " + name());
}

} // namespace qirelo::ui
