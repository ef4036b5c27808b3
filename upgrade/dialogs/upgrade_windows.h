#pragma once

// The auto-updater's three windows as the program shows them: the password
// and question windows answer modally, the wizard shows the download. Each
// window exists at most once; the modal ones are freed when answered, the
// wizard when it closes (after its click or close command is over) or when
// the upgrade stops it.

#include <memory>

#include "ui/application.h"
#include "upgrade/dialogs/password_form.h"
#include "upgrade/dialogs/question_form.h"
#include "upgrade/dialogs/wizard_form.h"
#include "upgrade/upgrade_dialogs.h"

namespace qirelo::upgrade {

class UpgradeWindows final : public UpgradeDialogs {
public:
    explicit UpgradeWindows(ui::Application& application);
    ~UpgradeWindows() override;

    bool AskPassword(const std::string& fileName, std::string& userName,
                     std::string& password) override;
    bool AskUpgrade(const std::string& message) override;
    UpgradeWizard& ShowWizard(const TupWizardSettings& settings, WizardEvents events) override;
    void CloseWizard() override;
    void CompleteWizard();

    // The windows while they exist (tests, screenshots).
    TupPasswordForm* PasswordForm() const { return password_.get(); }
    TupQuestionForm* QuestionForm() const { return question_.get(); }
    TupWizardForm* WizardForm() const { return wizard_.get(); }

private:
    void ReleaseWizard(int generation, bool aborted);

    ui::Application& application_;
    std::unique_ptr<TupPasswordForm> password_;
    std::unique_ptr<TupQuestionForm> question_;
    std::unique_ptr<TupWizardForm> wizard_;
    WizardEvents wizardEvents_;
    int wizardGeneration_ = 0;
    // What a posted release finds, as long as this object exists.
    std::shared_ptr<UpgradeWindows*> self_ = std::make_shared<UpgradeWindows*>(this);
};

} // namespace qirelo::upgrade
