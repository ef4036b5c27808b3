#pragma once

// The auto-updater's own windows, as the upgrade sees them: the password and
// question windows answer modally; the download wizard shows the download
// while it runs. Everything here runs on the main thread.

#include <cstdint>
#include <functional>
#include <string>

#include "upgrade/wizard_settings.h"

namespace qirelo::upgrade {

// The wizard while it is shown.
class UpgradeWizard {
public:
    virtual ~UpgradeWizard() = default;
    // The file now fetched: its URL and its number among `count`, from 1.
    virtual void ShowFile(const std::string& url, int number, int count) = 0;
    virtual void ShowFileSize(std::int64_t bytes) = 0;
    virtual void ShowProgress(int percentsDone, int totalPercentsDone, double kilobytesPerSecond,
                              int secondsLeft) = 0;
    // The completed state: the note, OK enabled and focused, Cancel disabled.
    virtual void Complete() = 0;
};

struct WizardEvents {
    // The window has gone, whichever way it was closed (CloseWizard too).
    std::function<void()> Closed;
    // The user confirmed the close question; runs after Closed.
    std::function<void()> AbortConfirmed;
};

class UpgradeDialogs {
public:
    virtual ~UpgradeDialogs() = default;

    // The password window for the file `fileName`, offering `userName` and an
    // empty password. True for OK, with both set to what was typed.
    virtual bool AskPassword(const std::string& fileName, std::string& userName,
                             std::string& password) = 0;
    // The question window; true for Yes.
    virtual bool AskUpgrade(const std::string& message) = 0;
    // Shows the wizard without waiting. It stays valid until `events.Closed`.
    virtual UpgradeWizard& ShowWizard(const TupWizardSettings& settings, WizardEvents events) = 0;
    // Closes and frees the wizard when it is shown (the upgrade stopped).
    virtual void CloseWizard() = 0;
};

} // namespace qirelo::upgrade
