#pragma once

// The pictures of the address bar's buttons, drawn in code: 16 x 16 pixels on
// the button's own face.

#include "ui/image.h"

namespace qirelo::app {

ui::Bitmap GoGlyph();      // the address bar's go button: a green arrow right
ui::Bitmap StopGlyph();    // spb1: a red square
ui::Bitmap BackGlyph();    // btn1: a blue arrow left
ui::Bitmap ForwardGlyph(); // btn2: a blue arrow right

} // namespace qirelo::app
