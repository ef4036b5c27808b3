#include "upgrade/dialogs/upgrade_windows.h"

#include <stdexcept>

namespace qirelo::upgrade {
namespace {

// Frees a modal window however its loop ends.
template <class Window> struct FreeWhenDone {
    std::unique_ptr<Window>& window;
    ~FreeWhenDone() { window.reset(); }
};

template <class Window> void RefuseSecondAsk(const std::unique_ptr<Window>& window) {
    if (window && window->modal())
        throw std::logic_error("the window " + window->name() + " is already asking");
}

} // namespace

UpgradeWindows::UpgradeWindows(ui::Application& application) : application_(application) {}

UpgradeWindows::~UpgradeWindows() = default;

bool UpgradeWindows::AskPassword(const std::string& fileName, std::string& userName,
                                 std::string& password) {
    RefuseSecondAsk(password_);
    password_ = std::make_unique<TupPasswordForm>();
    FreeWhenDone<TupPasswordForm> free{password_};
    application_.backend().realize(*password_);
    password_->Fill(FileNameOfUrl(fileName), userName);
    return password_->Ask(application_, userName, password);
}

bool UpgradeWindows::AskUpgrade(const std::string& message) {
    RefuseSecondAsk(question_);
    const std::string title = UpgradeTitle(application_.title());
    question_ = std::make_unique<TupQuestionForm>();
    FreeWhenDone<TupQuestionForm> free{question_};
    application_.backend().realize(*question_);
    question_->Fill(title, message);
    return question_->Ask(application_);
}

UpgradeWizard& UpgradeWindows::ShowWizard(const TupWizardSettings& settings, WizardEvents events) {
    if (wizard_) {
        wizardEvents_ = std::move(events);
        return *wizard_;
    }
    const int generation = ++wizardGeneration_;
    // Freed from the loop once the close is over: the window may be closing
    // from its own button's click.
    auto release = [this, generation, self = std::weak_ptr<UpgradeWindows*>(self_)](bool aborted) {
        application_.post([generation, aborted, self] {
            if (auto alive = self.lock())
                (*alive)->ReleaseWizard(generation, aborted);
        });
    };
    wizard_ = std::make_unique<TupWizardForm>(application_, release);
    wizardEvents_ = std::move(events);
    wizard_->Prepare(settings);
    application_.backend().realize(*wizard_);
    wizard_->show_form();
    return *wizard_;
}

void UpgradeWindows::CompleteWizard() {
    if (wizard_)
        wizard_->Complete();
}

void UpgradeWindows::CloseWizard() {
    if (!wizard_)
        return;
    if (wizard_->Asking()) {
        // Its close question is still on the stack: it goes from the loop.
        wizard_->hide();
        application_.post(
            [generation = wizardGeneration_, self = std::weak_ptr<UpgradeWindows*>(self_)] {
                if (auto alive = self.lock())
                    (*alive)->ReleaseWizard(generation, false);
            });
        return;
    }
    ReleaseWizard(wizardGeneration_, false);
}

// The window goes first, then the upgrade hears of it: it may show the next
// window or stop from its handlers.
void UpgradeWindows::ReleaseWizard(int generation, bool aborted) {
    if (!wizard_ || generation != wizardGeneration_)
        return;
    std::unique_ptr<TupWizardForm> gone = std::move(wizard_);
    WizardEvents events = std::move(wizardEvents_);
    wizardEvents_ = {};
    gone.reset();
    if (events.Closed)
        events.Closed();
    if (aborted && events.AbortConfirmed)
        events.AbortConfirmed();
}

} // namespace qirelo::upgrade
