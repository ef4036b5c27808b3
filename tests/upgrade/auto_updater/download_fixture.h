#pragma once

// A TupAutoUpdater that downloads: the scripted internet serves the info
// file, each listed file and its signature in turn; the windows are the
// recording ones; the program lies in a folder of its own under the
// temporary folder; the restart is noted instead of carried out.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "platform/crypto/signature_check.h"
#include "platform/fake/internet.h"
#include "platform/fake/shell.h"
#include "tests/upgrade/auto_updater/recording_dialogs.h"
#include "tests/upgrade/signed_fixtures.h"
#include "tests/upgrade/support/watchdog.h"
#include "ui/application.h"
#include "ui/headless/backend.h"
#include "upgrade/application_host.h"
#include "upgrade/auto_updater.h"
#include "upgrade/fake/manual_main_thread.h"
#include "upgrade/messages/messages.h"

namespace qirelo::upgrade::testing {

inline constexpr const char* kSetup = "http://127.0.0.1:12860/setup/";

// The program's own path from the host, and the restart noted.
class RecordingRestartHost final : public ApplicationUpdaterHost {
public:
    RecordingRestartHost(ui::Application& application, MainThread& mainThread,
                         std::vector<std::string>& notes, std::string programPath)
        : ApplicationUpdaterHost(application, mainThread), notes_(notes),
          programPath_(std::move(programPath)) {}

    std::string ProgramPath() override { return programPath_; }
    bool WriteUpdater(const std::string& path) override {
        notes_.push_back("WriteUpdater " + path);
        return true;
    }
    bool StartUpdater(const std::string& updaterPath, const std::string& programPath,
                      const std::string& params) override {
        notes_.push_back("StartUpdater " + updaterPath + " " + programPath + " " + params);
        return true;
    }
    void CloseApplication() override {
        notes_.push_back("CloseApplication");
        closed = true;
    }

    bool closed = false;

private:
    std::vector<std::string>& notes_;
    std::string programPath_;
};

class DownloadTest : public ::testing::Test {
protected:
    DownloadTest() {
        SetMessageLanguage(TWizardLanguage::wlEnglish);
        application.set_title("Qirelo");
        std::filesystem::create_directories(folder);
        backend.boxes().while_shown =
            [this](const ui::headless::RecordingMessageBoxes::Shown& box) {
                notes.push_back("box " + box.caption + ": " + box.text +
                                " flags=" + std::to_string(box.flags));
            };
        updater.InfoFileURL = std::string(kSetup) + "qirelo_play.inf";
        updater.VersionControl = TupVersionControl::byNumber;
        updater.VersionNumber = "2013.8.9.0";
        updater.ShowMessages = {TupShowMessages::mConnLost, TupShowMessages::mLostFile,
                                TupShowMessages::mPasswordRequest};
        updater.OnFileStart = [this](TupAutoUpdater&, const std::string& url, int size, TDateTime,
                                     bool& canUpgrade) {
            notes.push_back("OnFileStart " + url + " " + std::to_string(size) +
                            (canUpgrade ? " yes" : " no"));
        };
        updater.OnFileDone = [this](TupAutoUpdater&, const std::string& file) {
            notes.push_back("OnFileDone " + std::filesystem::path(file).filename().string());
        };
        updater.OnLostFile = [this](TupAutoUpdater&, const std::string& url, int code, bool&) {
            notes.push_back("OnLostFile " + url + " " + std::to_string(code));
        };
        updater.OnProgress = [this](TupAutoUpdater&, const std::string&, int, int, int, int,
                                    std::uint8_t, std::uint8_t total,
                                    float) { totals.push_back(total); };
        updater.OnEndUpgrade = [this](TupAutoUpdater&, bool&) { notes.push_back("OnEndUpgrade"); };
        updater.OnAborted = [this](TupAutoUpdater&) {
            notes.push_back("OnAborted");
            finished = true;
        };
        updater.OnConnLost = [this](TupAutoUpdater&) {
            notes.push_back("OnConnLost");
            finished = true;
        };
        updater.OnHostUnreachable = [this](TupAutoUpdater&, const std::string& url,
                                           const std::string&) {
            notes.push_back("OnHostUnreachable " + url);
            finished = true;
        };
    }
    ~DownloadTest() override {
        updater.Stop(false, true);
        std::error_code ignored;
        std::filesystem::remove_all(folder, ignored);
    }

    // An info file announcing a newer version with the download method.
    static std::string DownloadInfo(const std::vector<std::string>& names) {
        std::string info = "#version=2013.8.10\r\n#method=0\r\n";
        for (std::size_t i = 0; i < names.size(); ++i) {
            info += "#url" + std::to_string(i + 1) + "=" + names[i] + "\r\n";
        }
        return info;
    }
    static std::string Url(const std::string& name) { return kSetup + name; }

    // The payload, read in blocks of 1000 bytes, so its progress comes in steps.
    static platform::fake::FakeAnswer File(std::string body = std::string(fixtures::kPayload)) {
        platform::fake::FakeAnswer answer = platform::fake::fake_ok(std::move(body));
        answer.block = 1000;
        answer.headers.push_back({"Last-Modified", "Tue, 08 Dec 2026 09:30:07 GMT"});
        return answer;
    }
    static platform::fake::FakeAnswer Signature(std::string_view bytes = fixtures::kPayloadSig) {
        return platform::fake::fake_ok(std::string(bytes));
    }
    static platform::fake::FakeAnswer Missing() {
        platform::fake::FakeAnswer answer = platform::fake::fake_ok("not here");
        answer.status = 404;
        return answer;
    }

    // Checks, then serves the download until it has ended one way or another.
    bool CheckAndDownload() {
        Watchdog watchdog(std::chrono::seconds(20), "the download");
        const bool found = updater.CheckUpdate();
        while (found && !finished && !host.closed) {
            application.process_messages();
            mainThread.ServeFor(std::chrono::milliseconds(5));
        }
        return found;
    }

    std::string InFolder(const std::string& name) const { return (folder / name).string(); }
    bool Exists(const std::string& name) const { return std::filesystem::exists(folder / name); }
    void WriteLocal(const std::string& name, const std::string& bytes) const {
        std::ofstream(folder / name, std::ios::binary) << bytes;
    }
    std::string ReadLocal(const std::string& name) const {
        std::ifstream file(folder / name, std::ios::binary);
        return {std::istreambuf_iterator<char>(file), {}};
    }
    std::vector<std::string> Downloads() const {
        std::vector<std::string> names;
        for (const auto& entry : std::filesystem::directory_iterator(folder)) {
            if (entry.path().extension() == ".uTMP") {
                names.push_back(entry.path().filename().string());
            }
        }
        std::sort(names.begin(), names.end());
        return names;
    }

    std::filesystem::path folder =
        std::filesystem::temp_directory_path() /
        ("qirelo-download-test-" +
         std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
    std::string programPath = (folder / "Qirelo.exe").string();
    std::string updaterPath = (folder / "updater-here").string();
    std::vector<std::string> notes;
    std::vector<int> totals;
    bool finished = false;

    platform::fake::FakeLocalSystem local;
    platform::fake::FakeInternet internet{&local};
    platform::fake::CallLog log;
    platform::fake::FakeShell shell{log};
    platform::fake::FakeOnlineCheck online{log};
    ui::headless::Backend backend;
    ui::Application application{backend};
    fake::ManualMainThread mainThread;
    RecordingRestartHost host{application, mainThread, notes, programPath};
    RecordingDialogs dialogs{notes};
    platform::crypto::SignatureCheck signatures{fixtures::kTestPublicKey};
    TupAutoUpdater updater{
        {mainThread, internet, local, shell, online, host, updaterPath, &dialogs, &signatures}};
};

} // namespace qirelo::upgrade::testing
