#include "upgrade/dialogs/wizard_form.h"

#include "ui/message_box.h"
#include "upgrade/dialogs/dialog_look.h"
#include "upgrade/dialogs/figure_text.h"
#include "upgrade/dialogs/picture_file.h"
#include "upgrade/dialogs/pictures.h"
#include "upgrade/messages/format_message.h"
#include "upgrade/messages/message_table.h"
#include "upgrade/messages/messages.h"

namespace qirelo::upgrade {
namespace {

std::string Framed(const std::string& text) {
    return " " + text + " ";
}

} // namespace

TupWizardForm::TupWizardForm(ui::Application& application, std::function<void(bool aborted)> closed)
    : ui::Form("upWizardForm"), application_(application), closed_(std::move(closed)) {
    LayOut();
    OnClose = [this](ui::Component&, ui::CloseAction& action) { FormClose(action); };
    this->ui::Form::closed = [this] {
        if (closed_)
            closed_(aborted_);
    };
    CancelBtn.OnClick = [this](ui::Component&) { CancelBtnClick(); };
    FinishBtn.OnClick = [this](ui::Component&) { FinishBtnClick(); };
    // The address is for reading: nothing typed goes in.
    FileURL.OnKeyPress = [](ui::Component&, char& key) { key = 0; };
}

void TupWizardForm::LayOut() {
    MakeUpgradeDialog(*this, 463, 281);
    Panel1.set_bounds(10, 10, 120, 220);
    Panel1.set_bevel_outer(ui::BevelStyle::Lowered);
    // The picture fills the panel inside its one-pixel frame.
    Image1.set_bounds(1, 1, 118, 218);
    Image1.set_stretch(true);
    Image1.set_picture(WizardPicture());

    WizardTitle.set_bounds(136, 10, 200, 22);
    ui::Font title = TextFont("Times New Roman", 19);
    title.bold = true;
    title.italic = true;
    WizardTitle.set_font(title);
    AfterNote.set_bounds(136, 44, 319, 177);
    AfterNote.set_word_wrap(true);
    AfterNote.set_auto_size(false);

    LCurrentFile.set_bounds(136, 34, 319, 125);
    LDownloadingFileFrom.set_bounds(6, 14, 120, 13);
    FileURL.set_bounds(10, 28, 301, 13);
    FileURL.set_border(false);
    FileURL.set_color(ui::kButtonFace);
    ui::Font url = FileURL.font();
    url.color = ui::kHighlight;
    FileURL.set_font(url);
    FileURL.set_tab_stop(false);
    FileURL.set_read_only(true);
    LFileSize.set_bounds(6, 44, 120, 13);
    LTransferRate.set_bounds(6, 60, 120, 13);
    LEstimatedTime.set_bounds(6, 76, 120, 13);
    ProgressCurrentFile.set_bounds(6, 96, 307, 22);
    ProgressCurrentFile.set_range(0, 100);

    LAllFiles.set_bounds(136, 162, 319, 67);
    AllDownloading.set_bounds(6, 16, 120, 13);
    ProgressAllFiles.set_bounds(6, 38, 307, 22);
    ProgressAllFiles.set_range(0, 100);

    Bevel1.set_bounds(10, 238, 447, 2);
    Bevel1.set_shape(ui::BevelShape::TopLine);
    // The component's name, embossed: the shadow-coloured text over the
    // highlight-coloured one, a pixel down and right.
    AboutShadow.set_bounds(31, 234, 100, 13);
    ui::Font shadow = font();
    shadow.color = ui::kButtonHighlight;
    AboutShadow.set_font(shadow);
    AboutShadow.set_transparent(false); // hides the line under the name
    AboutLabel.set_bounds(30, 233, 100, 13);
    ui::Font about = font();
    about.color = ui::kButtonShadow;
    AboutLabel.set_font(about);
    AboutLabel.set_transparent(true);

    FinishBtn.set_bounds(296, 248, 75, 25);
    FinishBtn.set_enabled(false);
    CancelBtn.set_bounds(380, 248, 75, 25);
    CancelBtn.set_default(true);
    CancelBtn.set_cancel(true);
    CancelBtn.set_modal_result(ui::ModalResult::Cancel);
    set_active_control(&CancelBtn);
}

void TupWizardForm::Prepare(const TupWizardSettings& settings) {
    const std::string name = Framed(StringResource(kComponentNameResource));
    AboutLabel.set_caption(name);
    AboutShadow.set_caption(name);
    set_stay_on_top(settings.StayOnTop);
    if (settings.HideFileLocation)
        HideFileLocation();
    if (!settings.Pic118x218.empty())
        if (auto picture = ReadPictureFile(settings.Pic118x218); picture && !picture->empty())
            Image1.set_picture(std::move(*picture));
    LEstimatedTime.set_caption(Message(22));
    set_caption(Message(0));
    WizardTitle.set_caption(Message(1));
    LCurrentFile.set_caption(Framed(Message(3)));
    LAllFiles.set_caption(Framed(Message(4)));
    LDownloadingFileFrom.set_caption(Message(5));
    FinishBtn.set_caption(Message(18));
    CancelBtn.set_caption(Message(17));
}

// Size, rate and time take the place of the address, and the box gives up
// the room the address took.
void TupWizardForm::HideFileLocation() {
    FileURL.hide();
    LDownloadingFileFrom.hide();
    LFileSize.set_bounds(LFileSize.left(), LDownloadingFileFrom.top(), LFileSize.width(),
                         LFileSize.height());
    LTransferRate.set_bounds(LTransferRate.left(), LFileSize.top() + 16, LTransferRate.width(),
                             LTransferRate.height());
    LEstimatedTime.set_bounds(LEstimatedTime.left(), LTransferRate.top() + 16,
                              LEstimatedTime.width(), LEstimatedTime.height());
    ProgressCurrentFile.set_bounds(ProgressCurrentFile.left(), LEstimatedTime.top() + 20,
                                   ProgressCurrentFile.width(), ProgressCurrentFile.height());
    LCurrentFile.set_bounds(LCurrentFile.left(), LCurrentFile.top() + 10, LCurrentFile.width(),
                            LCurrentFile.height() - 30);
}

void TupWizardForm::ShowFile(const std::string& url, int number, int count) {
    FileURL.set_text(url);
    AllDownloading.set_caption(FormatFigures(Message(9), {double(number), double(count)}));
}

void TupWizardForm::ShowFileSize(std::int64_t bytes) {
    LFileSize.set_caption(FormatFigures(Message(6), {static_cast<double>(bytes) / 1024.0}));
}

void TupWizardForm::ShowProgress(int percentsDone, int totalPercentsDone, double kilobytesPerSecond,
                                 int secondsLeft) {
    ProgressCurrentFile.set_position(percentsDone);
    ProgressAllFiles.set_position(totalPercentsDone);
    LTransferRate.set_caption(FormatFigures(Message(7), {kilobytesPerSecond}));
    const int seconds = secondsLeft < 0 ? 0 : secondsLeft;
    LEstimatedTime.set_caption(FormatFigures(
        Message(8), {double(seconds / 3600), double(seconds / 60 % 60), double(seconds % 60)}));
}

void TupWizardForm::Complete() {
    WizardTitle.set_caption(Message(2));
    AfterNote.set_auto_size(true);
    AfterNote.set_caption(FormatMessage(Message(10), {application_.title()}));
    AfterNote.fit_height();
    LCurrentFile.hide();
    LAllFiles.hide();
    CancelBtn.set_enabled(false);
    FinishBtn.set_caption(Message(16));
    FinishBtn.set_enabled(true);
    FinishBtn.set_focus();
}

// Every close but Finish's asks whether to abort the upgrade.
void TupWizardForm::FormClose(ui::CloseAction& action) {
    if (finishing_) {
        action = ui::CloseAction::Free;
        return;
    }
    asking_ = true;
    const int answer = application_.message_box(Message(27), application_.title(),
                                                ui::kMbYesNo | ui::kMbIconQuestion);
    asking_ = false;
    if (answer != ui::kIdYes) {
        action = ui::CloseAction::None;
        return;
    }
    aborted_ = true;
    action = ui::CloseAction::Free;
}

// Cancel asks the same question as the close button, once its click is over.
void TupWizardForm::CancelBtnClick() {
    application_.post([self = std::weak_ptr<TupWizardForm*>(self_)] {
        if (auto alive = self.lock())
            (*alive)->close();
    });
}

void TupWizardForm::FinishBtnClick() {
    finishing_ = true;
    close();
}

} // namespace qirelo::upgrade
