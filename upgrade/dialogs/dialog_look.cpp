#include "upgrade/dialogs/dialog_look.h"

namespace qirelo::upgrade {

void MakeUpgradeDialog(ui::Form& form, int clientWidth, int clientHeight) {
    form.set_border_style(ui::BorderStyle::Dialog);
    form.set_centered(true);
    form.set_font(ui::Font{"MS Sans Serif", 11});
    form.size_client(clientWidth, clientHeight);
}

void FitHeightToText(ui::Form& form, const ui::Label& text, const ui::Panel& bottomPanel) {
    form.size_client(form.client_rect().width, text.top() + text.height() + bottomPanel.height());
}

} // namespace qirelo::upgrade
