#pragma once

// The platform's browser control hosted in a WebBrowser widget.

namespace qirelo::ui {
class WebBrowser;
}

namespace qirelo::ui::win32 {

// Whether the widget's control object was created (CoCreateInstance, in-place
// activation, the event sink). When it was not, every operation raises the
// creation's error.
bool browser_created(const WebBrowser& browser);

} // namespace qirelo::ui::win32
