// The transfer engine over the scripted internet fake, natively: what it asks
// the library, the notifications it gives and their order, the figures on a
// virtual clock, the output file, and stops at every checkpoint.

#include "platform/fake/internet.h"
#include "upgrade/fake/manual_main_thread.h"
#include "upgrade/transfer.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <atomic>
#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

namespace qirelo::upgrade {
namespace {

using namespace std::chrono_literals;
using platform::fake::fake_ok;
using platform::fake::FakeAnswer;
using ::testing::AnyOf;
using ::testing::ElementsAre;

std::string ReadFileText(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

std::string Body(std::size_t size) {
    std::string body(size, '\0');
    for (std::size_t i = 0; i < size; ++i) {
        body[i] = static_cast<char>('a' + i % 26);
    }
    return body;
}

class TransferTest : public ::testing::Test {
protected:
    TransferTest() {
        transfer.URL = "http://update.example.com/setup/qirelo_play.inf";
        transfer.OnDone = [this](TupTransfer&, const std::string& type, std::int64_t total,
                                 TupStream* data) {
            EXPECT_TRUE(mainThread.IsMainThread());
            auto* memory = dynamic_cast<TupMemoryStream*>(data);
            if (memory) {
                EXPECT_EQ(memory->Position(), 0) << "rewound for the handler";
                received = memory->Bytes();
            }
            Note("done type=" + type + " bytes=" + std::to_string(total) +
                 (memory ? " memory"
                  : data ? " stream"
                         : " no-data"));
        };
        transfer.OnIncomplete = [this](TupTransfer&, const std::string&, std::int64_t length,
                                       std::int64_t read, TupStream*) {
            Note("incomplete length=" + std::to_string(length) + " read=" + std::to_string(read));
        };
        transfer.OnNoResponse = [this](TupTransfer&) { Note("no-response"); };
        transfer.OnHTTPError = [this](TupTransfer&, int status, TupStream* data) {
            auto* memory = dynamic_cast<TupMemoryStream*>(data);
            if (memory) {
                received = memory->Bytes();
            }
            Note("http-error " + std::to_string(status));
        };
        transfer.OnTransferEnd = [this](TupTransfer&) { Note("end"); };
        transfer.OnTransferDeclined = [this](TupTransfer&) { Note("declined"); };
        transfer.OnTransferAborted = [this](TupTransfer&) { Note("aborted"); };
    }
    ~TransferTest() override {
        std::error_code error;
        std::filesystem::remove_all(folder, error);
    }

    void Note(const std::string& entry) {
        EXPECT_TRUE(mainThread.IsMainThread()) << entry << " fired off the main thread";
        notes.push_back(entry);
    }
    // Runs one transfer to its end, serving the worker's calls meanwhile.
    void RunTransfer() {
        ASSERT_TRUE(transfer.Start(0, 0, true));
        EXPECT_FALSE(transfer.TransferRunning());
    }
    bool ServeUntil(const std::function<bool()>& done) { return mainThread.ServeUntil(done, 10s); }
    bool Noted(const std::string& entry) const {
        return std::find(notes.begin(), notes.end(), entry) != notes.end();
    }
    std::filesystem::path TempFile(const std::string& name) {
        std::filesystem::create_directories(folder);
        return folder / name;
    }

    fake::ManualMainThread mainThread;
    platform::fake::FakeLocalSystem local;
    platform::fake::FakeInternet internet{&local};
    TupTransfer transfer{mainThread, internet, local};
    std::vector<std::string> notes;
    std::string received;
    const std::filesystem::path folder =
        std::filesystem::temp_directory_path() /
        ("qirelo_transfer_test_" + std::to_string(reinterpret_cast<std::uintptr_t>(this)));
};

TEST_F(TransferTest, ABodyWithItsLengthArrivesExactlyInMemory) {
    const std::string body = Body(10000);
    FakeAnswer answer = fake_ok(body);
    answer.headers.push_back({"Content-Type", "text/plain"});
    answer.block = 3000;
    internet.script({answer});

    RunTransfer();

    EXPECT_THAT(notes, ElementsAre("done type=text/plain bytes=10000 memory"));
    EXPECT_EQ(received, body);
    EXPECT_TRUE(transfer.Success());
    EXPECT_EQ(transfer.StatusCode(), 200);
    EXPECT_EQ(transfer.ContentLength(), 10000);
    EXPECT_EQ(transfer.BytesRead(), 10000);
    EXPECT_EQ(internet.open_handles(), 0) << "the completion closes every handle";
}

TEST_F(TransferTest, AnAnnouncedBodyIsReadInPlaceIntoStorageAdvisedForLargePages) {
    internet.script({fake_ok(Body(3 * 4096))});
    std::vector<const char*> places;
    const auto place = [&](TupStream* data) {
        places.push_back(dynamic_cast<TupMemoryStream&>(*data).Bytes().data());
    };
    transfer.OnTransferProgress = [&](TupTransfer&, const std::string&, std::int64_t, std::int64_t,
                                      int, int, std::uint8_t, float,
                                      TupStream* data) { place(data); };
    transfer.OnDone = [&](TupTransfer&, const std::string&, std::int64_t, TupStream* data) {
        place(data);
        received = dynamic_cast<TupMemoryStream&>(*data).Bytes();
    };

    RunTransfer();

    EXPECT_EQ(received, Body(3 * 4096));
    ASSERT_EQ(places.size(), 4u) << "three blocks, then done";
    EXPECT_EQ(std::set<const char*>(places.begin(), places.end()).size(), 1u)
        << "the read that finds the end must not regrow the body";
    const auto advice = local.large_buffer_advice();
    ASSERT_EQ(advice.size(), 1u) << "the storage is offered for large pages once, before the body";
    EXPECT_EQ(advice[0].start, places[0]);
    EXPECT_GE(advice[0].size, 3u * 4096 + 4096) << "the whole body and the last read's room";
}

TEST_F(TransferTest, AsksTheLibraryStepByStep) {
    internet.script({fake_ok("x")});
    transfer.RequestCacheOptions.Include(TCacheOption::coPragmaNoCache);

    RunTransfer();

    const std::vector<std::string> calls = internet.calls();
    ASSERT_GE(calls.size(), 6u);
    EXPECT_EQ(calls[0], std::string("Open agent=") + kDefaultUserAgent +
                            " access=preconfig proxy= bypass= offline=0");
    EXPECT_EQ(calls[1], "SetStatusCallback");
    EXPECT_EQ(calls[2], "Connect update.example.com:80 user= password=");
    EXPECT_EQ(
        calls[3],
        "OpenRequest GET /setup/qirelo_play.inf flags=0x00400D10 referer= accept=text/html, */*");
    EXPECT_EQ(calls[4], "SendRequest headers= body=");
    EXPECT_TRUE(internet.calls("SetOption").empty()) << "no time-outs, no credentials";
    EXPECT_TRUE(internet.calls("AddRequestHeaders").empty()) << "no header text";
}

TEST_F(TransferTest, SettingsReachTheLibrary) {
    internet.script({fake_ok("x")});
    transfer.URL = "me@update.example.com:8080/cgi?q=a b";
    transfer.HTTPPassword = "pw";
    transfer.PostData = "a=1&b=2";
    transfer.Referer = "http://ref/";
    transfer.UserAgent = "agent";
    transfer.WorkOffline = true;
    transfer.AddHeaders = {"X-One: 1", "X-Two: 2"};
    transfer.Range().StartRange = 10;
    transfer.Range().EndRange = 20;
    transfer.Timeouts().ConnectTimeout = 1000;
    transfer.Timeouts().SendTimeout = 3000;
    transfer.Proxy().AccessType = TProxyAccessType::atUseProxy;
    transfer.Proxy().SetProxyServer("proxy.lan");
    transfer.Proxy().ProxyPort = 3128;

    RunTransfer();

    EXPECT_THAT(
        internet.calls("Open "),
        ElementsAre(
            "Open agent=agent access=proxy proxy=proxy.lan:3128 bypass=127.0.0.1; offline=1"));
    EXPECT_THAT(internet.calls("Connect"),
                ElementsAre("Connect update.example.com:8080 user=me password=pw"));
    EXPECT_THAT(internet.calls("OpenRequest"),
                ElementsAre("OpenRequest POST /cgi?q=a%20b flags=0x00400C10 referer=http://ref/ "
                            "accept=text/html, */*"));
    EXPECT_THAT(internet.calls("SetOption"),
                ElementsAre("SetOption connect_timeout=1000", "SetOption send_timeout=3000"));
    EXPECT_THAT(
        internet.calls("AddRequestHeaders"),
        ElementsAre("AddRequestHeaders add X-One: 1\r\nX-Two: 2\r\nRANGE: bytes=10-20\r\n"));
    EXPECT_THAT(internet.calls("SendRequest"),
                ElementsAre("SendRequest headers=Content-Type: application/x-www-form-urlencoded "
                            "body=a=1&b=2"));
}

TEST_F(TransferTest, AResumePositionTakesThePlaceOfTheRange) {
    FakeAnswer answer = fake_ok("rest");
    answer.status = 206;
    answer.headers.push_back({"Content-Range", "bytes 100-103/104"});
    internet.script({answer});
    transfer.Range().StartRange = 5;

    ASSERT_TRUE(transfer.Start(100, 0, true));

    EXPECT_THAT(internet.calls("AddRequestHeaders"),
                ElementsAre("AddRequestHeaders add RANGE: bytes=100-\r\n"));
    EXPECT_THAT(notes, ElementsAre("done type= bytes=104 memory"));
}

TEST_F(TransferTest, ABodyWithoutLengthIsCompleteWhenTheReadingEnds) {
    FakeAnswer answer;
    answer.body = Body(5000);
    internet.script({answer});

    RunTransfer();

    EXPECT_THAT(notes, ElementsAre("done type= bytes=5000 memory"));
    EXPECT_EQ(received, answer.body);
    EXPECT_EQ(transfer.ContentLength(), 0);
}

TEST_F(TransferTest, ABodyCutOffIsIncompleteWithTheBytesRead) {
    FakeAnswer answer = fake_ok(Body(10000));
    answer.body.resize(4000);
    answer.cut_off = true;
    internet.script({answer});

    RunTransfer();

    EXPECT_THAT(notes, ElementsAre("incomplete length=10000 read=4000", "end"));
    EXPECT_FALSE(transfer.Success());
}

TEST_F(TransferTest, AnErrorStatusGivesItsBodyAndCreatesNoFile) {
    FakeAnswer answer = fake_ok("<h1>Not Found</h1>");
    answer.status = 404;
    internet.script({answer});
    const auto path = TempFile("never.uTMP");
    transfer.OutputFileName = path.string();

    RunTransfer();

    EXPECT_THAT(notes, ElementsAre("http-error 404", "end"));
    EXPECT_EQ(received, "<h1>Not Found</h1>") << "the error page goes to memory";
    EXPECT_FALSE(std::filesystem::exists(path));
    EXPECT_FALSE(transfer.OutputFileCreated());
}

TEST_F(TransferTest, NoAnswerAtAllIsNoResponse) {
    FakeAnswer unreachable;
    unreachable.send_fails = true;
    internet.script({unreachable});

    RunTransfer();

    EXPECT_THAT(notes, ElementsAre("no-response", "end"));
    EXPECT_EQ(transfer.StatusCode(), -1);
}

TEST_F(TransferTest, AnAnswerWithoutStatusLineIsNoResponseNotStatusZero) {
    FakeAnswer closed;
    closed.status.reset();
    internet.script({closed});

    RunTransfer();

    EXPECT_THAT(notes, ElementsAre("no-response", "end"));
    EXPECT_EQ(transfer.StatusCode(), -1);
    EXPECT_TRUE(internet.calls("ReadFile").empty());
}

TEST_F(TransferTest, ASessionOrConnectionThatFailsIsNoResponse) {
    internet.open_fails = true;
    RunTransfer();
    internet.open_fails = false;
    internet.connect_fails = true;
    RunTransfer();
    EXPECT_THAT(notes, ElementsAre("no-response", "end", "no-response", "end"));
    EXPECT_TRUE(internet.calls("SendRequest").empty());
}

TEST_F(TransferTest, AnUnsplittableUrlIsNoResponse) {
    transfer.URL = "http://host:notaport/";
    RunTransfer();
    EXPECT_THAT(notes, ElementsAre("no-response", "end"));
    EXPECT_TRUE(internet.calls().empty());
}

FakeAnswer Unauthorized(std::string challenge) {
    FakeAnswer answer = fake_ok("denied");
    answer.status = 401;
    answer.headers.push_back({"WWW-Authenticate", std::move(challenge)});
    return answer;
}

TEST_F(TransferTest, APasswordRequestRetriesTheSameRequestWithTheCredentials) {
    internet.script({Unauthorized("Basic realm=\"Qirelo updates\""), fake_ok("secret file")});
    std::vector<std::string> realms;
    transfer.OnTransferPasswordRequest = [&](TupTransfer& sender, const std::string& realm,
                                             bool& tryAgain) {
        EXPECT_TRUE(mainThread.IsMainThread());
        EXPECT_FALSE(tryAgain);
        realms.push_back(realm);
        sender.HTTPUsername = "member";
        sender.HTTPPassword = "pass word";
        tryAgain = true;
    };

    RunTransfer();

    EXPECT_THAT(realms, ElementsAre("Qirelo updates"));
    EXPECT_THAT(notes, ElementsAre("done type= bytes=11 memory"));
    EXPECT_EQ(received, "secret file");
    EXPECT_EQ(internet.calls("OpenRequest").size(), 1u) << "the same request again";
    std::vector<std::string> exchange;
    for (const std::string& call : internet.calls()) {
        if (call.starts_with("SendRequest") || call.starts_with("SetOption")) {
            exchange.push_back(call);
        }
    }
    EXPECT_THAT(exchange,
                ElementsAre("SendRequest headers= body=", "SetOption username=member",
                            "SetOption password=pass word", "SendRequest headers= body="));
}

TEST_F(TransferTest, ADeclinedPasswordRequestIsAnHttpError) {
    internet.script({Unauthorized("Basic realm=\"x\"")});
    std::string realm;
    transfer.OnTransferPasswordRequest = [&](TupTransfer&, const std::string& r, bool&) {
        realm = r;
    };
    RunTransfer();
    EXPECT_EQ(realm, "x");
    EXPECT_THAT(notes, ElementsAre("http-error 401", "end"));
    EXPECT_EQ(internet.calls("SendRequest").size(), 1u);
}

TEST_F(TransferTest, ARealmWithoutQuotesIsTheWholeHeader) {
    internet.script({Unauthorized("Basic realm=plain")});
    std::string realm;
    transfer.OnTransferPasswordRequest = [&](TupTransfer&, const std::string& r, bool&) {
        realm = r;
    };
    RunTransfer();
    EXPECT_EQ(realm, "Basic realm=plain");
}

TEST_F(TransferTest, WithoutPasswordHandlerA401IsAnHttpError) {
    internet.script({Unauthorized("Basic realm=\"x\"")});
    RunTransfer();
    EXPECT_THAT(notes, ElementsAre("http-error 401", "end"));
}

TEST_F(TransferTest, AProxyRequestHandsOverTheProxyCredentials) {
    FakeAnswer proxyAuth = fake_ok("");
    proxyAuth.status = 407;
    internet.script({proxyAuth, fake_ok("ok")});
    transfer.OnProxyAuthenticationRequest = [](TupTransfer&, std::string& user,
                                               std::string& password, bool& tryAgain) {
        user = "pu";
        password = "pp";
        tryAgain = true;
    };
    RunTransfer();
    EXPECT_THAT(internet.calls("SetOption"),
                ElementsAre("SetOption proxy_username=pu", "SetOption proxy_password=pp"));
    EXPECT_EQ(transfer.Proxy().ProxyUsername, "pu");
    EXPECT_THAT(notes, ElementsAre("done type= bytes=2 memory"));
}

TEST_F(TransferTest, HeadersThenProgressThenDoneInThatOrder) {
    FakeAnswer answer = fake_ok(Body(10000));
    answer.headers.push_back({"Content-Type", "application/octet-stream"});
    answer.headers.push_back({"Last-Modified", "Sun, 06 Nov 1994 20:49:37 GMT"});
    answer.headers.push_back({"ETag", "\"v1\""});
    internet.script({answer});
    local.bias_minutes = -480;
    transfer.OnHeaderInfo = [&](TupTransfer&, int status, const std::string& raw,
                                const std::string& type, const std::string&, const std::string&,
                                std::int64_t length, const std::string&, TDateTime date,
                                TDateTime lastModified, TDateTime, const std::string& etag,
                                bool& continueDownload) {
        EXPECT_TRUE(continueDownload);
        EXPECT_NE(raw.find("Content-Length: 10000\r\n"), std::string::npos);
        EXPECT_EQ(date, 0) << "no Date header";
        Note("header " + std::to_string(status) + " " + type + " " + std::to_string(length) + " " +
             DateTimeText(lastModified) + " " + etag);
    };
    transfer.OnTransferProgress = [&](TupTransfer&, const std::string&, std::int64_t total,
                                      std::int64_t done, int, int, std::uint8_t percent, float,
                                      TupStream* data) {
        EXPECT_EQ(data->Size(), done) << "the block is written before the figures";
        Note("progress " + std::to_string(done) + "/" + std::to_string(total) + " " +
             std::to_string(percent) + "%");
    };

    RunTransfer();

    EXPECT_THAT(notes,
                ElementsAre("header 200 application/octet-stream 10000 1994-11-07 04:49:37 \"v1\"",
                            "progress 4096/10000 41%", "progress 8192/10000 82%",
                            "progress 10000/10000 100%",
                            "done type=application/octet-stream bytes=10000 memory"));
}

TEST_F(TransferTest, ProgressFiguresFollowTheClock) {
    FakeAnswer answer = fake_ok(Body(10000));
    answer.ms_per_block = 1500;
    internet.script({answer});
    std::vector<std::string> figures;
    transfer.OnTransferProgress = [&](TupTransfer&, const std::string&, std::int64_t, std::int64_t,
                                      int elapsed, int left, std::uint8_t, float rate, TupStream*) {
        char line[64];
        std::snprintf(line, sizeof line, "%d s, %d s left, %.3f KB/s", elapsed, left, rate);
        figures.push_back(line);
    };
    EXPECT_FLOAT_EQ(transfer.TransferRate(), -1);

    RunTransfer();

    EXPECT_THAT(figures, ElementsAre("1 s, 1 s left, 4.000 KB/s", "3 s, 1 s left, 2.667 KB/s",
                                     "4 s, 0 s left, 2.441 KB/s"));
    EXPECT_FLOAT_EQ(transfer.TransferRate(), 2.44140625f);
}

TEST_F(TransferTest, AHeaderHandlerCanDeclineTheBody) {
    internet.script({fake_ok("unwanted")});
    transfer.OnHeaderInfo =
        [](TupTransfer&, int, const std::string&, const std::string&, const std::string&,
           const std::string&, std::int64_t, const std::string&, TDateTime, TDateTime, TDateTime,
           const std::string&, bool& continueDownload) { continueDownload = false; };
    RunTransfer();
    EXPECT_THAT(notes, ElementsAre("declined"));
    EXPECT_TRUE(internet.calls("ReadFile").empty());
    EXPECT_EQ(internet.open_handles(), 0);
}

TEST_F(TransferTest, StatusTextsAndRedirectsComeOnTheWorker) {
    internet.statuses_at_send = {{10, "host"}, {110, "http://elsewhere/x"}, {99, ""}};
    internet.script({fake_ok("x")});
    std::vector<std::string> seen;
    std::atomic<bool> offMain{true};
    transfer.OnStatusText = [&](TupTransfer&, std::uint32_t code, const std::string& text) {
        offMain = offMain && !mainThread.IsMainThread();
        seen.push_back(std::to_string(code) + " " + text);
    };
    transfer.OnRedirect = [&](TupTransfer&, const std::string& url) {
        offMain = offMain && !mainThread.IsMainThread();
        seen.push_back("redirect " + url);
    };
    RunTransfer();
    EXPECT_TRUE(offMain);
    EXPECT_THAT(seen, ElementsAre("10 Resolving name", "110 Redirect",
                                  "redirect http://elsewhere/x", "99 Unknown status"));
}

TEST_F(TransferTest, AFileTargetIsWrittenWithItsAttributes) {
    const std::string body = Body(9000);
    internet.script({fake_ok(body)});
    const auto path = TempFile("qirelo.exe.uTMP");
    transfer.OutputFileName = path.string();
    transfer.OutputFileAttributes().Incomplete = {
        TFileAttribute::atrArchive, TFileAttribute::atrHidden, TFileAttribute::atrTemporary};
    std::int64_t sizeSeen = -1;
    transfer.OnTransferProgress = [&](TupTransfer&, const std::string&, std::int64_t, std::int64_t,
                                      int, int, std::uint8_t, float,
                                      TupStream* data) { sizeSeen = data->Size(); };

    RunTransfer();

    EXPECT_THAT(notes, ElementsAre("done type= bytes=9000 no-data"));
    EXPECT_EQ(sizeSeen, 9000);
    EXPECT_EQ(ReadFileText(path), body);
    EXPECT_THAT(local.attribute_calls(),
                ElementsAre(path.string() + "=0x00000122", path.string() + "=0x00000020"));
}

TEST_F(TransferTest, ALeftoverFileIsMadeWritableAndEmptied) {
    const auto path = TempFile("left.uTMP");
    std::ofstream(path) << "an older, longer leftover of a broken download";
    internet.script({fake_ok("new")});
    transfer.OutputFileName = path.string();

    RunTransfer();

    EXPECT_EQ(ReadFileText(path), "new");
    EXPECT_THAT(local.attribute_calls(),
                ElementsAre(path.string() + "=0x00000080", path.string() + "=0x00000120",
                            path.string() + "=0x00000020"));
}

TEST_F(TransferTest, AnIncompleteFileIsKeptWithItsIncompleteAttributes) {
    FakeAnswer answer = fake_ok(Body(8000));
    answer.body.resize(5000);
    answer.cut_off = true;
    internet.script({answer});
    const auto path = TempFile("cut.uTMP");
    transfer.OutputFileName = path.string();

    RunTransfer();

    EXPECT_THAT(notes, ElementsAre("incomplete length=8000 read=5000", "end"));
    EXPECT_EQ(std::filesystem::file_size(path), 5000u);
    EXPECT_THAT(local.attribute_calls(), ElementsAre(path.string() + "=0x00000120"));
}

TEST_F(TransferTest, AnOutputFileThatCannotBeCreatedEndsTheTransfer) {
    internet.script({fake_ok("x")});
    transfer.OutputFileName = (folder / "no" / "such" / "folder" / "f.uTMP").string();
    RunTransfer();
    EXPECT_THAT(notes, ElementsAre("end", "incomplete length=1 read=0", "end"));
}

TEST_F(TransferTest, AFileUrlIsReadFromDisk) {
    const auto path = TempFile("local file.inf");
    std::ofstream(path, std::ios::binary) << "[info]\r\nversion=1\r\n";
    transfer.URL = "file://" + path.generic_string();
    for (char& c : transfer.URL) {
        if (c == ' ') {
            transfer.URL.replace(&c - transfer.URL.data(), 1, "%20");
            break;
        }
    }
    RunTransfer();
    transfer.URL = "file://" + (folder / "missing.inf").generic_string();
    RunTransfer();

    EXPECT_THAT(notes, ElementsAre("done type= bytes=19 memory", "http-error 404", "end"));
    EXPECT_TRUE(internet.calls().empty()) << "no library call for a local file";
}

TEST_F(TransferTest, AStartWhileRunningIsRefused) {
    FakeAnswer answer = fake_ok("x");
    internet.script({answer});
    internet.pause_at("SendRequest");
    ASSERT_TRUE(transfer.Start(0, 0, false));
    ASSERT_TRUE(internet.wait_paused());
    EXPECT_TRUE(transfer.TransferRunning());
    EXPECT_FALSE(transfer.Start(0, 0, false));
    internet.release();
    ASSERT_TRUE(ServeUntil([&] { return !transfer.TransferRunning(); }));
    EXPECT_THAT(notes, ElementsAre("done type= bytes=1 memory"));
}

// A soft stop requested while the worker is inside `call` lands at the next
// checkpoint: the clean-up runs, OnTransferAborted fires, nothing else.
class SoftStopTest : public TransferTest, public ::testing::WithParamInterface<const char*> {};

TEST_P(SoftStopTest, EndsTheTransferAtTheNextCheckpoint) {
    FakeAnswer answer = fake_ok(Body(9000));
    internet.script({answer});
    transfer.OnHeaderInfo = [](TupTransfer&, int, const std::string&, const std::string&,
                               const std::string&, const std::string&, std::int64_t,
                               const std::string&, TDateTime, TDateTime, TDateTime,
                               const std::string&, bool&) {};
    transfer.OnTransferProgress = [this](TupTransfer&, const std::string&, std::int64_t,
                                         std::int64_t, int, int, std::uint8_t, float,
                                         TupStream*) { Note("progress"); };
    const auto path = TempFile("partial.uTMP");
    transfer.OutputFileName = path.string();
    internet.pause_at(GetParam());

    ASSERT_TRUE(transfer.Start(0, 0, false));
    ASSERT_TRUE(ServeUntil([&] { return internet.paused(); })) << "the header call goes first";
    transfer.Stop(false, false);
    internet.release();
    ASSERT_TRUE(ServeUntil([&] { return Noted("aborted"); }));
    mainThread.ServeUntil([] { return false; }, 50ms);

    EXPECT_EQ(notes.back(), "aborted");
    EXPECT_FALSE(Noted("end"));
    EXPECT_FALSE(transfer.TransferRunning());
    EXPECT_EQ(internet.open_handles(), 0);
    const bool fileStarted = std::string(GetParam()) == "ReadFile";
    EXPECT_EQ(std::filesystem::exists(path), fileStarted) << "kept: no deletion was asked";
}

INSTANTIATE_TEST_SUITE_P(AtEachCall, SoftStopTest,
                         ::testing::Values("Open", "Connect", "OpenRequest", "SendRequest",
                                           "QueryInfo status_code", "QueryInfo content_type",
                                           "ReadFile"),
                         [](const auto& info) {
                             std::string name = info.param;
                             std::replace(name.begin(), name.end(), ' ', '_');
                             return name;
                         });

TEST_F(TransferTest, ASoftStopCanDeleteThePartialFile) {
    internet.script({fake_ok(Body(9000))});
    const auto path = TempFile("partial.uTMP");
    transfer.OutputFileName = path.string();
    internet.pause_at("ReadFile");
    ASSERT_TRUE(transfer.Start(0, 0, false));
    ASSERT_TRUE(internet.wait_paused());
    EXPECT_TRUE(std::filesystem::exists(path));
    transfer.Stop(true, false);
    EXPECT_TRUE(transfer.DeleteOnStop());
    internet.release();
    ASSERT_TRUE(ServeUntil([&] { return Noted("aborted"); }));
    EXPECT_FALSE(std::filesystem::exists(path));
}

TEST_F(TransferTest, AHardStopEndsABlockedReadAtOnceAndTheEngineGoesOn) {
    FakeAnswer stalled = fake_ok(Body(9000));
    stalled.body.resize(4096);
    stalled.stall = true;
    internet.script({stalled});
    const auto path = TempFile("hard.uTMP");
    transfer.OutputFileName = path.string();
    std::atomic<int> progress{0};
    transfer.OnTransferProgress = [&](TupTransfer&, const std::string&, std::int64_t, std::int64_t,
                                      int, int, std::uint8_t, float, TupStream*) { ++progress; };

    ASSERT_TRUE(transfer.Start(0, 0, false));
    ASSERT_TRUE(ServeUntil([&] { return progress == 1; }));
    // The worker is now blocked reading; the stop must not wait for it.
    transfer.Stop(true, true);
    EXPECT_THAT(notes, ElementsAre("aborted")) << "fired at once, on the stopping thread";
    EXPECT_FALSE(transfer.TransferRunning());
    EXPECT_FALSE(std::filesystem::exists(path));
    EXPECT_EQ(internet.open_handles(), 0);

    internet.script({fake_ok("next")});
    transfer.OutputFileName.clear();
    RunTransfer();
    mainThread.ServeUntil([] { return false; }, 50ms);
    EXPECT_THAT(notes, ElementsAre("aborted", "done type= bytes=4 memory"));
    EXPECT_EQ(progress, 2) << "the stopped worker took no further step";
}

TEST_F(TransferTest, AHardStopEndsABlockedReadIntoMemoryAtOnce) {
    // The worker is blocked reading into the memory target's storage when
    // the stop releases the target; the worker must not write into it after.
    FakeAnswer stalled = fake_ok(Body(9000));
    stalled.body.resize(4096);
    stalled.stall = true;
    internet.script({stalled});
    std::atomic<int> progress{0};
    transfer.OnTransferProgress = [&](TupTransfer&, const std::string&, std::int64_t, std::int64_t,
                                      int, int, std::uint8_t, float, TupStream*) { ++progress; };

    ASSERT_TRUE(transfer.Start(0, 0, false));
    ASSERT_TRUE(ServeUntil([&] { return progress == 1; }));
    transfer.Stop(false, true);
    EXPECT_THAT(notes, ElementsAre("aborted"));
    EXPECT_EQ(internet.open_handles(), 0);

    internet.script({fake_ok("next")});
    RunTransfer();
    mainThread.ServeUntil([] { return false; }, 50ms);
    EXPECT_THAT(notes, ElementsAre("aborted", "done type= bytes=4 memory"));
    EXPECT_EQ(received, "next");
    EXPECT_EQ(progress, 2) << "the stopped worker took no further step";
}

TEST_F(TransferTest, AHardStopWhileAHandOverWaitsSkipsIt) {
    internet.script({fake_ok(Body(9000))});
    transfer.OnTransferProgress = [&](TupTransfer&, const std::string&, std::int64_t, std::int64_t,
                                      int, int, std::uint8_t, float,
                                      TupStream*) { Note("progress"); };
    internet.pause_at("ReadFile");
    ASSERT_TRUE(transfer.Start(0, 0, false));
    ASSERT_TRUE(internet.wait_paused());
    internet.release();
    // The first block's progress call is now waiting for the main thread.
    std::this_thread::sleep_for(50ms);
    transfer.Stop(false, true);
    mainThread.ServeUntil([] { return false; }, 100ms);
    EXPECT_THAT(notes, ElementsAre("aborted"));
}

TEST_F(TransferTest, ADoneHandlerMayStartTheNextTransfer) {
    internet.script({fake_ok("first file"), fake_ok("second")});
    transfer.OnDone = [this](TupTransfer& sender, const std::string&, std::int64_t total,
                             TupStream*) {
        Note("done " + std::to_string(total));
        if (total == 10) {
            sender.URL = "http://update.example.com/setup/second";
            EXPECT_TRUE(sender.Start(0, 0, false)) << "as the updater goes on to its next file";
        }
    };
    ASSERT_TRUE(transfer.Start(0, 0, false));
    ASSERT_TRUE(ServeUntil([&] { return Noted("done 6"); }));
    EXPECT_THAT(notes, ElementsAre("done 10", "done 6"));
    EXPECT_FALSE(transfer.TransferRunning());
}

TEST_F(TransferTest, AProgressHandlerMayStopTheTransferHard) {
    internet.script({fake_ok(Body(20000))});
    transfer.OnTransferProgress = [this](TupTransfer& sender, const std::string&, std::int64_t,
                                         std::int64_t, int, int, std::uint8_t, float, TupStream*) {
        Note("progress");
        sender.Stop(false, true);
    };
    ASSERT_TRUE(transfer.Start(0, 0, false));
    ASSERT_TRUE(ServeUntil([&] { return Noted("aborted"); }));
    mainThread.ServeUntil([] { return false; }, 100ms);
    EXPECT_THAT(notes, ElementsAre("progress", "aborted"));
    EXPECT_EQ(internet.open_handles(), 0);

    internet.script({fake_ok("again")});
    transfer.OnTransferProgress = nullptr;
    RunTransfer();
    EXPECT_THAT(notes, ElementsAre("progress", "aborted", "done type= bytes=5 memory"));
}

// The stop may land before the worker's routine has begun (the fault: the
// engine then stayed "running" for good) or, on a fast worker, after the
// one-byte transfer has passed its last checkpoint; either way the engine
// ends with exactly one outcome and takes the next transfer.
TEST_F(TransferTest, AStopRightAfterTheStartStillCleansUp) {
    for (bool hard : {false, true}) {
        const std::size_t before = notes.size();
        internet.script({fake_ok("x")});
        ASSERT_TRUE(transfer.Start(0, 0, false));
        transfer.Stop(false, hard);
        ASSERT_TRUE(ServeUntil([&] { return !transfer.TransferRunning(); })) << hard;
        mainThread.ServeUntil([] { return false; }, 50ms);
        ASSERT_EQ(notes.size(), before + 1) << hard;
        EXPECT_THAT(notes.back(), AnyOf("aborted", "done type= bytes=1 memory")) << hard;
    }
    internet.script({fake_ok("y")});
    RunTransfer();
    ASSERT_EQ(notes.size(), 3u);
    EXPECT_EQ(notes.back(), "done type= bytes=1 memory");
}

TEST_F(TransferTest, StopWithoutATransferDoesNothing) {
    transfer.Stop(true, true);
    transfer.Stop(false, false);
    EXPECT_TRUE(notes.empty());
    EXPECT_FALSE(transfer.DeleteOnStop());
}

TEST_F(TransferTest, DestroyingTheEngineMidTransferEndsItQuietly) {
    FakeAnswer stalled = fake_ok(Body(9000));
    stalled.body.clear();
    stalled.stall = true;
    internet.script({stalled});
    {
        TupTransfer doomed(mainThread, internet, local);
        doomed.URL = "http://h/";
        bool aborted = false;
        doomed.OnTransferAborted = [&](TupTransfer&) { aborted = true; };
        ASSERT_TRUE(doomed.Start(0, 0, false));
        ASSERT_TRUE(ServeUntil([&] { return !internet.calls("ReadFile").empty(); }));
        EXPECT_FALSE(aborted);
    }
    EXPECT_EQ(internet.open_handles(), 0);
}

} // namespace
} // namespace qirelo::upgrade
