#pragma once

// The download wizard: the file being fetched, its size, rate, time left and
// progress, and the progress over all files; at the end the completion note
// and OK. It is shown without waiting. Closing it by the title bar, the
// system menu, Alt+F4 or Cancel asks first whether to abort the upgrade, in
// every state; Finish (OK at the end) closes it without a question.

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "ui/application.h"
#include "ui/button.h"
#include "ui/edit.h"
#include "ui/form.h"
#include "ui/image.h"
#include "ui/label.h"
#include "ui/panel.h"
#include "ui/progress.h"
#include "upgrade/upgrade_dialogs.h"
#include "upgrade/wizard_settings.h"

namespace qirelo::upgrade {

class TupWizardForm : public ui::Form, public UpgradeWizard {
public:
    // `closed` runs once the window has closed and hidden, with whether the
    // user confirmed the abort question; the owner frees the window then.
    TupWizardForm(ui::Application& application, std::function<void(bool aborted)> closed);

    // The settings' look and the texts of the download (before showing).
    void Prepare(const TupWizardSettings& settings);

    void ShowFile(const std::string& url, int number, int count) override;
    void ShowFileSize(std::int64_t bytes) override;
    void ShowProgress(int percentsDone, int totalPercentsDone, double kilobytesPerSecond,
                      int secondsLeft) override;
    void Complete() override;

    // The close question is up.
    bool Asking() const { return asking_; }

    ui::Panel Panel1{this, "Panel1"};
    ui::Image Image1{&Panel1, "Image1"};
    ui::Label WizardTitle{this, "WizardTitle"};
    ui::Label AfterNote{this, "AfterNote"};
    ui::GroupBox LCurrentFile{this, "LCurrentFile"};
    ui::Label LDownloadingFileFrom{&LCurrentFile, "LDownloadingFileFrom"};
    ui::Edit FileURL{&LCurrentFile, "FileURL"};
    ui::Label LFileSize{&LCurrentFile, "LFileSize"};
    ui::Label LTransferRate{&LCurrentFile, "LTransferRate"};
    ui::Label LEstimatedTime{&LCurrentFile, "LEstimatedTime"};
    ui::ProgressBar ProgressCurrentFile{&LCurrentFile, "ProgressCurrentFile"};
    ui::GroupBox LAllFiles{this, "LAllFiles"};
    ui::Label AllDownloading{&LAllFiles, "AllDownloading"};
    ui::ProgressBar ProgressAllFiles{&LAllFiles, "ProgressAllFiles"};
    ui::Bevel Bevel1{this, "Bevel1"};
    ui::Label AboutShadow{this, "AboutShadow"};
    ui::Label AboutLabel{this, "AboutLabel"};
    ui::Button FinishBtn{this, "FinishBtn"};
    ui::Button CancelBtn{this, "CancelBtn"};

private:
    void LayOut();
    void HideFileLocation();
    void FormClose(ui::CloseAction& action);
    void CancelBtnClick();
    void FinishBtnClick();

    ui::Application& application_;
    std::function<void(bool aborted)> closed_;
    bool finishing_ = false;
    bool asking_ = false;
    bool aborted_ = false;
    // What a posted close command finds, as long as the window exists.
    std::shared_ptr<TupWizardForm*> self_ = std::make_shared<TupWizardForm*>(this);
};

} // namespace qirelo::upgrade
