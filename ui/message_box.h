#pragma once

// Modal message boxes. The user-facing information boxes carry the
// information icon (flags 64); the general error handler uses the stop icon.
// Text and caption are 8-bit GB2312; the native side converts them.

#include <string>

namespace qirelo::ui {

inline constexpr unsigned kMbOk = 0x00;
inline constexpr unsigned kMbOkCancel = 0x01;
inline constexpr unsigned kMbYesNo = 0x04;
inline constexpr unsigned kMbIconError = 0x10;
inline constexpr unsigned kMbIconQuestion = 0x20;
inline constexpr unsigned kMbIconWarning = 0x30;
inline constexpr unsigned kMbIconInformation = 0x40;

// What the user answered.
inline constexpr int kIdOk = 1;
inline constexpr int kIdCancel = 2;
inline constexpr int kIdYes = 6;
inline constexpr int kIdNo = 7;

class MessageBoxes {
public:
    virtual ~MessageBoxes() = default;
    // Shows the box and waits for the answer (kIdOk, kIdYes...).
    virtual int show(const std::string& text, const std::string& caption, unsigned flags) = 0;
};

} // namespace qirelo::ui
