#include "upgrade/dialogs/dialog_look.h"

#include "upgrade/messages/language.h"
#include "upgrade/messages/messages.h"

namespace qirelo::upgrade {

ui::Font TextFont(const std::string& name, int height) {
    const int k = MessageLanguage();
    const bool chinese = k == LanguageNumber(TWizardLanguage::wlChineseSimplified) ||
                         k == LanguageNumber(TWizardLanguage::wlChineseTraditional);
    return ui::Font{name, height, chinese ? ui::Charset::Gb2312 : ui::Charset::Default};
}

void MakeUpgradeDialog(ui::Form& form, int clientWidth, int clientHeight) {
    form.set_border_style(ui::BorderStyle::Dialog);
    form.set_centered(true);
    form.set_font(TextFont("MS Sans Serif", 11));
    form.size_client(clientWidth, clientHeight);
}

void FitHeightToText(ui::Form& form, const ui::Label& text, const ui::Panel& bottomPanel) {
    form.size_client(form.client_rect().width, text.top() + text.height() + bottomPanel.height());
}

} // namespace qirelo::upgrade
