#pragma once

// A TupAutoUpdater set up as the main window's updater1, over the scripted
// internet, a recording shell and the headless application: events, boxes and
// browser openings are noted in the order they happen.

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "platform/fake/internet.h"
#include "platform/fake/shell.h"
#include "ui/application.h"
#include "ui/headless/backend.h"
#include "upgrade/application_host.h"
#include "upgrade/auto_updater.h"
#include "upgrade/fake/manual_main_thread.h"
#include "upgrade/messages/messages.h"

namespace qirelo::upgrade::testing {

inline constexpr const char* kInfoUrl = "http://127.0.0.1:12860/setup/qirelo_play.inf";
inline constexpr const char* kBrowser = "C:\\Browser\\browser.exe";

// An info file announcing `version`, with the redirect method and the
// download page.
inline std::string RedirectInfo(const std::string& version) {
    return "#version=" + version + "\r\n#method=2\r\n#url=http://127.0.0.1:12860/setup/\r\n";
}

class AutoUpdaterTest : public ::testing::Test {
protected:
    AutoUpdaterTest() {
        SetMessageLanguage(TWizardLanguage::wlEnglish);
        application.set_title("Qirelo");
        shell.html_command = std::string("\"") + kBrowser + "\" %1";
        shell.existing_programs = {kBrowser};
        log.on_call = [this](const platform::fake::CallLog::Call& call) {
            if (call.line.starts_with("ShellExecuteA")) {
                notes.push_back(call.line);
            }
        };
        backend.boxes().while_shown =
            [this](const ui::headless::RecordingMessageBoxes::Shown& box) {
                notes.push_back("box " + box.text + " flags=" + std::to_string(box.flags));
            };
        updater.InfoFileURL = kInfoUrl;
        updater.VersionControl = TupVersionControl::byNumber;
        updater.VersionNumber = "2013.8.9.0";
        updater.ShowMessages = {TupShowMessages::mConnLost, TupShowMessages::mLostFile,
                                TupShowMessages::mPasswordRequest};
        NoteEvents();
    }
    ~AutoUpdaterTest() override {
        std::error_code ignored;
        std::filesystem::remove(updaterPath, ignored);
    }

    void NoteEvents() {
        updater.OnBeginUpgrade = [this](TupAutoUpdater&, const std::string& message,
                                        TupUpgradeMethod method,
                                        const std::vector<std::string>& files, bool&) {
            notes.push_back("OnBeginUpgrade method=" + std::to_string(static_cast<int>(method)) +
                            " files=" + std::to_string(files.size()) + " message=" + message);
        };
        updater.OnLaterUpgrade = [this](TupAutoUpdater&) { notes.push_back("OnLaterUpgrade"); };
        updater.OnNoUpdateAvailable = [this](TupAutoUpdater&) {
            notes.push_back("OnNoUpdateAvailable");
        };
        updater.OnNoInfoFile = [this](TupAutoUpdater&) { notes.push_back("OnNoInfoFile"); };
        updater.OnConnLost = [this](TupAutoUpdater&) { notes.push_back("OnConnLost"); };
        updater.OnHostUnreachable = [this](TupAutoUpdater&, const std::string& url,
                                           const std::string& host) {
            notes.push_back("OnHostUnreachable " + url + " " + host);
        };
    }

    std::string OpenedPage() const {
        return std::string("ShellExecuteA open \"") + kBrowser +
               "\" \"http://127.0.0.1:12860/setup/\"";
    }

    std::string updaterPath =
        (std::filesystem::temp_directory_path() / "qirelo-auto-updater-test-updater").string();
    platform::fake::FakeLocalSystem local;
    platform::fake::FakeInternet internet{&local};
    platform::fake::CallLog log;
    platform::fake::FakeShell shell{log};
    platform::fake::FakeOnlineCheck online{log};
    ui::headless::Backend backend;
    ui::Application application{backend};
    fake::ManualMainThread mainThread;
    ApplicationUpdaterHost host{application, mainThread};
    TupAutoUpdater updater{{mainThread, internet, local, shell, online, host, updaterPath}};
    std::vector<std::string> notes;
};

} // namespace qirelo::upgrade::testing
