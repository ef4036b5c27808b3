#pragma once

// TupAutoUpdater: the upgrade check. It fetches the update server's info file
// with its transfer engine, compares the version it announces with the
// program's own and, when that is newer, carries out the upgrade method the
// file names: it opens the download page in the user's browser, or it
// downloads the listed files next to the program, each checked against its
// detached signature, and restarts the program through the updater it carries.

#include <cstdint>
#include <functional>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "platform/crypto/signature_check.h"
#include "platform/shell/online.h"
#include "platform/shell/shell.h"
#include "upgrade/info/newer_version.h"
#include "upgrade/info/upgrade_method.h"
#include "upgrade/messages/language.h"
#include "upgrade/show_messages.h"
#include "upgrade/transfer.h"
#include "upgrade/updater_host.h"
#include "upgrade/upgrade_dialogs.h"
#include "upgrade/wizard_settings.h"

namespace qirelo::upgrade {

class TupAutoUpdater;

using TUpdaterNotifyEvent = std::function<void(TupAutoUpdater& Sender)>;
using TBeginUpgradeEvent = std::function<void(
    TupAutoUpdater& Sender, const std::string& UpgradeMsg, TupUpgradeMethod UpgradeMethod,
    const std::vector<std::string>& Files, bool& CanUpgrade)>;
using TEndUpgradeEvent = std::function<void(TupAutoUpdater& Sender, bool& RestartImediately)>;
using TUpdaterProgressEvent = std::function<void(
    TupAutoUpdater& Sender, const std::string& FileURL, int FileSize, int BytesRead,
    int ElapsedTime, int EstimatedTimeLeft, std::uint8_t PercentsDone,
    std::uint8_t TotalPercentsDone, float TransferRate)>;
using TFileStartEvent = std::function<void(TupAutoUpdater& Sender, const std::string& FileURL,
                                           int FileSize, TDateTime FileTime, bool& CanUpgrade)>;
using TFileDoneEvent = std::function<void(TupAutoUpdater& Sender, const std::string& FileName)>;
using THostUnreachableEvent = std::function<void(TupAutoUpdater& Sender, const std::string& URL,
                                                 const std::string& Hostname)>;
// ErrorCode: the HTTP status of the file or of its signature, or
// kRefusedFileCode for a file refused for what it is (no valid signature, a
// name that is not a plain file name, too large).
using TLostFileEvent = std::function<void(TupAutoUpdater& Sender, const std::string& FileURL,
                                          int ErrorCode, bool& ContinueUpgrade)>;
inline constexpr int kRefusedFileCode = 0;

// The largest program file and signature a download accepts: a hostile
// server must not fill the disk or the memory.
inline constexpr std::int64_t kLargestProgramFile = std::int64_t{256} << 20;
inline constexpr std::int64_t kLargestSignature = 1024;
using TUpdaterPasswordEvent =
    std::function<void(TupAutoUpdater& Sender, const std::string& Realm, bool& TryAgain)>;

enum class TupMiscFilesBehavior { mfuAlwaysDownload, mfuOnlyIfSizeDifferent };

// What the info file of a release is made of; kept with the component's
// settings, never read by a check.
struct TupUpdateInfo {
    std::vector<std::string> Files;
    TupUpgradeMethod UpgradeMethod = TupUpgradeMethod::umSelfUpgrade;
    std::string UpgradeMsg;
};

// Everything the component reaches outside itself.
struct AutoUpdaterServices {
    MainThread& mainThread;
    platform::inet::Internet& internet;
    platform::inet::LocalSystem& local;
    platform::shell::Shell& shell;
    platform::shell::OnlineCheck& online;
    UpdaterHost& host;
    std::string updaterPath; // an updater left there by an earlier upgrade is deleted
    // The password, question and wizard windows. None in a program without
    // windows (qirelo-tool): no password is asked (a 401 is a missing info
    // file), no question is answered Yes, and a download method is an
    // upgrade put off, since nobody could follow the download or agree to
    // the restart.
    UpgradeDialogs* dialogs = nullptr;
    // What downloaded files are checked against; none: the key built into
    // the program.
    const platform::crypto::SignatureCheck* signatures = nullptr;
};

// The window system had no timer to give the automatic check.
class EOutOfResources : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// A restart was refused: a downloaded file that was not verified is still in
// the program's folder and could not be deleted.
class EUnverifiedDownload : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The hidden window's timer of the automatic check.
inline constexpr unsigned kAutoCheckTimerId = 1;

class TupAutoUpdater : public TupTransfer {
public:
    explicit TupAutoUpdater(const AutoUpdaterServices& services);
    ~TupAutoUpdater() override;

    // Fetches the info file and waits for the check to end, the main
    // thread's messages flowing meanwhile. True when a newer version with at
    // least one file was found and no OnBeginUpgrade handler declined it.
    bool CheckUpdate();
    // Begins a check and returns at once; nothing when a transfer or a
    // download runs.
    void StartCheck();
    // Stops the upgrade: the transfer and the wizard end, every ".uTMP" file
    // of the program's folder is deleted, OnAborted fires.
    void AbortUpgrade();
    // Writes and starts the updater, then closes the application. Empty
    // params: RestartParams and the method's digit. Only the ".uTMP" files
    // this upgrade verified are left for the updater; EUnverifiedDownload,
    // and no restart, when another one cannot be deleted.
    void RestartApplication(const std::string& params = {});
    // After the form has loaded: OnAfterRestart when the program's first
    // argument is RestartParams (the start that follows an upgrade).
    void AfterFormLoaded(const std::vector<std::string>& arguments);

    // Published settings.
    std::string InfoFileURL = "http://";
    TupVersionControl VersionControl = TupVersionControl::byDate;
    std::string VersionNumber;
    std::string VersionDate; // MM/DD/YYYY; today when created
    bool VersionDateAutoSet = true;
    TupShowMessagesSet ShowMessages = kDefaultShowMessages;
    TupUpdateInfo InfoFile;
    int AutoCheckDelay = 10000;
    TCacheOptions CacheOptions = kDefaultCacheOptions;
    TupMiscFilesBehavior MiscFilesUpgrade = TupMiscFilesBehavior::mfuAlwaysDownload;
    // The largest listed file a download accepts, announced or as it comes.
    std::int64_t LargestFileSize = kLargestProgramFile;
    TupWizardSettings Wizard;

    bool AutoCheck() const { return autoCheck_; }
    // Arms or disarms the automatic check's timer. Raises EOutOfResources
    // when the window system has no timer left.
    void SetAutoCheck(bool value);
    const std::string& RestartParams() const { return restartParams_; }
    // An empty value is kept as one blank.
    void SetRestartParams(const std::string& value);

    // Events.
    TBeginUpgradeEvent OnBeginUpgrade;
    TEndUpgradeEvent OnEndUpgrade;
    TUpdaterNotifyEvent OnLaterUpgrade;
    TUpdaterNotifyEvent OnNoUpdateAvailable;
    TUpdaterNotifyEvent OnNoInfoFile;
    TUpdaterNotifyEvent OnConnLost;
    TUpdaterNotifyEvent OnAborted;
    TUpdaterNotifyEvent OnAfterRestart;
    TUpdaterNotifyEvent OnDoOwnCloseAppMethod;
    TUpdaterProgressEvent OnProgress;
    TFileStartEvent OnFileStart;
    TFileDoneEvent OnFileDone;
    THostUnreachableEvent OnHostUnreachable;
    TLostFileEvent OnLostFile;
    TUpdaterPasswordEvent OnPasswordRequest;

    // State of the last check.
    bool UpdateFound() const { return updateFound_; }
    bool CheckingInfoFile() const { return checkingInfoFile_; }
    TupUpgradeMethod InfoUpgradeMethod() const { return infoUpgradeMethod_; }
    const std::vector<std::string>& UpgradeFiles() const { return upgradeFiles_; }
    bool AutoCheckFired() const { return autoCheckFired_; }
    bool AutoCheckRunning() const { return autoCheckRunning_; }
    // How many CheckUpdate calls wait for the check to end.
    std::size_t WaitingChecks() const { return checkDoneEvents_.size(); }
    bool UpgradeAborted() const { return upgradeAborted_; }
    bool UpgradeCompleted() const { return upgradeCompleted_; }
    bool DownloadRunning() const { return downloadRunning_; }
    int CurrentFileIndex() const { return currentFileIndex_; }
    const std::string& CurrentLocalFile() const { return currentLocalFile_; }
    TDateTime RemoteFileTime() const { return remoteFileTime_; }

private:
    void WireTransferNotifications();
    void ApplyWizardLanguage();

    // The end of the info file's transfer, one handler per outcome.
    void InfoFileReceived(TupStream* data);
    void InfoFileMissing();
    void HostUnreachable();
    void ConnectionLost(TupStream* data);
    void PasswordRequested(const std::string& realm, bool& tryAgain);

    void ReadInfoFile(const std::string& text);
    bool IsNewer(const std::string& text) const;
    void CarryOutUpgrade(const std::string& message);
    bool AskPassword(std::string& userName, std::string& password);
    bool AskUpgrade(const std::string& message);

    // The download of the listed files (auto_updater_download.cpp).
    void StartDownload();
    void DownloadCurrentFile();
    void NextFile();
    void FileHeader(int status, std::int64_t size, TDateTime lastModified, bool& continueDownload);
    void FileProgress(std::int64_t size, std::int64_t done, int elapsed, int left,
                      std::uint8_t percents, float rate);
    void FileReceived();
    void FileDeclined();
    void SignatureProgress(std::int64_t done);
    void SignatureReceived(TupStream* data);
    void FileLost(int errorCode);
    void DownloadEnded();
    void FinishUpgrade();
    void ShowWizard();
    void CloseWizard();
    void DiscardUnverifiedDownload();
    const platform::crypto::SignatureCheck& Signatures() const;

    // Releases every CheckUpdate that waits.
    void SignalCheckDone();
    // Ends the check after a failure: the waits released, the transfer
    // stopped with its output kept.
    void StopCheck();
    void ShowError(const std::string& text);
    // Runs `begin`, then waits as CheckUpdate does until SignalCheckDone
    // (which `begin` may already have caused).
    void WaitForCheckDone(const std::function<void()>& begin = {});

    void ArmAutoCheck();
    void AutoCheckTimer(unsigned id);

    platform::inet::LocalSystem& localSystem_;
    platform::shell::Shell& shell_;
    platform::shell::OnlineCheck& online_;
    UpdaterHost& host_;
    UpgradeDialogs* dialogs_;
    const platform::crypto::SignatureCheck* signatures_;
    std::string updaterPath_;

    bool autoCheck_ = false;
    // The language the unit chose at start until Wizard.Language changes.
    TWizardLanguage appliedLanguage_ = TWizardLanguage::wlAuto;
    std::string restartParams_ = "/afterupgrade";

    bool updateFound_ = false;
    bool checkingInfoFile_ = false;
    bool upgradeAborted_ = false;
    bool autoCheckFired_ = false;
    bool autoCheckRunning_ = false;
    TupUpgradeMethod infoUpgradeMethod_ = TupUpgradeMethod::umSelfUpgrade;
    std::vector<std::string> upgradeFiles_;

    // What the engine fetches for the download: a listed file, or its
    // signature into memory.
    enum class DownloadStep { none, programFile, signature };
    DownloadStep downloadStep_ = DownloadStep::none;
    // From the download's start until it completes, fails or is aborted: a
    // check meanwhile would start a second download over the first one's files.
    bool downloadRunning_ = false;
    bool upgradeCompleted_ = false;
    int currentFileIndex_ = 0;
    std::string currentLocalFile_;
    TDateTime remoteFileTime_ = 0;
    // The file now fetched was refused for its size.
    bool fileTooLarge_ = false;
    std::string programPath_;
    std::string programFolder_;
    // The ".uTMP" files of this upgrade whose signatures checked out: the
    // only ones a restart may leave for the updater.
    std::vector<std::string> verifiedFiles_;
    UpgradeWizard* wizard_ = nullptr;
    // One per CheckUpdate that waits: a second call made while the first
    // waits must not leave the first waiting for ever.
    std::vector<CheckDoneEvent*> checkDoneEvents_;
    std::unique_ptr<HiddenWindow> window_;
};

} // namespace qirelo::upgrade
