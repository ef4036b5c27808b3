#pragma once

// How the auto-updater's download wizard looks and behaves.

#include <string>

#include "upgrade/messages/language.h"

namespace qirelo::upgrade {

struct TupWizardSettings {
    bool Enabled = true;
    bool HideFileLocation = false;
    std::string Pic118x218; // the picture's file; empty: the built-in one
    TWizardLanguage Language = TWizardLanguage::wlAuto;
    bool StayOnTop = true;
};

} // namespace qirelo::upgrade
