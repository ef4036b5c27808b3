// The main window's version check over the scripted update server: the
// silent check at start-up and the "检查版本" button, with their boxes.

#include "app/update/version_check.h"

#include <gmock/gmock.h>

#include "platform/profile/codepage.h"
#include "tests/upgrade/auto_updater/auto_updater_fixture.h"

namespace qirelo::app::update {
namespace {

using platform::gb;
using platform::fake::fake_ok;
using platform::fake::FakeAnswer;
using ::testing::ElementsAre;
using ::testing::IsEmpty;
using upgrade::testing::RedirectInfo;

constexpr const char* kSite = "127.0.0.1:12860";

class VersionCheckTest : public upgrade::testing::AutoUpdaterTest {
protected:
    VersionCheckTest() {
        ConfigureUpdater1(updater, kSite);
        backend.boxes().while_shown = [this](const ui::headless::RecordingMessageBoxes::Shown&) {
            formOpenWhileBoxShown = !formClosed;
        };
        Form1.OnClose = [this](ui::Component&, ui::CloseAction&) { formClosed = true; };
    }

    std::vector<std::string> Boxes() {
        std::vector<std::string> boxes;
        for (const auto& box : backend.boxes().shown) {
            boxes.push_back(box.caption + "|" + box.text + "|" + std::to_string(box.flags));
        }
        return boxes;
    }
    std::string NewVersionBox(const std::string& caption) {
        return gb(caption) + "|" + NewVersionText(kSite) + "|64";
    }

    ui::Form Form1{"Form1"};
    VersionCheck check{{Form1, updater}, application, kSite};
    bool formClosed = false;
    bool formOpenWhileBoxShown = false;
};

TEST(NewVersionText, BreaksLinesWithLineFeedFirst) {
    EXPECT_EQ(NewVersionText("www.example.com"), gb("新版本已发布，请下载安装后再使用") +
                                                     "\x0A\x0D\x0A\x0D" + gb("安装网址(已打开)") +
                                                     "www.example.com/setup");
}

TEST_F(VersionCheckTest, Updater1AsksTheSiteHostForTheInfoFile) {
    EXPECT_EQ(updater.InfoFileURL, "http://127.0.0.1:12860/setup/qirelo_play.inf");
    EXPECT_EQ(updater.VersionNumber, "2013.8.9.0");
    EXPECT_FALSE(updater.AutoCheck());
}

TEST_F(VersionCheckTest, ANewerVersionAtStartUpIsToldThenTheWindowCloses) {
    internet.script({fake_ok(RedirectInfo("2013.8.10"))});

    check.act_upExecute();

    EXPECT_THAT(Boxes(), ElementsAre(NewVersionBox("Qirelo在线客户端")));
    EXPECT_TRUE(formOpenWhileBoxShown) << "the window closes after the box, not before";
    EXPECT_TRUE(formClosed);
    EXPECT_THAT(log.effects(), ElementsAre(OpenedPage()));
}

TEST_F(VersionCheckTest, NoNewerVersionOrNoServerLeavesTheStartSilent) {
    internet.script({fake_ok(RedirectInfo("2013.8.9.0"))});
    check.act_upExecute();

    FakeAnswer refused;
    refused.send_fails = true;
    internet.script({refused});
    check.act_upExecute();

    FakeAnswer missing = fake_ok("gone");
    missing.status = 404;
    internet.script({missing});
    check.act_upExecute();

    EXPECT_THAT(Boxes(), IsEmpty());
    EXPECT_FALSE(formClosed);
}

TEST_F(VersionCheckTest, TheButtonAnswersEitherWayAndTheWindowStays) {
    internet.script({fake_ok(RedirectInfo("2013.8.10"))});
    check.Button1Click();

    internet.script({fake_ok(RedirectInfo("2013.8.9.0"))});
    check.Button1Click();

    FakeAnswer refused;
    refused.send_fails = true;
    internet.script({refused});
    check.Button1Click();

    const std::string latest = gb("升级提示") + "|" + gb("当前已是最新版本！") + "|64";
    EXPECT_THAT(Boxes(), ElementsAre(NewVersionBox("升级提示"), latest, latest));
    EXPECT_FALSE(formClosed);
}

TEST_F(VersionCheckTest, ABrokenTransferShowsOnlyTheComponentsBox) {
    FakeAnswer broken = fake_ok(RedirectInfo("2013.8.10"));
    broken.headers = {{"Content-Length", "4000"}};
    broken.cut_off = true;
    internet.script({broken});

    check.act_upExecute();

    ASSERT_EQ(backend.boxes().shown.size(), 1u);
    EXPECT_EQ(backend.boxes().shown[0].text, upgrade::Message(30));
    EXPECT_EQ(backend.boxes().shown[0].flags, 0x10u);
    EXPECT_FALSE(formClosed);
}

} // namespace
} // namespace qirelo::app::update
