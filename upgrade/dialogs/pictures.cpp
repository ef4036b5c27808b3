#include "upgrade/dialogs/pictures.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace qirelo::upgrade {
namespace {

using ui::Bitmap;

constexpr std::uint32_t Rgb(int r, int g, int b) {
    return static_cast<std::uint32_t>(r) << 16 | static_cast<std::uint32_t>(g) << 8 |
           static_cast<std::uint32_t>(b);
}

void FillRect(Bitmap& bitmap, int left, int top, int width, int height, std::uint32_t color) {
    for (int y = std::max(top, 0); y < std::min(top + height, bitmap.height); ++y)
        for (int x = std::max(left, 0); x < std::min(left + width, bitmap.width); ++x)
            bitmap.set(x, y, color);
}

// A disc of radius r around (cx, cy); `ring` > 0 leaves only its outer band.
void FillDisc(Bitmap& bitmap, double cx, double cy, double r, std::uint32_t color,
              double ring = 0) {
    for (int y = 0; y < bitmap.height; ++y)
        for (int x = 0; x < bitmap.width; ++x) {
            const double d = std::hypot(x + 0.5 - cx, y + 0.5 - cy);
            if (d <= r && (ring <= 0 || d >= r - ring))
                bitmap.set(x, y, color);
        }
}

// Pixels whose centre lies within the triangle a, b, c.
void FillTriangle(Bitmap& bitmap, double ax, double ay, double bx, double by, double cx, double cy,
                  std::uint32_t color) {
    auto side = [](double px, double py, double x1, double y1, double x2, double y2) {
        return (px - x2) * (y1 - y2) - (x1 - x2) * (py - y2);
    };
    for (int y = 0; y < bitmap.height; ++y)
        for (int x = 0; x < bitmap.width; ++x) {
            const double px = x + 0.5, py = y + 0.5;
            const double d1 = side(px, py, ax, ay, bx, by);
            const double d2 = side(px, py, bx, by, cx, cy);
            const double d3 = side(px, py, cx, cy, ax, ay);
            const bool negative = d1 < 0 || d2 < 0 || d3 < 0;
            const bool positive = d1 > 0 || d2 > 0 || d3 > 0;
            if (!(negative && positive))
                bitmap.set(x, y, color);
        }
}

} // namespace

ui::Bitmap PasswordIcon() {
    Bitmap icon(32, 32, ui::kTransparent);
    const std::uint32_t steel = Rgb(128, 128, 140), dark = Rgb(64, 64, 72);
    const std::uint32_t gold = Rgb(230, 180, 40), brown = Rgb(150, 100, 20);
    // The padlock: shackle, body, keyhole.
    FillDisc(icon, 20, 11, 7, dark, 3);
    FillRect(icon, 13, 11, 3, 6, dark);
    FillRect(icon, 24, 11, 3, 6, dark);
    FillRect(icon, 10, 16, 20, 14, brown);
    FillRect(icon, 11, 17, 18, 12, gold);
    FillDisc(icon, 20, 21.5, 2, dark);
    FillRect(icon, 19, 22, 2, 4, dark);
    // The key across the lock's foot: bow, shaft, two bits.
    FillDisc(icon, 6, 25, 5, steel);
    FillDisc(icon, 6, 25, 2, ui::kTransparent);
    FillRect(icon, 10, 24, 18, 3, steel);
    FillRect(icon, 22, 27, 2, 3, steel);
    FillRect(icon, 26, 27, 2, 4, steel);
    return icon;
}

ui::Bitmap QuestionIcon() {
    Bitmap icon(32, 32, ui::kTransparent);
    const std::uint32_t blue = Rgb(30, 90, 200), rim = Rgb(10, 50, 130), white = Rgb(255, 255, 255);
    FillDisc(icon, 16, 16, 15, rim);
    FillDisc(icon, 16, 16, 13.5, blue);
    // The question mark: an open hook, its stem, and the dot.
    FillDisc(icon, 16, 12, 6, white, 2.5);
    FillRect(icon, 10, 12, 6, 6, blue); // the hook opens at the lower left
    FillRect(icon, 15, 16, 3, 5, white);
    FillRect(icon, 15, 23, 3, 3, white);
    return icon;
}

ui::Bitmap WizardPicture() {
    Bitmap picture(118, 218);
    // A sky from deep to light blue, top to bottom.
    for (int y = 0; y < picture.height; ++y) {
        const int t = y * 255 / (picture.height - 1);
        const std::uint32_t sky = Rgb(20 + t * 150 / 255, 60 + t * 150 / 255, 150 + t * 90 / 255);
        FillRect(picture, 0, y, picture.width, 1, sky);
    }
    const std::uint32_t white = Rgb(255, 255, 255), green = Rgb(40, 170, 70),
                        dark_green = Rgb(20, 110, 40), grey = Rgb(190, 190, 200),
                        screen = Rgb(30, 40, 70), shade = Rgb(120, 120, 130);
    // A cloud the arrow comes from.
    FillDisc(picture, 44, 40, 14, white);
    FillDisc(picture, 62, 32, 18, white);
    FillDisc(picture, 80, 42, 13, white);
    FillRect(picture, 44, 40, 37, 15, white);
    // The arrow coming down.
    FillRect(picture, 52, 62, 15, 50, dark_green);
    FillRect(picture, 54, 62, 11, 48, green);
    FillTriangle(picture, 36, 110, 83, 110, 59.5, 136, dark_green);
    FillTriangle(picture, 40, 112, 79, 112, 59.5, 132, green);
    // The computer it comes to: screen, stand, foot.
    FillRect(picture, 24, 142, 72, 50, grey);
    FillRect(picture, 29, 147, 62, 38, screen);
    for (int row = 0; row < 3; ++row) // lines of text on the screen
        FillRect(picture, 34, 153 + row * 9, 40 - row * 10, 3, Rgb(120, 200, 255));
    FillRect(picture, 54, 192, 12, 8, shade);
    FillRect(picture, 38, 200, 44, 6, grey);
    return picture;
}

} // namespace qirelo::upgrade
