#pragma once

// Pixel geometry of the widgets: positions are relative to the parent's client
// area, at 96 dots per inch, never rescaled.

namespace qirelo::ui {

struct Point {
    int x = 0;
    int y = 0;
    friend bool operator==(const Point&, const Point&) = default;
};

struct Rect {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
    int right() const { return left + width; }
    int bottom() const { return top + height; }
    friend bool operator==(const Rect&, const Rect&) = default;
};

// How a control takes its place in its parent: none keeps its own bounds; the
// others dock to an edge (top, bottom, left, right, in that order of placing)
// or fill what is left (client).
enum class Align { None, Top, Bottom, Left, Right, Client };

} // namespace qirelo::ui
