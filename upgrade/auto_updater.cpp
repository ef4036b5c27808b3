#include "upgrade/auto_updater.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

#include "ui/message_box.h"
#include "upgrade/at_exit.h"
#include "upgrade/browser/open_url_in_browser.h"
#include "upgrade/info/info_file.h"
#include "upgrade/info/version_date.h"
#include "upgrade/local_file_name.h"
#include "upgrade/messages/format_message.h"
#include "upgrade/messages/messages.h"

namespace qirelo::upgrade {
namespace {

// Message numbers of the table.
constexpr int kMsgCaption = 0;
constexpr int kMsgNoUpdateAvailable = 24;
constexpr int kMsgNoInfoFile = 25;
constexpr int kMsgHostUnreachable = 26;
constexpr int kMsgConnectionLost = 30;

std::string HostName(const std::string& url) {
    const auto parts = SplitTransferUrl(url);
    return parts ? parts->host : std::string();
}

} // namespace

TupAutoUpdater::TupAutoUpdater(const AutoUpdaterServices& services)
    : TupTransfer(services.mainThread, services.internet, services.local),
      localSystem_(services.local), shell_(services.shell), online_(services.online),
      host_(services.host), dialogs_(services.dialogs), signatures_(services.signatures),
      updaterPath_(services.updaterPath) {
    OutputFileAttributes().Incomplete = {TFileAttribute::atrArchive, TFileAttribute::atrHidden,
                                         TFileAttribute::atrTemporary};
    WireTransferNotifications();
    if (!services.updaterPath.empty()) {
        std::error_code ignored; // nothing there is the usual case
        std::filesystem::remove(services.updaterPath, ignored);
    }
    VersionDate = FormatVersionDate(Today());
    window_ = host_.AllocateHiddenWindow();
    window_->OnTimer = [this](unsigned id) { AutoCheckTimer(id); };
}

TupAutoUpdater::~TupAutoUpdater() {
    autoCheck_ = false;
    window_->KillTimer(kAutoCheckTimerId);
    window_.reset();
    // The program closed in the middle of a file: it was never verified.
    if (downloadStep_ != DownloadStep::none) {
        downloadStep_ = DownloadStep::none;
        Stop(true, true);
        DiscardUnverifiedDownload();
    }
}

void TupAutoUpdater::SetRestartParams(const std::string& value) {
    restartParams_ = value.empty() ? " " : value;
}

// The engine's outcomes reach the component on the main thread. A handler's
// error goes to the application's error handler there: it must neither
// travel back into the worker nor leave a CheckUpdate waiting.
void TupAutoUpdater::WireTransferNotifications() {
    auto guarded = [this](const std::function<void()>& step) {
        try {
            step();
        } catch (const std::exception& error) {
            SignalCheckDone();
            host_.HandleException(error);
        }
    };
    // Each outcome goes to the info file's handling or to the download's,
    // by what the engine fetches.
    OnDone = [this, guarded](TupTransfer&, const std::string&, std::int64_t, TupStream* data) {
        guarded([&] {
            if (downloadStep_ == DownloadStep::programFile) {
                FileReceived();
            } else if (downloadStep_ == DownloadStep::signature) {
                SignatureReceived(data);
            } else {
                InfoFileReceived(data);
            }
        });
    };
    OnHTTPError = [this, guarded](TupTransfer&, int status, TupStream*) {
        guarded([&] {
            if (downloadStep_ != DownloadStep::none) {
                FileLost(status);
            } else {
                InfoFileMissing();
            }
        });
    };
    OnNoResponse = [this, guarded](TupTransfer&) { guarded([&] { HostUnreachable(); }); };
    OnIncomplete = [this, guarded](TupTransfer&, const std::string&, std::int64_t, std::int64_t,
                                   TupStream* data) { guarded([&] { ConnectionLost(data); }); };
    OnTransferPasswordRequest = [this, guarded](TupTransfer&, const std::string& realm,
                                                bool& tryAgain) {
        guarded([&] { PasswordRequested(realm, tryAgain); });
    };
    OnHeaderInfo = [this, guarded](TupTransfer&, int status, const std::string&, const std::string&,
                                   const std::string&, const std::string&, std::int64_t size,
                                   const std::string&, TDateTime, TDateTime lastModified, TDateTime,
                                   const std::string&, bool& continueDownload) {
        if (downloadStep_ != DownloadStep::none) {
            guarded([&] { FileHeader(status, size, lastModified, continueDownload); });
        }
    };
    OnTransferProgress = [this, guarded](TupTransfer&, const std::string&, std::int64_t size,
                                         std::int64_t done, int elapsed, int left,
                                         std::uint8_t percents, float rate, TupStream*) {
        guarded([&] {
            if (downloadStep_ == DownloadStep::programFile) {
                FileProgress(size, done, elapsed, left, percents, rate);
            } else if (downloadStep_ == DownloadStep::signature) {
                SignatureProgress(done);
            }
        });
    };
    // Ends without one of the outcomes above (declined, failed, stopped):
    // whoever waits for the check is released all the same, and a download
    // goes on past a file it declined or ends on one it refused.
    auto ended = [this](TupTransfer&) {
        checkingInfoFile_ = false;
        SignalCheckDone();
    };
    OnTransferDeclined = [this, guarded, ended](TupTransfer& sender) {
        if (downloadStep_ != DownloadStep::none) {
            guarded([&] { FileDeclined(); });
        } else {
            ended(sender);
        }
    };
    OnTransferEnd = ended;
    OnTransferAborted = [this, guarded, ended](TupTransfer& sender) {
        if (downloadStep_ != DownloadStep::none && fileTooLarge_) {
            guarded([&] { FileLost(kRefusedFileCode); });
        } else {
            ended(sender);
        }
    };
}

// Wizard.Language is a plain setting: a changed value takes effect at the
// next check, as setting the property would have (wlAuto detects again).
void TupAutoUpdater::ApplyWizardLanguage() {
    if (Wizard.Language != appliedLanguage_) {
        SetMessageLanguage(Wizard.Language);
        appliedLanguage_ = Wizard.Language;
    }
}

void TupAutoUpdater::StartCheck() {
    ApplyWizardLanguage();
    if (downloadRunning_) {
        return;
    }
    upgradeAborted_ = false;
    autoCheckRunning_ = false;
    if (TransferRunning()) {
        return;
    }
    checkingInfoFile_ = true;
    RequestCacheOptions = CacheOptions;
    RequestCacheOptions.Include(TCacheOption::coPragmaNoCache);
    URL = InfoFileURL;
    OutputFileName.clear(); // the info file goes into memory
    Start(0, 0, false);
}

bool TupAutoUpdater::CheckUpdate() {
    StartCheck();
    updateFound_ = false;
    if (TransferRunning()) {
        WaitForCheckDone();
    }
    return updateFound_;
}

void TupAutoUpdater::WaitForCheckDone(const std::function<void()>& begin) {
    const std::unique_ptr<CheckDoneEvent> done = host_.NewCheckDoneEvent();
    checkDoneEvents_.push_back(done.get());
    AtExit forget{[&] { std::erase(checkDoneEvents_, done.get()); }};
    if (begin) {
        begin();
    }
    host_.WaitProcessingMessages(*done);
}

void TupAutoUpdater::SignalCheckDone() {
    for (CheckDoneEvent* done : checkDoneEvents_) {
        done->Signal();
    }
}

// A download stopped this way keeps the files it verified; the one it was
// fetching is not verified and goes.
void TupAutoUpdater::StopCheck() {
    checkingInfoFile_ = false;
    SignalCheckDone();
    Stop(false, false);
    if (downloadStep_ != DownloadStep::none) {
        DiscardUnverifiedDownload();
        downloadStep_ = DownloadStep::none;
    }
    downloadRunning_ = false;
    CloseWizard();
}

void TupAutoUpdater::ShowError(const std::string& text) {
    host_.MessageBox(text, Message(kMsgCaption), ui::kMbOk | ui::kMbIconError);
}

void TupAutoUpdater::InfoFileReceived(TupStream* data) {
    if (!checkingInfoFile_) {
        return;
    }
    checkingInfoFile_ = false;
    AtExit signal{[this] { SignalCheckDone(); }};
    const auto* memory = dynamic_cast<const TupMemoryStream*>(data);
    ReadInfoFile(memory ? memory->Bytes() : std::string());
}

void TupAutoUpdater::InfoFileMissing() {
    checkingInfoFile_ = false;
    SignalCheckDone();
    if (OnNoInfoFile) {
        OnNoInfoFile(*this);
    }
    if (ShowMessages.Contains(TupShowMessages::mNoInfoFile)) {
        ShowError(Message(kMsgNoInfoFile));
    }
}

void TupAutoUpdater::HostUnreachable() {
    AtExit stop{[this] { StopCheck(); }};
    const std::string host = HostName(URL);
    if (OnHostUnreachable) {
        OnHostUnreachable(*this, URL, host);
    }
    if (autoCheckRunning_) {
        autoCheckFired_ = false; // try again after the delay
        ArmAutoCheck();
    } else if (ShowMessages.Contains(TupShowMessages::mHostUnreachable)) {
        ShowError(FormatMessage(Message(kMsgHostUnreachable), {"http://" + host}));
    }
}

void TupAutoUpdater::ConnectionLost(TupStream* data) {
    if (auto* file = dynamic_cast<TupFileStream*>(data)) {
        file->Close(); // so that the broken file can be deleted
    }
    AtExit stop{[this] { StopCheck(); }};
    if (OnConnLost) {
        OnConnLost(*this);
    }
    if (ShowMessages.Contains(TupShowMessages::mConnLost)) {
        ShowError(Message(kMsgConnectionLost));
    }
}

// An OnPasswordRequest handler answers first; else the password window, whose
// Cancel ends the upgrade. Without an answer the 401 ends the transfer as an
// HTTP error.
void TupAutoUpdater::PasswordRequested(const std::string& realm, bool& tryAgain) {
    tryAgain = false;
    if (OnPasswordRequest) {
        OnPasswordRequest(*this, realm, tryAgain);
    }
    if (tryAgain || !ShowMessages.Contains(TupShowMessages::mPasswordRequest) || !dialogs_) {
        return;
    }
    std::string userName = HTTPUsername;
    std::string password;
    if (dialogs_->AskPassword(UrlFileName(URL), userName, password)) {
        HTTPUsername = userName;
        HTTPPassword = password;
        tryAgain = true;
    } else {
        AbortUpgrade();
    }
}

bool TupAutoUpdater::IsNewer(const std::string& text) const {
    return IsServerVersionNewer(text, {VersionControl, VersionNumber, VersionDate}, Today());
}

void TupAutoUpdater::ReadInfoFile(const std::string& text) {
    upgradeFiles_ = ReadUpgradeFiles(text);
    if (IsNewer(text) && !upgradeFiles_.empty()) {
        updateFound_ = true;
        infoUpgradeMethod_ = ReadUpgradeMethod(text);
        CarryOutUpgrade(ReadInfoValue(text, kInfoMessage, InfoValueForm::MultiLine));
        return;
    }
    if (OnNoUpdateAvailable) {
        OnNoUpdateAvailable(*this);
    }
    if (!autoCheckRunning_ && ShowMessages.Contains(TupShowMessages::mNoUpdateAvailable)) {
        host_.MessageBox(Message(kMsgNoUpdateAvailable), Message(kMsgCaption),
                         ui::kMbOk | ui::kMbIconInformation);
    }
}

void TupAutoUpdater::CarryOutUpgrade(const std::string& message) {
    if (OnBeginUpgrade) {
        OnBeginUpgrade(*this, message, infoUpgradeMethod_, upgradeFiles_, updateFound_);
    }
    const bool declined = !updateFound_ || (ShowMessages.Contains(TupShowMessages::mAskUpgrade) &&
                                            !(dialogs_ && dialogs_->AskUpgrade(message)));
    if (declined) {
        if (OnLaterUpgrade) {
            OnLaterUpgrade(*this);
        }
        return;
    }
    if (infoUpgradeMethod_ == TupUpgradeMethod::umRedirectToURL) {
        OpenUrlInBrowser(upgradeFiles_.front(), shell_);
        return;
    }
    if (!dialogs_) {
        // Nobody to follow the download or see the restart coming.
        updateFound_ = false;
        if (OnLaterUpgrade) {
            OnLaterUpgrade(*this);
        }
        return;
    }
    StartDownload();
}

void TupAutoUpdater::SetAutoCheck(bool value) {
    autoCheck_ = value;
    ArmAutoCheck();
}

void TupAutoUpdater::ArmAutoCheck() {
    window_->KillTimer(kAutoCheckTimerId);
    if (autoCheck_ && !autoCheckFired_ && AutoCheckDelay > 0 &&
        !window_->SetTimer(kAutoCheckTimerId, static_cast<unsigned>(AutoCheckDelay))) {
        throw EOutOfResources("Not enough timers available");
    }
}

void TupAutoUpdater::AutoCheckTimer(unsigned id) {
    if (id != kAutoCheckTimerId) {
        return;
    }
    try {
        if (online_.is_online() && autoCheck_) {
            autoCheckFired_ = true;
            ArmAutoCheck();
            StartCheck();
            autoCheckRunning_ = true;
        }
    } catch (const std::exception& error) {
        host_.HandleException(error);
    }
}

} // namespace qirelo::upgrade
