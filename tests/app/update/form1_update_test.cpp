// The version check in the main window, headless: FormShow's silent check
// and the button, over the platform fakes' update server.

#include <gmock/gmock.h>

#include "app/update/version_check.h"
#include "config/hosts.h"
#include "platform/profile/codepage.h"
#include "tests/app/form1_fixture.h"

namespace qirelo::app::update {
namespace {

using platform::gb;
using platform::fake::fake_ok;
using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::IsEmpty;

std::string Info(const std::string& version) {
    return "#version=" + version + "\r\n#method=2\r\n#url=http://" + config::site_host() +
           "/setup/\r\n";
}

std::vector<std::string> Captions(ui::headless::Backend& backend) {
    std::vector<std::string> captions;
    for (const auto& box : backend.boxes().shown) {
        captions.push_back(box.caption);
    }
    return captions;
}

TEST(Form1Update, ANewerVersionAtShowIsToldAndTheWindowCloses) {
    testing::Form1Harness h;
    h.platform.internet.script({fake_ok(Info("2013.8.10"))});
    TForm1& f = h.create();

    f.show_form();

    EXPECT_THAT(Captions(h.backend), ElementsAre(gb("Qirelo在线客户端")));
    EXPECT_EQ(h.backend.boxes().shown[0].text, NewVersionText(config::site_host()));
    EXPECT_TRUE(h.application.terminated()) << "the main window's close ends the program";
    EXPECT_THAT(h.platform.internet.calls("OpenRequest"),
                ElementsAre(HasSubstr("GET /setup/qirelo_play.inf")));
    EXPECT_THAT(h.platform.shell_calls.effects(),
                ElementsAre(HasSubstr("http://" + config::site_host() + "/setup/")));
}

TEST(Form1Update, TheSameVersionStartsSilentlyAndTheButtonSaysSo) {
    testing::Form1Harness h;
    h.platform.internet.script({fake_ok(Info("2013.8.9.0"))});
    TForm1& f = h.create();

    f.show_form();
    EXPECT_THAT(Captions(h.backend), IsEmpty());
    EXPECT_FALSE(h.application.terminated());

    f.Button1.click();
    ASSERT_THAT(Captions(h.backend), ElementsAre(gb("升级提示")));
    EXPECT_EQ(h.backend.boxes().shown[0].text, gb("当前已是最新版本！"));
    EXPECT_FALSE(h.application.terminated());
}

TEST(Form1Update, WithoutAnUpdateServerTheStartIsSilent) {
    testing::Form1Harness h; // the fake server does not answer
    h.create().show_form();
    EXPECT_THAT(Captions(h.backend), IsEmpty());
    EXPECT_FALSE(h.application.terminated());
}

} // namespace
} // namespace qirelo::app::update
