#pragma once

// Fonts and colours as the window layouts state them. A font's name is 8-bit
// GB2312 text like every caption; its height is the character height in pixels.

#include <cstdint>
#include <string>

namespace qirelo::ui {

// 0x00BBGGRR, or one of the system colours below (high bit set, the low byte
// the system colour index).
using Color = std::uint32_t;

inline constexpr Color kBlack = 0x000000;
inline constexpr Color kBlue = 0xFF0000;
inline constexpr Color kWhite = 0xFFFFFF;
inline constexpr Color kSystemColor = 0x80000000;
inline constexpr Color kWindowText = kSystemColor | 8;
inline constexpr Color kWindow = kSystemColor | 5;
inline constexpr Color kButtonFace = kSystemColor | 15;
inline constexpr Color kButtonShadow = kSystemColor | 16;
inline constexpr Color kButtonHighlight = kSystemColor | 20;
inline constexpr Color kHighlight = kSystemColor | 13;

inline constexpr bool is_system_color(Color c) {
    return (c & kSystemColor) != 0;
}

enum class Charset : std::uint8_t { Default = 1, Gb2312 = 134 };

struct Font {
    std::string name; // GB2312 bytes
    int height = 12;  // character height in pixels
    Charset charset = Charset::Default;
    bool bold = false;
    bool italic = false;
    bool underline = false;
    Color color = kWindowText;
    friend bool operator==(const Font&, const Font&) = default;
};

} // namespace qirelo::ui
