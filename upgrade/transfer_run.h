#pragma once

// The state of one transfer, shared by the engine and the worker that runs it.
// A hard stop cleans up from the stopping thread while the worker may still
// be inside a network call; from then on the run is `stopped` and whatever
// the worker still tries to take (a handle, the output file, a write) is
// refused, so nothing of the run happens after the stop.

#include "platform/inet/internet.h"
#include "upgrade/transfer_settings.h"
#include "upgrade/transfer_stream.h"

#include <atomic>
#include <cstdint>
#include <cstdio>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

namespace qirelo::upgrade {

class TupCustomThread;

// The settings as they stood at the start: the worker reads only these.
struct TransferRequest {
    std::string URL;
    std::string OutputFileName;
    std::string AcceptTypes;
    std::string UserAgent;
    std::string Referer;
    std::string PostData;
    TRequestMethod RequestMethod = TRequestMethod::rmAutomatic;
    TCacheOptions RequestCacheOptions;
    TInternetOptions InternetOptions;
    bool WorkOffline = false;
    std::vector<std::string> AddHeaders;
    TupRange Range;
    TupTimeouts Timeouts;
    int TransferBufferSize = 4096;
    TupProxy Proxy;
    TupOutputFileAttributes OutputFileAttributes;
    std::string HTTPUsername;
    std::string HTTPPassword;
    // Which of the handlers the worker waits for were assigned.
    bool HasHeaderInfo = false;
    bool HasProgress = false;
    bool HasPasswordRequest = false;
    bool HasProxyRequest = false;
};

class TransferRun {
public:
    TransferRun(platform::inet::Internet& internet, TransferRequest request)
        : request(std::move(request)), internet_(internet) {}
    ~TransferRun() { CloseAll(); }
    TransferRun(const TransferRun&) = delete;
    TransferRun& operator=(const TransferRun&) = delete;

    // Worker: keeps a handle just opened in `slot`; a stopped run closes it at
    // once and refuses (false). A failed open (0) is kept as 0.
    enum class Slot { session, connection, request };
    bool Keep(Slot slot, platform::inet::HInternet handle);
    platform::inet::HInternet Handle(Slot slot) const;

    // Worker: the local file of a "file" URL, refused once stopped.
    bool KeepLocalFile(std::FILE* file);
    // Reads the local file; nullopt once stopped.
    std::optional<std::size_t> ReadLocalFile(char* buffer, std::size_t size);

    // Worker: the body's target. Refused (false) once stopped.
    bool SetTarget(std::shared_ptr<TupStream> target);
    // Writes to the target; false once stopped.
    bool Write(const char* bytes, std::size_t count);
    // Worker: a memory target, for reading blocks straight into it; null for
    // a file or once stopped. The worker's share keeps the storage alive
    // while a read fills it, even when a hard stop releases the target.
    std::shared_ptr<TupMemoryStream> MemoryTarget() const;
    TupStream* Target() const { return target_.get(); }
    std::shared_ptr<TupStream> ReleaseTarget();

    // Closes every handle and the local file (completion, stop, destruction).
    void CloseAll();
    // The stop clean-up: closes everything, releases the target and, when asked, deletes the
    // output file; the run stays stopped. True the first time.
    bool StopAndCleanUp();
    bool Stopped() const;

    const TransferRequest request;

    // One transfer's state; the worker writes it, the main thread reads it in
    // the calls handed over to it and in the completion.
    int StatusCode = -1;
    std::int64_t ContentLength = 0;
    std::int64_t BytesRead = 0;
    std::string ContentType;
    std::uint32_t ResumePosition = 0;
    std::uint32_t ResumeEnd = 0;
    std::uint32_t StartTick = 0;
    bool Success = false;
    bool ContinueDownload = true;
    bool RetryRequest = false;
    bool OutputFileCreated = false;
    std::atomic<bool> DeleteOnStop{false};
    // Set by Stop; the worker notices it at its next checkpoint. The worker
    // component's own terminate request is not used for it: a run that finds
    // that set before it begins skips its routine, and the clean-up with it.
    std::atomic<bool> StopRequested{false};
    float TransferRate = -1;
    // The worker component running this transfer (worker thread only).
    TupCustomThread* Worker = nullptr;
    // OnStatusText and OnRedirect as they stood at the start (worker thread).
    platform::inet::StatusCallback StatusCallback;

private:
    platform::inet::Internet& internet_;
    mutable std::mutex mutex_;
    bool stopped_ = false;
    platform::inet::HInternet handles_[3] = {};
    std::FILE* localFile_ = nullptr;
    std::shared_ptr<TupStream> target_;
};

} // namespace qirelo::upgrade
