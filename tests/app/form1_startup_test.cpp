#include <gtest/gtest.h>

#include "form1_fixture.h"
#include "platform/profile/codepage.h"
#include "tests/http/support/environment.h"
#include "ui/qr_code.h"

namespace qirelo::app {
namespace {

using namespace std::chrono_literals;
using http::testing::set_environment;
using platform::gb;

struct Startup : ::testing::Test, testing::Form1Harness {
    void write_users_ini(const std::string& text) { platform.profile.files[users_ini()] = text; }
};

TEST_F(Startup, WithoutUsersIniTheBoxesAreEmptyLoginDisabledFocusInName) {
    TForm1& f = create();
    EXPECT_EQ(f.edit_u.text(), "");
    EXPECT_EQ(f.edit_p.text(), "");
    EXPECT_FALSE(f.BitBtn2.enabled());
    EXPECT_EQ(f.active_control(), &f.edit_u);
    EXPECT_TRUE(backend.boxes().shown.empty());
    EXPECT_FALSE(platform.profile.files.contains(users_ini())); // nothing is created
    EXPECT_EQ(platform.profile.reads, (std::vector<std::string>{users_ini(), users_ini()}));
}

TEST_F(Startup, NameWithAnEmptyPasswordLeavesThePasswordBoxEmpty) {
    write_users_ini("[user]\r\nname=member\r\npass=\r\n");
    TForm1& f = create();
    EXPECT_EQ(f.edit_u.text(), "member");
    EXPECT_EQ(f.edit_p.text(), "");
}

TEST_F(Startup, Gb2312NameComesBackByteForByte) {
    const std::string name = gb("会员张三") + "\xB0\xA1" + "x";
    write_users_ini("[USER]\r\nNAME=" + name + "\r\n");
    TForm1& f = create();
    EXPECT_EQ(f.edit_u.text(), name);
}

TEST_F(Startup, StateStartsAsTheWindowNeedsIt) {
    TForm1& f = create();
    EXPECT_EQ(f.pag1.active_page(), &f.tb3);
    EXPECT_EQ(f.window_state(), ui::WindowState::Maximized);
    EXPECT_EQ(f.CurrentBrowser, &f.web1);
    EXPECT_EQ(f.PlayPageFlag, 0);
    EXPECT_EQ(f.LastCommandStamp, 0);
    EXPECT_TRUE(f.MemberId.empty());
    EXPECT_EQ(f.sb1.panel(0).text, gb("版本2013.8.9.0"));
    EXPECT_EQ(f.PasswordKey, platform.machine.name);
    ASSERT_TRUE(f.MonitorHttp && f.TimerHttp);
    EXPECT_NE(f.MonitorHttp.get(), f.TimerHttp.get());
    for (auto* client : {f.MonitorHttp.get(), f.TimerHttp.get()}) {
        EXPECT_TRUE(client->HandleRedirects);
        EXPECT_EQ(client->ReadTimeout, 9000);
        EXPECT_EQ(client->MaxResponseSize, 64u * 1024);
    }
    EXPECT_FALSE(f.Timer1.enabled());
    EXPECT_EQ(f.Timer1.interval(), 12000ms);
    EXPECT_FALSE(f.Timer2.enabled());
}

TEST_F(Startup, ComputerNameThatCannotBeReadGivesAnEmptyKey) {
    platform.machine.name.clear();
    EXPECT_EQ(create().PasswordKey, "");
}

TEST_F(Startup, ControlWordIsExtendedWhileRunningAndRestoredOnClose) {
    platform.fpu.word = 0x1272;
    TForm1& f = create();
    EXPECT_EQ(platform.fpu.word, 0x133F);
    EXPECT_EQ(f.SavedFpuControlWord, 0x1272);
    f.show_form();
    f.close();
    EXPECT_EQ(platform.fpu.word, 0x1272);
    EXPECT_TRUE(application.terminated());
}

TEST_F(Startup, ProgramTabShowEmptiesTheAddressBarEveryTime) {
    TForm1& f = create();
    f.edit_url.set_text("typed before show");
    f.show_form();
    EXPECT_EQ(f.edit_url.text(), "");
    for (int i = 0; i < 3; ++i) {
        f.pag1.select_tab(1);
        f.edit_url.set_text("http://somewhere/");
        f.pag1.select_tab(0);
        EXPECT_EQ(f.edit_url.text(), "");
    }
}

TEST_F(Startup, Timer1FiresOncePerArmingAndReArmingDoesNotRestartIt) {
    TForm1& f = create();
    int double_clicks = 0;
    f.Action1.OnExecute = [&](ui::Component&) { ++double_clicks; };
    f.Timer1.set_enabled(true);
    clock().advance(8s);
    f.Timer1.set_enabled(true); // armed again while armed
    clock().advance(4s);
    EXPECT_EQ(double_clicks, 1);
    EXPECT_FALSE(f.Timer1.enabled());
    clock().advance(60s);
    EXPECT_EQ(double_clicks, 1);

    f.Timer1.set_enabled(true);
    clock().advance(12s);
    EXPECT_EQ(double_clicks, 2);
}

TEST_F(Startup, ErrorInFormCreateIsShownTheRestSkippedAndTheWindowStillOpens) {
    application.set_title("Qirelo");
    platform.profile.read_error = "disk on fire";
    TForm1& f = create();
    ASSERT_EQ(backend.boxes().shown.size(), 1u);
    EXPECT_EQ(backend.boxes().shown[0].text, "disk on fire.");
    EXPECT_EQ(backend.boxes().shown[0].caption, "Qirelo");
    EXPECT_EQ(f.active_control(), nullptr);               // the focus step never ran
    EXPECT_EQ(f.sb1.panel(0).text, gb("版本2013.8.9.0")); // earlier steps did
    f.show_form();
    EXPECT_TRUE(f.showing());
}

TEST_F(Startup, ProgramTabShowsTheMobileAddressInUseAndItsQrCode) {
    set_environment("QIRELO_MOBILE_HOST", "m.example.test:8080");
    TForm1& f = create();
    set_environment("QIRELO_MOBILE_HOST", "");
    EXPECT_EQ(f.Label1.caption(), gb("手机访问m.example.test:8080 →遥控电脑"));
    EXPECT_EQ(f.GroupBox3.caption(), gb("手机网址二维码 m.example.test:8080"));
    EXPECT_EQ(f.Image1.picture(),
              ui::qr::render(ui::qr::encode("http://m.example.test:8080/"), 100));
    EXPECT_EQ(f.Image1.picture().width, 100);
}

TEST_F(Startup, ActionListHoldsTheSixActionsWithTheirCaptions) {
    TForm1& f = create();
    std::vector<std::pair<std::string, std::string>> actions;
    for (ui::Action* action : f.ActionList1.actions())
        actions.emplace_back(action->name(), action->caption());
    EXPECT_EQ(actions,
              (std::vector<std::pair<std::string, std::string>>{{"Action1", gb("双击全屏")},
                                                                {"act_gj", gb("关机")},
                                                                {"act_cook", "act_cook"},
                                                                {"Action2", gb("单击屏幕底部")},
                                                                {"act_up", gb("静默update")},
                                                                {"Action3", gb("单击屏幕中间")}}));
}

} // namespace
} // namespace qirelo::app
