#pragma once

// Which of its own boxes and windows the auto-updater shows.

#include "upgrade/transfer_settings.h"

namespace qirelo::upgrade {

enum class TupShowMessages {
    mAskUpgrade,        // ask before upgrading
    mConnLost,          // report a broken transfer
    mHostUnreachable,   // report that the server did not answer
    mLostFile,          // ask whether to skip a program file whose download failed
    mNoInfoFile,        // report that the info file was not found
    mNoUpdateAvailable, // report that no newer version exists
    mPasswordRequest,   // show the password window when the server asks
};
using TupShowMessagesSet = TEnumSet<TupShowMessages>;

inline constexpr TupShowMessagesSet kDefaultShowMessages{
    TupShowMessages::mAskUpgrade, TupShowMessages::mConnLost, TupShowMessages::mLostFile,
    TupShowMessages::mPasswordRequest};

} // namespace qirelo::upgrade
