// The auto-updater's windows on the Win32 peers (under Wine in the test run):
// the password window measured by the window system grows with its text and
// hands back what was typed in the native edits on a real click; the
// wizard's close command asks its question in a real message box.

#include <windows.h>

#include <commctrl.h>

#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <thread>
#include <vector>

#include "ui/application.h"
#include "ui/win32/backend.h"
#include "ui/win32/peers.h"
#include "upgrade/dialogs/upgrade_windows.h"
#include "upgrade/messages/messages.h"

namespace qirelo::upgrade {
namespace {

using ui::win32::window_of;

class UpgradeWindowsWin32 : public ::testing::Test {
protected:
    UpgradeWindowsWin32() {
        INITCOMMONCONTROLSEX controls{sizeof controls, ICC_WIN95_CLASSES | ICC_PROGRESS_CLASS};
        InitCommonControlsEx(&controls);
        SetMessageLanguage(TWizardLanguage::wlEnglish);
        application.set_title("Qirelo upgrade test");
    }
    ~UpgradeWindowsWin32() override { SetMessageLanguage(TWizardLanguage::wlAuto); }

    ui::win32::Backend backend;
    ui::Application application{backend};
    UpgradeWindows windows{application};
};

TEST_F(UpgradeWindowsWin32, PasswordWindowGrowsWithItsTextAndTakesWhatWasTyped) {
    std::vector<int> labelHeights, clientHeights;
    auto answer = [&](const wchar_t* typed, bool ok) {
        application.post([&, typed, ok] {
            TupPasswordForm& form = *windows.PasswordForm();
            RECT client;
            GetClientRect(window_of(form), &client);
            clientHeights.push_back(client.bottom);
            labelHeights.push_back(form.Label1.height());
            SetWindowTextW(window_of(form.PasswordEdit), typed);
            PostMessageW(window_of(ok ? form.OKBtn : form.CancelBtn), BM_CLICK, 0, 0);
        });
    };
    std::string user = "member", password;
    answer(L"secret", false);
    EXPECT_FALSE(windows.AskPassword("Qirelo.exe", user, password));
    EXPECT_EQ(password, "");
    answer(L"secret", true);
    EXPECT_TRUE(windows.AskPassword(std::string(300, 'x') + ".exe", user, password));
    EXPECT_EQ(user, "member");
    EXPECT_EQ(password, "secret");

    ASSERT_EQ(labelHeights.size(), 2u);
    EXPECT_GT(labelHeights[1], labelHeights[0]) << "the window system measured more lines";
    for (std::size_t i = 0; i < 2; ++i)
        EXPECT_EQ(clientHeights[i], 5 + labelHeights[i] + 98);
}

TEST_F(UpgradeWindowsWin32, WizardsCloseCommandAsksAndYesClosesThenAborts) {
    std::vector<std::string> heard;
    WizardEvents events;
    events.Closed = [&] { heard.push_back("Closed"); };
    events.AbortConfirmed = [&] { heard.push_back("AbortConfirmed"); };
    windows.ShowWizard({}, events);
    HWND wizard = window_of(*windows.WizardForm());
    ASSERT_TRUE(IsWindowVisible(wizard));

    // The user answers the question box when it shows.
    std::atomic<bool> answered{false};
    std::thread user([&] {
        for (int i = 0; i < 400 && !answered; ++i) {
            Sleep(25);
            if (HWND box = FindWindowW(L"#32770", L"Qirelo upgrade test")) {
                PostMessageW(box, WM_COMMAND, IDYES, 0);
                answered = true;
            }
        }
    });
    PostMessageW(wizard, WM_SYSCOMMAND, SC_CLOSE, 0);
    for (int i = 0; i < 400 && heard.size() < 2; ++i) {
        application.process_messages();
        Sleep(10);
    }
    user.join();
    EXPECT_TRUE(answered);
    EXPECT_EQ(heard, (std::vector<std::string>{"Closed", "AbortConfirmed"}));
    EXPECT_EQ(windows.WizardForm(), nullptr);
    EXPECT_FALSE(IsWindow(wizard));
}

} // namespace
} // namespace qirelo::upgrade
