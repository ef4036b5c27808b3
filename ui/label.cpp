#include "ui/label.h"

#include "ui/widget_kinds.h"

#include <algorithm>
#include <cstdlib>

namespace qirelo::ui {
namespace {

// Lines of `text` within `width` pixels at `byte_width` pixels a byte.
int nominal_lines(const std::string& text, int width, int byte_width) {
    const std::size_t per_line = static_cast<std::size_t>(std::max(width / byte_width, 1));
    int lines = 0;
    std::size_t start = 0;
    while (true) {
        const std::size_t end = text.find_first_of("\r\n", start);
        const std::size_t length = (end == std::string::npos ? text.size() : end) - start;
        lines += static_cast<int>(std::max<std::size_t>((length + per_line - 1) / per_line, 1));
        if (end == std::string::npos)
            return lines;
        start = end + (text.compare(end, 2, "\r\n") == 0 ? 2 : 1);
    }
}

} // namespace

void Label::fit_height() {
    if (peer())
        notify(Property::Text); // the native side measures as it shows the text
    else
        fit_nominal_height();
}

void Label::text_changed() {
    if (!peer())
        fit_nominal_height();
}

void Label::fit_nominal_height() {
    if (!auto_size_ || !word_wrap_)
        return;
    const int font_height = std::max(std::abs(font().height), 1);
    const int lines = nominal_lines(caption(), width(), std::max(font_height / 2, 1));
    set_bounds(left(), top(), width(), lines * (font_height + 2));
}

void Label::make_link() {
    Font link = font();
    link.color = kBlue;
    link.underline = true;
    set_font(link);
    set_cursor(Cursor::Hand);
}

void Label::accept(WidgetKindVisitor& visitor) {
    visitor.visit(*this);
}

} // namespace qirelo::ui
