#pragma once

// What the upgrade's three windows share: a dialog's fixed frame, centred on
// the screen, in the toolkit's default 8-point sans-serif font, and the rule
// that the text above the bottom panel decides the window's height.

#include <string>

#include "ui/form.h"
#include "ui/label.h"
#include "ui/panel.h"

namespace qirelo::upgrade {

void MakeUpgradeDialog(ui::Form& form, int clientWidth, int clientHeight);

// A font of the windows for the texts in use: Chinese texts ask for a font
// with Chinese letters, whatever the system's own language.
ui::Font TextFont(const std::string& name, int height);

// Client height := the label's bottom + the bottom panel's height.
void FitHeightToText(ui::Form& form, const ui::Label& text, const ui::Panel& bottomPanel);

} // namespace qirelo::upgrade
