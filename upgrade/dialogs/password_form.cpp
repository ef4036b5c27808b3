#include "upgrade/dialogs/password_form.h"

#include "upgrade/dialogs/dialog_look.h"
#include "upgrade/dialogs/pictures.h"
#include "upgrade/messages/format_message.h"
#include "upgrade/messages/messages.h"

namespace qirelo::upgrade {

TupPasswordForm::TupPasswordForm() : ui::Form("upPasswordForm") {
    LayOut();
    OKBtn.OnClick = [this](ui::Component&) { OKBtnClick(); };
}

void TupPasswordForm::LayOut() {
    MakeUpgradeDialog(*this, 297, 141);
    set_caption("Enter password");
    Label1.set_bounds(45, 5, 246, 38);
    Label1.set_word_wrap(true);
    Label1.set_caption("label");
    Image1.set_bounds(7, 5, 32, 32);
    Image1.set_picture(PasswordIcon());
    BottomPanel.set_bounds(0, 43, 297, 98);
    BottomPanel.set_align(ui::Align::Bottom);
    BottomPanel.set_bevel_outer(ui::BevelStyle::None);
    UsernameLab.set_bounds(45, 14, 22, 13);
    UsernameLab.set_caption("User");
    PasswordLab.set_bounds(45, 38, 23, 13);
    PasswordLab.set_caption("Pass");
    UsernameEdit.set_bounds(122, 10, 157, 21);
    UsernameEdit.set_tab_order(0);
    PasswordEdit.set_bounds(122, 34, 157, 21);
    PasswordEdit.set_password_char('*');
    OKBtn.set_bounds(114, 68, 75, 23);
    OKBtn.set_default(true);
    OKBtn.set_modal_result(ui::ModalResult::Ok);
    CancelBtn.set_bounds(204, 68, 75, 23);
    CancelBtn.set_cancel(true);
    CancelBtn.set_modal_result(ui::ModalResult::Cancel);
    set_active_control(&UsernameEdit);
}

void TupPasswordForm::Fill(const std::string& fileName, const std::string& userName) {
    Label1.set_caption(FormatMessage(Message(29), {fileName}));
    set_caption(Message(11));
    UsernameLab.set_caption(Message(12));
    UsernameEdit.set_text(userName);
    PasswordLab.set_caption(Message(13));
    PasswordEdit.set_text("");
    OKBtn.set_caption(Message(16));
    CancelBtn.set_caption(Message(17));
    FitHeightToText(*this, Label1, BottomPanel);
}

bool TupPasswordForm::Ask(ui::Application& application, std::string& userName,
                          std::string& password) {
    userName_ = &userName;
    password_ = &password;
    const bool ok = application.show_modal(*this) == ui::ModalResult::Ok;
    userName_ = nullptr;
    password_ = nullptr;
    return ok;
}

// The OK handler runs before the window closes: the typed name and password
// become the component's.
void TupPasswordForm::OKBtnClick() {
    if (userName_)
        *userName_ = UsernameEdit.text();
    if (password_)
        *password_ = PasswordEdit.text();
}

std::string FileNameOfUrl(const std::string& url) {
    const std::size_t last = url.find_last_of("/\\");
    return last == std::string::npos ? url : url.substr(last + 1);
}

} // namespace qirelo::upgrade
