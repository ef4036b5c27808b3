#pragma once

// The pictures of the upgrade's windows, drawn in code: the password and
// question windows' 32 x 32 icons on the window's face, and the wizard's
// 118 x 218 side picture.

#include "ui/image.h"

namespace qirelo::upgrade {

ui::Bitmap PasswordIcon();  // a key before a padlock
ui::Bitmap QuestionIcon();  // a blue disc with a white question mark
ui::Bitmap WizardPicture(); // an arrow coming down to a computer, on a blue sky

} // namespace qirelo::upgrade
