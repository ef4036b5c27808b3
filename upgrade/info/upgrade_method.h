#pragma once

// What the info file tells the component to do with a newer version.

namespace qirelo::upgrade {

enum class TupUpgradeMethod {
    umSelfUpgrade = 0,      // download the listed files, then restart through the updater
    umUseExternalSetup = 1, // download the listed files and run the first as a setup
    umRedirectToURL = 2,    // open the first listed URL in the user's web browser
};

} // namespace qirelo::upgrade
