#pragma once

// Pictures: a bitmap of 0x00RRGGBB pixels, row by row from the top, and the
// image control that shows one. A pixel of kTransparent shows the colour of
// what lies behind (a button's face).

#include <cstdint>
#include <vector>

#include "ui/control.h"

namespace qirelo::ui {

inline constexpr std::uint32_t kTransparent = 0xFF000000;

struct Bitmap {
    int width = 0;
    int height = 0;
    std::vector<std::uint32_t> pixels;

    Bitmap() = default;
    Bitmap(int w, int h, std::uint32_t fill = 0xFFFFFF)
        : width(w), height(h), pixels(static_cast<std::size_t>(w) * h, fill) {}
    bool empty() const { return pixels.empty(); }
    std::uint32_t at(int x, int y) const { return pixels[static_cast<std::size_t>(y) * width + x]; }
    void set(int x, int y, std::uint32_t rgb) {
        pixels[static_cast<std::size_t>(y) * width + x] = rgb;
    }
    friend bool operator==(const Bitmap&, const Bitmap&) = default;
};

class Image : public Control {
public:
    void accept(WidgetKindVisitor& visitor) override;
    using Control::Control;

    const Bitmap& picture() const { return picture_; }
    void set_picture(Bitmap picture);

    bool stretch() const { return stretch_; }
    void set_stretch(bool stretch) { stretch_ = stretch; }

private:
    Bitmap picture_;
    bool stretch_ = false;
};

} // namespace qirelo::ui
