// TupAutoUpdater's download method: each listed file is fetched next to the
// program as NAME.uTMP, its detached signature (URL + ".sig") is fetched into
// memory and checked, and only verified files are left for the updater,
// which the restart starts before the program closes.

#include <algorithm>
#include <filesystem>
#include <system_error>

#include "platform/crypto/update_key.h"
#include "ui/message_box.h"
#include "upgrade/at_exit.h"
#include "upgrade/auto_updater.h"
#include "upgrade/dos_date_time.h"
#include "upgrade/download_folder.h"
#include "upgrade/local_file_name.h"
#include "upgrade/messages/format_message.h"
#include "upgrade/messages/messages.h"
#include "upgrade/updater/run_updater.h"

namespace qirelo::upgrade {
namespace {

constexpr int kMsgError = 21;
constexpr int kMsgLostFile = 28;

bool IsBodyStatus(int status) {
    return status == 200 || status == 206;
}

// Only files of the web are downloaded: a listed "file:" URL would copy
// whatever the machine holds into the program's folder. A URL without a
// scheme is a web address, as the engine reads it.
bool IsWebUrl(const std::string& url) {
    const auto parts = SplitTransferUrl(url);
    return parts && (parts->scheme == "http" || parts->scheme == "https");
}

} // namespace

const platform::crypto::SignatureCheck& TupAutoUpdater::Signatures() const {
    return signatures_ ? *signatures_ : platform::crypto::update_signature_check();
}

void TupAutoUpdater::StartDownload() {
    checkingInfoFile_ = false;
    RequestCacheOptions = CacheOptions;
    currentFileIndex_ = 0;
    upgradeCompleted_ = false;
    verifiedFiles_.clear();
    downloadRunning_ = true;
    programPath_ = host_.ProgramPath();
    programFolder_ = FolderOf(programPath_);
    if (programFolder_.empty()) {
        AbortUpgrade(); // nowhere to put the files
        return;
    }
    // Left by an earlier upgrade that did not end: never checked in this one.
    DeleteDownloads(programFolder_);
    if (Wizard.Enabled) {
        ShowWizard();
    }
    DownloadCurrentFile();
}

void TupAutoUpdater::ShowWizard() {
    WizardEvents events;
    // The wizard fires both in one go when the user confirms its close.
    events.Closed = [this] {
        wizard_ = nullptr;
        SignalCheckDone();
    };
    events.AbortConfirmed = [this] { AbortUpgrade(); };
    wizard_ = &dialogs_->ShowWizard(Wizard, std::move(events));
}

void TupAutoUpdater::CloseWizard() {
    if (wizard_) {
        wizard_ = nullptr;
        dialogs_->CloseWizard();
    }
}

void TupAutoUpdater::DownloadCurrentFile() {
    const int count = static_cast<int>(upgradeFiles_.size());
    if (currentFileIndex_ >= count) {
        DownloadEnded();
        return;
    }
    const std::string& url = upgradeFiles_[currentFileIndex_];
    const std::optional<std::string> name = LocalFileName(url);
    currentLocalFile_ = name ? programFolder_ + *name + std::string(updater::kDownloadSuffix) : "";
    remoteFileTime_ = 0;
    fileTooLarge_ = false;
    if (wizard_) {
        wizard_->ShowFile(url, currentFileIndex_ + 1, count);
    }
    // A name listed twice would let the second copy replace the first,
    // verified one; a name that is itself a download would be taken by the
    // updater for another file's.
    const bool listedBefore =
        name && std::any_of(upgradeFiles_.begin(), upgradeFiles_.begin() + currentFileIndex_,
                            [&](const std::string& earlier) {
                                const auto other = LocalFileName(earlier);
                                return other && SameNameIgnoringCase(*other, *name);
                            });
    if (!name || !IsWebUrl(url) || IsDownloadName(*name) || listedBefore) {
        currentLocalFile_.clear(); // nothing of ours to delete
        FileLost(kRefusedFileCode);
        return;
    }
    downloadStep_ = DownloadStep::programFile;
    URL = url;
    OutputFileName = currentLocalFile_;
    Start(0, 0, false);
}

void TupAutoUpdater::NextFile() {
    downloadStep_ = DownloadStep::none;
    ++currentFileIndex_;
    DownloadCurrentFile();
}

void TupAutoUpdater::FileHeader(int status, std::int64_t size, TDateTime lastModified,
                                bool& continueDownload) {
    if (!IsBodyStatus(status)) {
        return; // the error status ends the transfer by itself
    }
    if (downloadStep_ == DownloadStep::signature) {
        fileTooLarge_ = size > kLargestSignature;
        continueDownload = !fileTooLarge_;
        return;
    }
    remoteFileTime_ = lastModified;
    if (wizard_) {
        wizard_->ShowFileSize(size);
    }
    if (size > LargestFileSize) {
        fileTooLarge_ = true;
        continueDownload = false;
        return;
    }
    bool canUpgrade = true;
    const std::string target =
        currentLocalFile_.substr(0, currentLocalFile_.size() - updater::kDownloadSuffix.size());
    if (MiscFilesUpgrade == TupMiscFilesBehavior::mfuOnlyIfSizeDifferent && size != 0 &&
        upgradeFiles_.size() > 1 && !SameNameIgnoringCase(NameOf(target), NameOf(programPath_))) {
        const std::optional<std::int64_t> localSize = LocalFileSize(target);
        canUpgrade = !localSize || *localSize != size;
    }
    if (OnFileStart) {
        OnFileStart(*this, URL, static_cast<int>(size), remoteFileTime_, canUpgrade);
    }
    continueDownload = canUpgrade;
}

// The total counts each file as an equal share and reaches 100 only with the
// last file's end, whatever the number of files.
void TupAutoUpdater::FileProgress(std::int64_t size, std::int64_t done, int elapsed, int left,
                                  std::uint8_t percents, float rate) {
    if (done > LargestFileSize) {
        fileTooLarge_ = true;
        Stop(true, false);
        return;
    }
    const int count = static_cast<int>(upgradeFiles_.size());
    const auto total = static_cast<std::uint8_t>((currentFileIndex_ * 100 + percents) / count);
    if (OnProgress) {
        OnProgress(*this, URL, static_cast<int>(size), static_cast<int>(done), elapsed, left,
                   percents, total, rate);
    }
    if (wizard_) {
        wizard_->ShowProgress(percents, total, rate, left);
    }
}

void TupAutoUpdater::SignatureProgress(std::int64_t done) {
    if (done > kLargestSignature) {
        fileTooLarge_ = true;
        Stop(true, false);
    }
}

// The file is whole; it counts only once its signature has been checked.
void TupAutoUpdater::FileReceived() {
    downloadStep_ = DownloadStep::signature;
    fileTooLarge_ = false;
    URL = upgradeFiles_[currentFileIndex_] + ".sig";
    OutputFileName.clear(); // into memory
    Start(0, 0, false);
}

void TupAutoUpdater::SignatureReceived(TupStream* data) {
    const auto* memory = dynamic_cast<const TupMemoryStream*>(data);
    const std::string signature = memory ? memory->Bytes() : std::string();
    bool verified = false;
    try {
        verified = Signatures().verifies(
            currentLocalFile_,
            platform::crypto::Bytes(reinterpret_cast<const std::uint8_t*>(signature.data()),
                                    signature.size()));
    } catch (const platform::crypto::CryptoError&) {
        verified = false; // a check that cannot be made is no check
    }
    if (!verified) {
        FileLost(kRefusedFileCode);
        return;
    }
    verifiedFiles_.push_back(currentLocalFile_);
    downloadStep_ = DownloadStep::none;
    if (remoteFileTime_ != 0) {
        if (const auto time = ToDosDateTime(remoteFileTime_)) {
            localSystem_.SetFileTimes(currentLocalFile_, *time);
        }
    }
    if (OnFileDone) {
        OnFileDone(*this, currentLocalFile_);
    }
    NextFile();
}

void TupAutoUpdater::FileDeclined() {
    if (fileTooLarge_) {
        FileLost(kRefusedFileCode);
    } else {
        NextFile();
    }
}

void TupAutoUpdater::DiscardUnverifiedDownload() {
    if (currentLocalFile_.empty() || std::find(verifiedFiles_.begin(), verifiedFiles_.end(),
                                               currentLocalFile_) != verifiedFiles_.end()) {
        return;
    }
    localSystem_.SetAttributes(currentLocalFile_, platform::inet::attributes::kNormal);
    std::error_code ignored; // none there: the transfer never created it
    std::filesystem::remove(currentLocalFile_, ignored);
}

void TupAutoUpdater::FileLost(int errorCode) {
    DiscardUnverifiedDownload();
    downloadStep_ = DownloadStep::none;
    const std::string& url = upgradeFiles_[currentFileIndex_];
    bool continueUpgrade = false;
    if (OnLostFile) {
        OnLostFile(*this, url, errorCode, continueUpgrade);
    }
    if (ShowMessages.Contains(TupShowMessages::mLostFile)) {
        continueUpgrade = host_.MessageBox(FormatMessage(Message(kMsgLostFile), {UrlFileName(url)}),
                                           Message(kMsgError) + " #" + std::to_string(errorCode),
                                           ui::kMbYesNo | ui::kMbIconWarning) == ui::kIdYes;
    }
    if (continueUpgrade) {
        NextFile();
    } else {
        AbortUpgrade();
    }
}

// After the last file: the completed wizard waits for the user; a list of
// which nothing was verified leaves nothing to put in place.
void TupAutoUpdater::DownloadEnded() {
    downloadStep_ = DownloadStep::none;
    AtExit ended{[this] { downloadRunning_ = false; }};
    if (verifiedFiles_.empty()) {
        AbortUpgrade();
        return;
    }
    if (wizard_) {
        WaitForCheckDone([this] { wizard_->Complete(); });
        if (upgradeAborted_) {
            return;
        }
        if (wizard_) {
            CloseWizard(); // the application ends: no restart behind its back
            return;
        }
    }
    FinishUpgrade();
}

void TupAutoUpdater::FinishUpgrade() {
    upgradeCompleted_ = true;
    bool restartImmediately = true;
    if (OnEndUpgrade) {
        OnEndUpgrade(*this, restartImmediately);
    }
    if (restartImmediately) {
        RestartApplication();
    }
}

void TupAutoUpdater::AbortUpgrade() {
    upgradeAborted_ = true;
    downloadStep_ = DownloadStep::none;
    downloadRunning_ = false;
    SignalCheckDone();
    Stop(true, true); // the partial file is closed and deleted now
    CloseWizard();
    const std::string folder =
        programFolder_.empty() ? FolderOf(host_.ProgramPath()) : programFolder_;
    if (!folder.empty()) {
        DeleteDownloads(folder);
    }
    verifiedFiles_.clear();
    if (OnAborted) {
        OnAborted(*this);
    }
}

// The updater puts every ".uTMP" file of the folder in place: none may be
// there that this upgrade did not verify.
void TupAutoUpdater::RestartApplication(const std::string& params) {
    const std::string program = programPath_.empty() ? host_.ProgramPath() : programPath_;
    const std::string folder = FolderOf(program);
    const std::vector<std::string> keep =
        upgradeCompleted_ ? verifiedFiles_ : std::vector<std::string>{};
    DeleteDownloads(folder, keep);
    for (const std::string& left : DownloadsIn(folder)) {
        if (std::find(keep.begin(), keep.end(), left) == keep.end()) {
            throw EUnverifiedDownload("The upgrade cannot restart the program: " + left +
                                      " was not verified and cannot be deleted.");
        }
    }
    const std::string restartParams =
        params.empty() ? restartParams_ + std::to_string(static_cast<int>(infoUpgradeMethod_))
                       : params;
    host_.WriteUpdater(updaterPath_); // not written: the program still closes
    host_.StartUpdater(updaterPath_, program, restartParams);
    if (OnDoOwnCloseAppMethod) {
        OnDoOwnCloseAppMethod(*this);
    } else {
        host_.CloseApplication();
    }
}

void TupAutoUpdater::AfterFormLoaded(const std::vector<std::string>& arguments) {
    if (OnAfterRestart && !arguments.empty() && arguments.front() == restartParams_) {
        OnAfterRestart(*this);
    }
}

} // namespace qirelo::upgrade
