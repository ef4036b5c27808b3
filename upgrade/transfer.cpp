#include "upgrade/transfer.h"

#include "upgrade/progress_figures.h"
#include "upgrade/request_flags.h"
#include "upgrade/status_text.h"
#include "upgrade/thread_stopped.h"

#include <algorithm>
#include <charconv>
#include <cstdio>
#include <filesystem>

namespace qirelo::upgrade {

namespace inet = platform::inet;
using Slot = TransferRun::Slot;

namespace {

// The memory target is sized from the length header in advance, but an
// untrusted header must not make it claim more than this at once.
constexpr std::int64_t kLargestReservation = 64 << 20;

bool IsBodyStatus(int status) {
    return status == 200 || status == 206;
}

// The header as an integer; `fallback` when it is not one.
std::int64_t NumberOr(const std::optional<std::string>& text, std::int64_t fallback) {
    if (!text) {
        return fallback;
    }
    std::int64_t value = 0;
    const char* end = text->data() + text->size();
    const auto [stop, error] = std::from_chars(text->data(), end, value);
    return error == std::errc() && stop == end ? value : fallback;
}

// The realm of a WWW-Authenticate header: the text after the first `="`
// without its last character (the closing quote); the whole header when it
// holds no such pair.
std::string RealmOf(const std::optional<std::string>& header) {
    if (!header) {
        return {};
    }
    const std::size_t start = header->find("=\"");
    if (start == std::string::npos) {
        return *header;
    }
    std::string realm = header->substr(start + 2);
    if (!realm.empty()) {
        realm.pop_back();
    }
    return realm;
}

std::string RangeLine(std::uint32_t start, std::uint32_t end) {
    std::string line = "RANGE: bytes=" + std::to_string(start) + "-";
    if (end != 0) {
        line += std::to_string(end);
    }
    return line + "\r\n";
}

inet::AccessType AccessTypeOf(TProxyAccessType type) {
    switch (type) {
    case TProxyAccessType::atDirect:
        return inet::AccessType::direct;
    case TProxyAccessType::atUseProxy:
        return inet::AccessType::proxy;
    case TProxyAccessType::atPreconfig:
        break;
    }
    return inet::AccessType::preconfig;
}

// Keeps a handle in the run; a run stopped meanwhile ends the worker here.
bool KeepOrStop(TransferRun& run, Slot slot, inet::HInternet handle) {
    if (!run.Keep(slot, handle)) {
        throw EThreadStopped{};
    }
    return handle != inet::kNoHandle;
}

} // namespace

TupTransfer::TupTransfer(MainThread& mainThread, inet::Internet& internet, inet::LocalSystem& local)
    : mainThread_(mainThread), internet_(internet), local_(local),
      run_(std::make_shared<TransferRun>(internet, TransferRequest{})),
      thread_(std::make_unique<TupThread>(mainThread)) {}

TupTransfer::~TupTransfer() {
    destroying_ = true;
    thread_->Terminate(true); // closes the handles: a blocked call returns
    run_->CloseAll();
    thread_.reset();
    retired_.clear();
}

TransferRequest TupTransfer::Snapshot() const {
    TransferRequest request;
    request.URL = URL;
    request.OutputFileName = OutputFileName;
    request.AcceptTypes = AcceptTypes;
    request.UserAgent = UserAgent;
    request.Referer = Referer;
    request.PostData = PostData;
    request.RequestMethod = RequestMethod;
    request.RequestCacheOptions = RequestCacheOptions;
    request.InternetOptions = InternetOptions;
    request.WorkOffline = WorkOffline;
    request.AddHeaders = AddHeaders;
    request.Range = range_;
    request.Timeouts = timeouts_;
    request.TransferBufferSize = std::max(1, TransferBufferSize);
    request.Proxy = proxy_;
    request.OutputFileAttributes = attributes_;
    request.HTTPUsername = HTTPUsername;
    request.HTTPPassword = HTTPPassword;
    request.HasHeaderInfo = static_cast<bool>(OnHeaderInfo);
    request.HasProgress = static_cast<bool>(OnTransferProgress);
    request.HasPasswordRequest = static_cast<bool>(OnTransferPasswordRequest);
    request.HasProxyRequest = static_cast<bool>(OnProxyAuthenticationRequest);
    return request;
}

void TupTransfer::RetireWorker() {
    std::erase_if(retired_,
                  [](const std::unique_ptr<TupThread>& worker) { return !worker->Executing(); });
    retired_.push_back(std::move(thread_));
    thread_ = std::make_unique<TupThread>(mainThread_);
}

bool TupTransfer::Start(std::uint32_t resumePosition, std::uint32_t resumeEnd, bool wait) {
    if (running_) {
        return false;
    }
    running_ = true;
    if (thread_->Executing()) {
        RetireWorker(); // e.g. started from OnDone, inside the last run's completion
    }
    auto run = std::make_shared<TransferRun>(internet_, Snapshot());
    run->TransferRate = -1;
    run->ResumePosition = resumePosition;
    run->ResumeEnd = resumeEnd;
    run->StatusCallback = [this, onStatusText = OnStatusText,
                           onRedirect = OnRedirect](std::uint32_t code, std::string_view info) {
        if (onStatusText) {
            onStatusText(*this, code, std::string(StatusText(code)));
        }
        if (code == inet::kStatusRedirect && onRedirect) {
            onRedirect(*this, std::string(info));
        }
    };
    run_ = run;

    thread_->OnExecute = [this, run](TupCustomThread& worker) {
        run->Worker = &worker;
        Transfer(*run);
    };
    thread_->OnTerminate = [this, run](TupCustomThread&) { Complete(*run); };
    thread_->OnException = [this, run](TupCustomThread&) {
        if (!run->Stopped() && OnTransferEnd) {
            OnTransferEnd(*this);
        }
    };
    thread_->SetPriority(ThreadPriority);
    thread_->WaitThread = wait;
    thread_->Execute();
    thread_->WaitThread = false;
    return true;
}

void TupTransfer::Stop(bool deletePartialFile, bool hard) {
    if (!running_) {
        return;
    }
    run_->DeleteOnStop = deletePartialFile;
    run_->StopRequested = true;
    if (!hard) {
        return;
    }
    // The clean-up closes the run's handles on this thread, so a network call
    // the worker is blocked in returns at once; the stopped run then ends at
    // its next step without doing it. Nothing here waits for the worker.
    RetireWorker();
    CleanUp(*run_, false);
}

// ---- The transfer, on the worker ----------------------------------------

void TupTransfer::Transfer(TransferRun& run) {
    // A forced stop closes the handles from the stopping thread, so a call
    // blocked on one returns at once and the worker unwinds.
    const StopSignal::Callback closeOnStop(*run.Worker->RunStop(), [&run] { run.CloseAll(); });
    run.StatusCode = -1;
    run.ContentType.clear();
    run.StartTick = local_.TickCount();
    run.ContinueDownload = true;

    std::optional<TransferUrl> url = SplitTransferUrl(run.request.URL);
    if (url && url->user.empty()) {
        url->user = run.request.HTTPUsername;
    }
    if (url && url->password.empty()) {
        url->password = run.request.HTTPPassword;
    }
    Checkpoint(run);
    if (!url) {
        return; // no HTTP answer
    }
    if (url->scheme == "file") {
        OpenLocalFile(run, *url);
    } else if (!RequestHeaders(run, *url)) {
        return;
    }
    Checkpoint(run);
    OpenTarget(run);
    ReadBody(run);
    run.Success = IsBodyStatus(run.StatusCode) &&
                  (run.ContentLength == 0 || run.BytesRead == run.ContentLength);
}

void TupTransfer::Checkpoint(TransferRun& run) {
    TupCustomThread& worker = *run.Worker;
    worker.CheckStop(); // stopped by force: unwind
    if (run.StopRequested) {
        CleanUp(run, true);
        worker.Terminate(true); // ends this worker; no completion follows
    }
}

// Session, connection, request, headers, send: false when the transfer ends
// without a body to read.
bool TupTransfer::RequestHeaders(TransferRun& run, const TransferUrl& url) {
    const TransferRequest& request = run.request;
    if (!OpenSession(run)) {
        return false;
    }
    Checkpoint(run);
    if (!KeepOrStop(run, Slot::connection,
                    internet_.Connect(run.Handle(Slot::session), url.host, url.port, url.user,
                                      url.password))) {
        return false;
    }

    Checkpoint(run);
    const bool post =
        request.RequestMethod == TRequestMethod::rmPost ||
        (request.RequestMethod == TRequestMethod::rmAutomatic && !request.PostData.empty());
    const std::uint32_t flags =
        RequestFlags(url.scheme, request.RequestCacheOptions, request.InternetOptions);
    if (!KeepOrStop(run, Slot::request,
                    internet_.OpenRequest(run.Handle(Slot::connection), post ? "POST" : "GET",
                                          url.path + EncodeExtraInfo(url.extra), request.Referer,
                                          request.AcceptTypes, flags))) {
        return false;
    }
    const inet::HInternet handle = run.Handle(Slot::request);

    Checkpoint(run);
    const TupTimeouts& timeouts = request.Timeouts;
    if (timeouts.ConnectTimeout != 0) {
        internet_.SetOption(handle, inet::NumberOption::connect_timeout, timeouts.ConnectTimeout);
    }
    if (timeouts.ReceiveTimeout != 0) {
        internet_.SetOption(handle, inet::NumberOption::receive_timeout, timeouts.ReceiveTimeout);
    }
    if (timeouts.SendTimeout != 0) {
        internet_.SetOption(handle, inet::NumberOption::send_timeout, timeouts.SendTimeout);
    }

    std::string headers;
    for (const std::string& line : request.AddHeaders) {
        headers += line + "\r\n";
    }
    if (run.ResumePosition != 0 || run.ResumeEnd != 0) {
        headers += RangeLine(run.ResumePosition, run.ResumeEnd);
    } else if (request.Range.StartRange != 0 || request.Range.EndRange != 0) {
        headers += RangeLine(request.Range.StartRange, request.Range.EndRange);
    }
    if (!headers.empty()) {
        internet_.AddRequestHeaders(handle, headers, run.StatusCode == 416);
    }

    return SendUntilAnswered(run) && ReadHeaders(run);
}

bool TupTransfer::OpenSession(TransferRun& run) {
    const TupProxy& proxy = run.request.Proxy;
    inet::SessionParams params;
    params.agent = run.request.UserAgent;
    params.access = AccessTypeOf(proxy.AccessType);
    if (proxy.AccessType == TProxyAccessType::atUseProxy) {
        params.proxy = proxy.ProxyServer() + ":" + std::to_string(proxy.ProxyPort);
        params.bypass = proxy.ProxyBypass();
    }
    params.offline = run.request.WorkOffline;
    if (!KeepOrStop(run, Slot::session, internet_.Open(params))) {
        return false;
    }
    internet_.SetStatusCallback(run.Handle(Slot::session), run.StatusCallback);
    return true;
}

// Sends and reads the status, again for as long as an authentication handler asks to try
// again. False when no HTTP status came back.
bool TupTransfer::SendUntilAnswered(TransferRun& run) {
    const inet::HInternet handle = run.Handle(Slot::request);
    const bool post =
        !run.request.PostData.empty() && run.request.RequestMethod != TRequestMethod::rmGet;
    do {
        Checkpoint(run);
        run.RetryRequest = false;
        const bool sent =
            post ? internet_.SendRequest(handle, "Content-Type: application/x-www-form-urlencoded",
                                         run.request.PostData)
                 : internet_.SendRequest(handle, "", "");
        if (!sent) {
            return false;
        }
        Checkpoint(run);
        // A server that closes without a status line is no HTTP answer (the
        // library then reports status 0).
        const std::int64_t status =
            NumberOr(internet_.QueryInfo(handle, inet::Query::status_code), 0);
        if (status <= 0) {
            run.StatusCode = -1;
            return false;
        }
        run.StatusCode = static_cast<int>(status);
        AskForCredentials(run);
    } while (run.RetryRequest);
    return true;
}

void TupTransfer::AskForCredentials(TransferRun& run) {
    const inet::HInternet handle = run.Handle(Slot::request);
    if (run.StatusCode == 401 && run.request.HasPasswordRequest) {
        const std::string realm =
            RealmOf(internet_.QueryInfo(handle, inet::Query::www_authenticate));
        bool tryAgain = false;
        std::string user, password;
        HandOver(run, [&] {
            if (OnTransferPasswordRequest) {
                OnTransferPasswordRequest(*this, realm, tryAgain);
            }
            user = HTTPUsername;
            password = HTTPPassword;
        });
        internet_.SetOption(handle, inet::TextOption::username, user);
        internet_.SetOption(handle, inet::TextOption::password, password);
        run.RetryRequest = tryAgain;
    } else if (run.StatusCode == 407 && run.request.HasProxyRequest) {
        bool tryAgain = false;
        std::string user, password;
        HandOver(run, [&] {
            if (OnProxyAuthenticationRequest) {
                OnProxyAuthenticationRequest(*this, proxy_.ProxyUsername, proxy_.ProxyPassword,
                                             tryAgain);
            }
            user = proxy_.ProxyUsername;
            password = proxy_.ProxyPassword;
        });
        internet_.SetOption(handle, inet::TextOption::proxy_username, user);
        internet_.SetOption(handle, inet::TextOption::proxy_password, password);
        run.RetryRequest = tryAgain;
    }
}

std::string TupTransfer::Header(TransferRun& run, inet::Query query) {
    return internet_.QueryInfo(run.Handle(Slot::request), query).value_or("");
}

// The response headers: false when a header handler declined the body.
bool TupTransfer::ReadHeaders(TransferRun& run) {
    Checkpoint(run);
    const inet::HInternet handle = run.Handle(Slot::request);
    run.ContentType = Header(run, inet::Query::content_type);
    run.ContentLength = std::max<std::int64_t>(
        0, NumberOr(internet_.QueryInfo(handle, inet::Query::content_length), 0));
    if (!internet_.QueryInfo(handle, inet::Query::content_range)) {
        run.ResumePosition = 0;
    }
    if (!run.request.HasHeaderInfo) {
        return true;
    }
    const int bias = local_.TimeZoneBiasMinutes();
    const std::string raw = Header(run, inet::Query::raw_headers);
    const std::string language = Header(run, inet::Query::content_language);
    const std::string encoding = Header(run, inet::Query::content_encoding);
    const std::string location = Header(run, inet::Query::location);
    const std::string etag = Header(run, inet::Query::etag);
    const TDateTime date = HeaderDateLocal(Header(run, inet::Query::date), bias);
    const TDateTime lastModified = HeaderDateLocal(Header(run, inet::Query::last_modified), bias);
    const TDateTime expires = HeaderDateLocal(Header(run, inet::Query::expires), bias);
    bool continueDownload = run.ContinueDownload;
    HandOver(run, [&] {
        if (OnHeaderInfo) {
            OnHeaderInfo(*this, run.StatusCode, raw, run.ContentType, language, encoding,
                         run.ContentLength + run.ResumePosition, location, date, lastModified,
                         expires, etag, continueDownload);
        }
    });
    run.ContinueDownload = continueDownload;
    return continueDownload;
}

// A "file" URL: a missing file is a 404, an existing one a 200 of its size.
void TupTransfer::OpenLocalFile(TransferRun& run, const TransferUrl&) {
    std::FILE* file = std::fopen(LocalFilePath(run.request.URL).c_str(), "rb");
    if (!file) {
        run.StatusCode = 404;
        run.ContentLength = 0;
        return;
    }
    std::fseek(file, 0, SEEK_END);
    const long size = std::ftell(file);
    std::fseek(file, 0, SEEK_SET);
    if (!run.KeepLocalFile(file)) {
        throw EThreadStopped{};
    }
    run.StatusCode = 200;
    run.ContentLength = std::max(0L, size);
}

// The output file for a body that is the file asked for, memory otherwise.
void TupTransfer::OpenTarget(TransferRun& run) {
    const std::string& path = run.request.OutputFileName;
    if (!IsBodyStatus(run.StatusCode) || path.empty()) {
        auto memory = std::make_unique<TupMemoryStream>();
        if (run.ContentLength > 0) {
            // Blocks are read in place, so the read that finds the end of
            // the body needs a block's room past it too.
            memory->Reserve(
                static_cast<std::size_t>(std::min(run.ContentLength, kLargestReservation)) +
                static_cast<std::size_t>(run.request.TransferBufferSize));
            local_.AdviseLargeBuffer(memory->Bytes().data(), memory->Bytes().capacity());
        }
        if (!run.SetTarget(std::move(memory))) {
            throw EThreadStopped{};
        }
        return;
    }
    // A leftover of an earlier transfer may be hidden or read-only, and
    // Windows refuses to empty such a file.
    std::error_code error;
    if (std::filesystem::exists(path, error)) {
        local_.SetAttributes(path, inet::attributes::kNormal);
    }
    auto file = std::make_unique<TupFileStream>(path);
    if (!run.SetTarget(std::move(file))) {
        if (run.DeleteOnStop) {
            std::remove(path.c_str());
        }
        throw EThreadStopped{};
    }
    run.OutputFileCreated = true;
    const TFileAttributes incomplete = run.request.OutputFileAttributes.Incomplete;
    if (!(incomplete == TFileAttributes{TFileAttribute::atrArchive})) {
        local_.SetAttributes(path, FileAttributeBits(incomplete));
    }
}

// Reads the body block by block into the target.
void TupTransfer::ReadBody(TransferRun& run) {
    const auto size = static_cast<std::size_t>(run.request.TransferBufferSize);
    // Memory takes each block in place; a file takes it from a buffer,
    // through the run, which refuses the write once a stop has deleted it.
    const std::shared_ptr<TupMemoryStream> memory = run.MemoryTarget();
    std::vector<char> buffer(memory ? 0 : size);
    for (;;) {
        Checkpoint(run);
        std::size_t read = 0;
        const bool more =
            memory ? ReadIntoMemory(run, *memory, size, read) : ReadIntoFile(run, buffer, read);
        if (!more) {
            break;
        }
        run.BytesRead += static_cast<std::int64_t>(read);
        if (run.request.HasProgress) {
            ReportProgress(run);
        }
    }
}

// One block straight into the memory target: false at the end of the body.
bool TupTransfer::ReadIntoMemory(TransferRun& run, TupMemoryStream& memory, std::size_t size,
                                 std::size_t& read) {
    const bool more = ReadBlock(run, memory.SpaceFor(size), size, read) && read != 0;
    memory.Filled(more ? read : 0);
    if (more && run.Stopped()) {
        throw EThreadStopped{};
    }
    return more;
}

bool TupTransfer::ReadIntoFile(TransferRun& run, std::vector<char>& buffer, std::size_t& read) {
    if (!ReadBlock(run, buffer.data(), buffer.size(), read) || read == 0) {
        return false;
    }
    if (!run.Write(buffer.data(), read)) {
        throw EThreadStopped{};
    }
    return true;
}

bool TupTransfer::ReadBlock(TransferRun& run, char* buffer, std::size_t size, std::size_t& read) {
    const inet::HInternet handle = run.Handle(Slot::request);
    if (handle != inet::kNoHandle) {
        return internet_.ReadFile(handle, buffer, size, read);
    }
    const std::optional<std::size_t> local = run.ReadLocalFile(buffer, size);
    read = local.value_or(0);
    return local.has_value();
}

void TupTransfer::ReportProgress(TransferRun& run) {
    HandOver(run, [&] {
        const TProgressFigures figures =
            ProgressFigures(run.ContentLength, run.BytesRead, run.ResumePosition,
                            local_.TickCount() - run.StartTick);
        run.TransferRate = figures.TransferRate;
        if (OnTransferProgress) {
            OnTransferProgress(*this, run.ContentType, figures.TotalSize, figures.BytesDone,
                               figures.ElapsedTime, figures.EstimatedTimeLeft, figures.PercentsDone,
                               figures.TransferRate, run.Target());
        }
    });
}

void TupTransfer::HandOver(TransferRun& run, const std::function<void()>& handler) {
    run.Worker->Synchronize([&] {
        if (!run.Stopped()) {
            handler();
        }
    });
    if (run.Stopped()) {
        throw EThreadStopped{};
    }
}

// ---- The completion, on the main thread -----------------------------------

void TupTransfer::Complete(TransferRun& run) {
    if (run.Stopped()) {
        return; // a hard stop has ended it already
    }
    run.CloseAll();
    if (TupStream* target = run.Target()) {
        target->Rewind();
    }
    running_ = false;
    if (run.ContinueDownload) {
        TupStream* data = run.Target();
        if (run.Success && !data) {
            if (OnTransferEnd) {
                OnTransferEnd(*this);
            }
            if (OnDoneWithoutData) {
                OnDoneWithoutData(*this);
            }
            return;
        }
        if (run.Success) {
            if (run.OutputFileCreated) {
                FinishOutputFile(run);
                data = nullptr; // closed: a file's data is the file
            }
            if (OnDone) {
                OnDone(*this, run.ContentType, run.BytesRead + run.ResumePosition, data);
            }
        } else {
            ReportFailure(run, data);
        }
    }
    run.ReleaseTarget();
    if (!run.ContinueDownload && OnTransferDeclined) {
        OnTransferDeclined(*this);
    }
}

void TupTransfer::FinishOutputFile(TransferRun& run) {
    auto* file = dynamic_cast<TupFileStream*>(run.Target());
    if (!file) {
        return;
    }
    file->Close();
    const TupOutputFileAttributes& attributes = run.request.OutputFileAttributes;
    if (!(attributes.Complete == attributes.Incomplete)) {
        local_.SetAttributes(file->Path(), FileAttributeBits(attributes.Complete));
    }
}

void TupTransfer::ReportFailure(TransferRun& run, TupStream* data) {
    if (IsBodyStatus(run.StatusCode)) {
        if (OnIncomplete) {
            OnIncomplete(*this, run.ContentType, run.ContentLength, run.BytesRead, data);
        }
    } else if (run.StatusCode == -1) {
        if (OnNoResponse) {
            OnNoResponse(*this);
        }
    } else {
        if (OnHTTPError) {
            OnHTTPError(*this, run.StatusCode, data);
        }
        if (run.OutputFileCreated) {
            std::shared_ptr<TupStream> file = run.ReleaseTarget();
            const std::string path = static_cast<TupFileStream&>(*file).Path();
            file.reset();
            std::remove(path.c_str());
        }
    }
    if (OnTransferEnd) {
        OnTransferEnd(*this);
    }
}

// ---- The stop clean-up -----------------------------------------------------

void TupTransfer::CleanUp(TransferRun& run, bool onWorker) {
    if (!run.StopAndCleanUp()) {
        return;
    }
    running_ = false;
    if (destroying_) {
        return;
    }
    const auto fire = [this] {
        if (OnTransferAborted) {
            OnTransferAborted(*this);
        }
    };
    if (onWorker) {
        run.Worker->Synchronize(fire);
    } else {
        fire();
    }
}

} // namespace qirelo::upgrade
