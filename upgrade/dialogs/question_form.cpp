#include "upgrade/dialogs/question_form.h"

#include "upgrade/dialogs/dialog_look.h"
#include "upgrade/dialogs/pictures.h"
#include "upgrade/messages/format_message.h"
#include "upgrade/messages/message_table.h"
#include "upgrade/messages/messages.h"

namespace qirelo::upgrade {
namespace {

constexpr int kClientWidth = 318;
// The dialog frame's width, both sides: the label keeps 11 pixels from the
// window's outer right edge.
constexpr int kDialogFrameWidth = 6;

} // namespace

TupQuestionForm::TupQuestionForm() : ui::Form("upQuestionForm") {
    LayOut();
}

void TupQuestionForm::LayOut() {
    MakeUpgradeDialog(*this, kClientWidth, 119);
    set_stay_on_top(true);
    Label1.set_bounds(45, 5, 32, 13);
    Label1.set_word_wrap(true);
    Label1.set_caption("label");
    Icon.set_bounds(7, 5, 32, 32);
    Icon.set_picture(QuestionIcon());
    BottomPanel.set_bounds(0, 74, kClientWidth, 45);
    BottomPanel.set_align(ui::Align::Bottom);
    BottomPanel.set_bevel_outer(ui::BevelStyle::None);
    YesBtn.set_bounds(78, 13, 75, 23);
    YesBtn.set_caption("Yes!");
    YesBtn.set_default(true);
    YesBtn.set_modal_result(ui::ModalResult::Yes);
    LaterBtn.set_bounds(167, 13, 75, 23);
    LaterBtn.set_caption("Later");
    LaterBtn.set_cancel(true);
    LaterBtn.set_modal_result(ui::ModalResult::No);
    set_active_control(&YesBtn);
}

void TupQuestionForm::Fill(const std::string& title, const std::string& message) {
    const std::string framed = message.empty() ? message : "\n" + message + "\n";
    const int windowWidth = client_rect().width + kDialogFrameWidth;
    Label1.set_bounds(Label1.left(), Label1.top(), windowWidth - Label1.left() - 11,
                      Label1.height());
    Label1.set_caption(FormatMessage(Message(23), {title, framed}));
    Label1.fit_height();
    set_caption(Message(0));
    YesBtn.set_caption(Message(14));
    LaterBtn.set_caption(Message(19));
    FitHeightToText(*this, Label1, BottomPanel);
}

bool TupQuestionForm::Ask(ui::Application& application) {
    return application.show_modal(*this) == ui::ModalResult::Yes;
}

std::string UpgradeTitle(const std::string& applicationTitle) {
    const std::string tool = StringResource(kDevelopmentToolResource);
    if (!tool.empty() && applicationTitle.find(tool) != std::string::npos)
        return StringResource(kAppTitleResource);
    return applicationTitle;
}

} // namespace qirelo::upgrade
