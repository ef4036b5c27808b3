// The download over the platform's own internet library (libcurl natively,
// WinInet under Wine) and its own signature check (libcrypto; CNG under
// Wine), against a loopback update server that serves the info file, the
// program and its signature by path.

#include "tests/upgrade/auto_updater/download_fixture.h"

#include <gmock/gmock.h>

#include <chrono>
#include <map>

#include "tests/http/support/script_server.h"

namespace qirelo::upgrade::testing {
namespace {

using http::testing::Peer;
using http::testing::response;
using http::testing::ScriptServer;
using ::testing::Contains;
using ::testing::ElementsAre;
using ::testing::IsEmpty;

const std::string kPayload(fixtures::kPayload);
constexpr const char* kLastModified = "Tue, 08 Dec 2026 09:30:07 GMT";

class DownloadOsTest : public DownloadTest {
protected:
    // What the server answers by path (declared first: it outlives the server).
    std::map<std::string, std::string> answers;
    // Answers each request by its path; 404 for the others.
    ScriptServer server{[this](Peer& peer) {
        while (const auto request = peer.read_request()) {
            const std::size_t start = request->find(' ') + 1;
            const std::string path = request->substr(start, request->find(' ', start) - start);
            const auto answer = answers.find(path);
            peer.send(answer != answers.end() ? answer->second
                                              : response("HTTP/1.1 404 Not Found\r\n", "not here"));
        }
    }};
    std::unique_ptr<platform::inet::Internet> osInternet = platform::inet::os_internet();
    std::unique_ptr<platform::inet::LocalSystem> osLocal = platform::inet::os_local_system();
    TupAutoUpdater osUpdater{{mainThread, *osInternet, *osLocal, shell, online, host, updaterPath,
                              &dialogs, &signatures}};

    void Serve(const std::string& signature) {
        answers["/setup/qirelo_play.inf"] = response(
            "HTTP/1.1 200 OK\r\n",
            "#version=2013.8.10\r\n#method=0\r\n#url=" + server.url("/setup/Qirelo.exe") + "\r\n");
        answers["/setup/Qirelo.exe"] = response(
            "HTTP/1.1 200 OK\r\nLast-Modified: " + std::string(kLastModified) + "\r\n", kPayload);
        if (!signature.empty()) {
            answers["/setup/Qirelo.exe.sig"] = response("HTTP/1.1 200 OK\r\n", signature);
        }
    }
    bool Run() {
        osUpdater.InfoFileURL = server.url("/setup/qirelo_play.inf");
        osUpdater.VersionControl = TupVersionControl::byNumber;
        osUpdater.VersionNumber = "2013.8.9.0";
        osUpdater.ShowMessages = {TupShowMessages::mConnLost, TupShowMessages::mLostFile};
        osUpdater.OnAborted = [this](TupAutoUpdater&) {
            notes.push_back("OnAborted");
            finished = true;
        };
        Watchdog watchdog(std::chrono::seconds(30), "the download over the system's library");
        const bool found = osUpdater.CheckUpdate();
        while (found && !finished && !host.closed) {
            application.process_messages();
            mainThread.ServeFor(std::chrono::milliseconds(5));
        }
        return found;
    }
};

TEST_F(DownloadOsTest, ASignedProgramWaitsForTheUpdaterWithTheServersTime) {
    Serve(std::string(fixtures::kPayloadSig));

    EXPECT_TRUE(Run());

    EXPECT_TRUE(host.closed);
    EXPECT_THAT(notes,
                Contains("StartUpdater " + updaterPath + " " + programPath + " /afterupgrade0"));
    EXPECT_EQ(ReadLocal("Qirelo.exe.uTMP"), kPayload);
    // Through the DOS form: an even second, the server's time as local time.
    const auto written = std::chrono::file_clock::to_sys(
        std::filesystem::last_write_time(folder / "Qirelo.exe.uTMP"));
    const auto seconds =
        std::chrono::duration_cast<std::chrono::seconds>(written.time_since_epoch());
    EXPECT_EQ(seconds.count() % 2, 0);
    const auto header = std::chrono::sys_days{std::chrono::year{2026} / 12 / 8} +
                        std::chrono::hours(9) + std::chrono::minutes(30) + std::chrono::seconds(6);
    EXPECT_LE(std::chrono::abs(written - header), std::chrono::hours(14));
}

TEST_F(DownloadOsTest, AnUnsignedProgramIsAskedAboutAndLeavesNothing) {
    backend.boxes().answers = {ui::kIdNo};
    Serve("");

    EXPECT_TRUE(Run());

    EXPECT_THAT(notes, Contains("box Error #404: File Qirelo.exe not found or inaccessible.\r\r"
                                "Try to skip this file and continue upgrade? flags=52"));
    EXPECT_EQ(notes.back(), "OnAborted");
    EXPECT_FALSE(host.closed);
    EXPECT_THAT(Downloads(), IsEmpty());
}

} // namespace
} // namespace qirelo::upgrade::testing
