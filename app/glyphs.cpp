#include "app/glyphs.h"

namespace qirelo::app {
namespace {

constexpr int kSize = 16;
constexpr std::uint32_t kGreen = 0x2E8B57;
constexpr std::uint32_t kRed = 0xC0392B;
constexpr std::uint32_t kBlue = 0x1E5AA8;

// An arrow along the middle row: a shaft, then a head whose half-height
// shrinks to the tip. `right` points it right, else left.
ui::Bitmap Arrow(std::uint32_t colour, bool right) {
    ui::Bitmap picture(kSize, kSize, ui::kTransparent);
    for (int x = 2; x <= 13; ++x) {
        const int reach = right ? x : kSize - 1 - x; // 2..13 from the tail
        const int half = reach <= 7 ? 1 : 13 - reach;
        for (int y = 7 - half; y <= 8 + half; ++y)
            picture.set(x, y, colour);
    }
    return picture;
}

} // namespace

ui::Bitmap GoGlyph() {
    return Arrow(kGreen, true);
}
ui::Bitmap BackGlyph() {
    return Arrow(kBlue, false);
}
ui::Bitmap ForwardGlyph() {
    return Arrow(kBlue, true);
}

ui::Bitmap StopGlyph() {
    ui::Bitmap picture(kSize, kSize, ui::kTransparent);
    for (int y = 4; y <= 11; ++y)
        for (int x = 4; x <= 11; ++x)
            picture.set(x, y, kRed);
    return picture;
}

} // namespace qirelo::app
