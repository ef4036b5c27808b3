// The main window's version check when the info file names the download
// method: the component's wizard carries the upgrade, so the check neither
// claims a page was opened nor closes the window under the download.

#include <gmock/gmock.h>

#include "app/update/version_check.h"
#include "tests/upgrade/auto_updater/download_fixture.h"
#include "ui/form.h"

namespace qirelo::app::update {
namespace {

using ::testing::Contains;
using ::testing::IsEmpty;
using upgrade::testing::DownloadTest;

constexpr const char* kSite = "127.0.0.1:12860";

class VersionCheckDownloadTest : public DownloadTest {
protected:
    VersionCheckDownloadTest() {
        Form1.OnClose = [this](ui::Component&, ui::CloseAction&) { formClosed = true; };
        internet.script(
            {platform::fake::fake_ok(DownloadInfo({Url("Qirelo.exe")})), File(), Signature()});
    }

    // Serves the download after the check has returned, until the restart.
    void ServeUntilRestart() {
        upgrade::testing::Watchdog watchdog(std::chrono::seconds(20), "the restart");
        while (!host.closed && !finished) {
            application.process_messages();
            mainThread.ServeFor(std::chrono::milliseconds(5));
        }
    }

    ui::Form Form1{"Form1"};
    VersionCheck check{{Form1, updater}, application, kSite};
    bool formClosed = false;
};

TEST_F(VersionCheckDownloadTest, AtStartUpTheWizardRestartsTheProgramWithoutTheRedirectBox) {
    check.act_upExecute();

    EXPECT_THAT(backend.boxes().shown, IsEmpty());
    EXPECT_FALSE(formClosed) << "closing the window now would cut the download off";
    ServeUntilRestart();
    EXPECT_THAT(notes,
                Contains("StartUpdater " + updaterPath + " " + programPath + " /afterupgrade0"));
    EXPECT_THAT(Downloads(), ::testing::ElementsAre("Qirelo.exe.uTMP"));
}

TEST_F(VersionCheckDownloadTest, TheButtonLeavesTheNewVersionToTheWizard) {
    check.Button1Click();

    EXPECT_THAT(backend.boxes().shown, IsEmpty()) << "neither a page opened nor the latest version";
    EXPECT_FALSE(formClosed);
    ServeUntilRestart();
    EXPECT_THAT(notes, Contains("CloseApplication"));
}

} // namespace
} // namespace qirelo::app::update
