#pragma once

// The auto-updater's windows as a test drives them: each question answered
// as the test says, every call noted in order, and the wizard's user pressing
// OK (or closing it and confirming) as soon as it shows its completed state.

#include <functional>
#include <string>
#include <vector>

#include "upgrade/upgrade_dialogs.h"

namespace qirelo::upgrade::testing {

class RecordingWizard final : public UpgradeWizard {
public:
    explicit RecordingWizard(std::vector<std::string>& notes) : notes_(notes) {}

    void ShowFile(const std::string& url, int number, int count) override {
        notes_.push_back("wizard file " + std::to_string(number) + " of " + std::to_string(count) +
                         " " + url);
    }
    void ShowFileSize(std::int64_t bytes) override {
        notes_.push_back("wizard size " + std::to_string(bytes));
    }
    void ShowProgress(int percentsDone, int totalPercentsDone, double, int) override {
        progress.push_back({percentsDone, totalPercentsDone});
    }
    void Complete() override {
        notes_.push_back("wizard complete");
        if (OnComplete) {
            OnComplete();
        }
    }

    // (file, total) percents, in order.
    std::vector<std::pair<int, int>> progress;
    std::function<void()> OnComplete;

private:
    std::vector<std::string>& notes_;
};

class RecordingDialogs final : public UpgradeDialogs {
public:
    enum class AtComplete { pressOk, closeAndConfirm };

    explicit RecordingDialogs(std::vector<std::string>& notes) : notes_(notes), wizard(notes) {
        wizard.OnComplete = [this] { Close(atComplete == AtComplete::closeAndConfirm); };
    }

    bool AskPassword(const std::string& fileName, std::string& userName,
                     std::string& password) override {
        notes_.push_back("AskPassword " + fileName + " user=" + userName + " password=" + password);
        if (passwordGiven) {
            userName = typedUser;
            password = typedPassword;
        }
        return passwordGiven;
    }
    bool AskUpgrade(const std::string& message) override {
        notes_.push_back("AskUpgrade " + message);
        return upgradeAgreed;
    }
    UpgradeWizard& ShowWizard(const TupWizardSettings&, WizardEvents events) override {
        notes_.push_back("ShowWizard");
        shown = true;
        events_ = std::move(events);
        return wizard;
    }
    void CloseWizard() override {
        notes_.push_back("CloseWizard");
        Close(false);
    }

    // The window goes; with `confirmed` the user said Yes to the close question.
    void Close(bool confirmed) {
        if (!shown) {
            return;
        }
        shown = false;
        const WizardEvents events = events_;
        if (events.Closed) {
            events.Closed();
        }
        if (confirmed && events.AbortConfirmed) {
            events.AbortConfirmed();
        }
    }

    bool passwordGiven = false;
    std::string typedUser;
    std::string typedPassword;
    bool upgradeAgreed = true;
    AtComplete atComplete = AtComplete::pressOk;
    bool shown = false;

private:
    std::vector<std::string>& notes_;
    WizardEvents events_;

public:
    RecordingWizard wizard;
};

} // namespace qirelo::upgrade::testing
