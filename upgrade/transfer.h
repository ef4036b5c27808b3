#pragma once

// TupTransfer: fetches one URL on a worker thread of its own, into memory or
// into a file, and reports the outcome on the main thread.

#include "platform/inet/internet.h"
#include "platform/inet/local_system.h"
#include "upgrade/header_date.h"
#include "upgrade/login_component.h"
#include "upgrade/thread_priority.h"
#include "upgrade/transfer_run.h"
#include "upgrade/transfer_settings.h"
#include "upgrade/transfer_stream.h"
#include "upgrade/transfer_url.h"
#include "upgrade/up_thread.h"

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace qirelo::upgrade {

class TupTransfer;

using TTransferNotifyEvent = std::function<void(TupTransfer& Sender)>;
using THeaderInfoEvent =
    std::function<void(TupTransfer& Sender, int StatusCode, const std::string& RawHeaders,
                       const std::string& ContentType, const std::string& ContentLanguage,
                       const std::string& ContentEncoding, std::int64_t ContentLength,
                       const std::string& Location, TDateTime Date, TDateTime LastModified,
                       TDateTime Expires, const std::string& ETag, bool& ContinueDownload)>;
using TDoneEvent = std::function<void(TupTransfer& Sender, const std::string& ContentType,
                                      std::int64_t TotalBytes, TupStream* Data)>;
using TTransferProgressEvent =
    std::function<void(TupTransfer& Sender, const std::string& ContentType, std::int64_t TotalSize,
                       std::int64_t BytesDone, int ElapsedTime, int EstimatedTimeLeft,
                       std::uint8_t PercentsDone, float TransferRate, TupStream* Data)>;
using TIncompleteEvent =
    std::function<void(TupTransfer& Sender, const std::string& ContentType,
                       std::int64_t ContentLength, std::int64_t BytesRead, TupStream* Data)>;
using THTTPErrorEvent = std::function<void(TupTransfer& Sender, int StatusCode, TupStream* Data)>;
using TPasswordRequestEvent =
    std::function<void(TupTransfer& Sender, const std::string& Realm, bool& TryAgain)>;
using TProxyAuthenticationEvent = std::function<void(
    TupTransfer& Sender, std::string& ProxyUsername, std::string& ProxyPassword, bool& TryAgain)>;
using TStatusTextEvent =
    std::function<void(TupTransfer& Sender, std::uint32_t StatusCode, const std::string& Text)>;
using TRedirectEvent = std::function<void(TupTransfer& Sender, const std::string& NewURL)>;

// The agent named to servers unless UserAgent says otherwise.
inline constexpr const char* kDefaultUserAgent =
    "Qirelo upTransfer HTTP component (www.qirelo.com)";

class TupTransfer : public TupLoginComponent {
public:
    TupTransfer(MainThread& mainThread, platform::inet::Internet& internet,
                platform::inet::LocalSystem& local);
    ~TupTransfer() override;
    TupTransfer(const TupTransfer&) = delete;
    TupTransfer& operator=(const TupTransfer&) = delete;

    // Refused (false) while a transfer runs. With `wait` the call returns
    // after the transfer, serving the main thread's calls meanwhile.
    bool Start(std::uint32_t resumePosition, std::uint32_t resumeEnd, bool wait);
    // Does nothing when no transfer runs. Soft: the transfer ends at its next
    // checkpoint. Hard: ends it now, from this thread, without waiting for
    // the network; either way the clean-up runs and no completion follows.
    void Stop(bool deletePartialFile, bool hard);

    // Settings.
    std::string URL;
    std::string OutputFileName;
    std::string AcceptTypes = "text/html, */*";
    std::string UserAgent = kDefaultUserAgent;
    std::string Referer;
    std::string PostData;
    TRequestMethod RequestMethod = TRequestMethod::rmAutomatic;
    TCacheOptions RequestCacheOptions = kDefaultCacheOptions;
    TInternetOptions InternetOptions{TInternetOption::ioKeepConnection};
    bool WorkOffline = false;
    std::vector<std::string> AddHeaders;
    int TransferBufferSize = 4096;
    TThreadPriority ThreadPriority = TThreadPriority::tpNormal;

    TupProxy& Proxy() { return proxy_; }
    void SetProxy(const TupProxy* value) { proxy_.Assign(value); }
    TupRange& Range() { return range_; }
    void SetRange(const TupRange* value) { range_.Assign(value); }
    TupTimeouts& Timeouts() { return timeouts_; }
    void SetTimeouts(const TupTimeouts* value) { timeouts_.Assign(value); }
    TupOutputFileAttributes& OutputFileAttributes() { return attributes_; }
    void SetOutputFileAttributes(const TupOutputFileAttributes* value) {
        attributes_.Assign(value);
    }

    // Notifications, on the main thread except OnStatusText and OnRedirect.
    THeaderInfoEvent OnHeaderInfo;
    TDoneEvent OnDone;
    TTransferNotifyEvent OnDoneWithoutData;
    TTransferNotifyEvent OnTransferDeclined;
    TTransferProgressEvent OnTransferProgress;
    TIncompleteEvent OnIncomplete;
    TTransferNotifyEvent OnNoResponse;
    THTTPErrorEvent OnHTTPError;
    TPasswordRequestEvent OnTransferPasswordRequest;
    TProxyAuthenticationEvent OnProxyAuthenticationRequest;
    TTransferNotifyEvent OnTransferEnd;
    TTransferNotifyEvent OnTransferAborted;
    TStatusTextEvent OnStatusText;
    TRedirectEvent OnRedirect;

    // The state of the current (or last) transfer. Read on the main thread.
    bool TransferRunning() const { return running_; }
    std::uint32_t ResumePosition() const { return run_->ResumePosition; }
    std::uint32_t ResumeEnd() const { return run_->ResumeEnd; }
    int StatusCode() const { return run_->StatusCode; }
    std::int64_t ContentLength() const { return run_->ContentLength; }
    std::int64_t BytesRead() const { return run_->BytesRead; }
    const std::string& ContentType() const { return run_->ContentType; }
    bool Success() const { return run_->Success; }
    bool ContinueDownload() const { return run_->ContinueDownload; }
    bool OutputFileCreated() const { return run_->OutputFileCreated; }
    bool DeleteOnStop() const { return run_->DeleteOnStop; }
    std::uint32_t StartTick() const { return run_->StartTick; }
    float TransferRate() const { return run_->TransferRate; }

private:
    TransferRequest Snapshot() const;

    // The transfer, on the worker.
    void Transfer(TransferRun& run);
    void Checkpoint(TransferRun& run);
    bool RequestHeaders(TransferRun& run, const TransferUrl& url);
    bool OpenSession(TransferRun& run);
    bool SendUntilAnswered(TransferRun& run);
    void AskForCredentials(TransferRun& run);
    bool ReadHeaders(TransferRun& run);
    void OpenLocalFile(TransferRun& run, const TransferUrl& url);
    void OpenTarget(TransferRun& run);
    void ReadBody(TransferRun& run);
    bool ReadIntoMemory(TransferRun& run, TupMemoryStream& memory, std::size_t size,
                        std::size_t& read);
    bool ReadIntoFile(TransferRun& run, std::vector<char>& buffer, std::size_t& read);
    bool ReadBlock(TransferRun& run, char* buffer, std::size_t size, std::size_t& read);
    void ReportProgress(TransferRun& run);
    std::string Header(TransferRun& run, platform::inet::Query query);

    // The completion, on the main thread.
    void Complete(TransferRun& run);
    void FinishOutputFile(TransferRun& run);
    void ReportFailure(TransferRun& run, TupStream* data);

    // The stop clean-up, on the worker (soft stop) or the stopping thread (hard stop).
    void CleanUp(TransferRun& run, bool onWorker);

    // Runs `handler` on the main thread unless the run has been stopped
    // meanwhile; a run stopped then takes no further step.
    void HandOver(TransferRun& run, const std::function<void()>& handler);
    // Puts the worker component aside, its run left to end by itself, and
    // takes a fresh one: a start or a hard stop from a handler must not wait
    // for the run whose handed-over call it is inside.
    void RetireWorker();

    MainThread& mainThread_;
    platform::inet::Internet& internet_;
    platform::inet::LocalSystem& local_;
    TupProxy proxy_;
    TupRange range_;
    TupTimeouts timeouts_;
    TupOutputFileAttributes attributes_;
    std::atomic<bool> running_{false};
    std::atomic<bool> destroying_{false};
    std::shared_ptr<TransferRun> run_;
    // Last: destroyed first, so their workers have ended before the rest goes.
    std::vector<std::unique_ptr<TupThread>> retired_;
    std::unique_ptr<TupThread> thread_;
};

} // namespace qirelo::upgrade
